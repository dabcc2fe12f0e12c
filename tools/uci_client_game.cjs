// One game through node-uci, a UCI client from the npm registry: Tamblor (UCI mode) against
// stockfish, each engine on a clock the script keeps, every move and every ponder move
// checked legal by chess.js before it is played. Started by tools/uci_client_game.sh.
//   node uci_client_game.cjs TAMBLOR STOCKFISH MODULES_DIR PGN_FILE
'use strict';
const path = require('path');
const [tamblorPath, stockfishPath, modules, pgnFile] = process.argv.slice(2);
const { Engine } = require(path.join(modules, 'node-uci'));
const { Chess } = require(path.join(modules, 'chess.js'));

const baseMs = 60000, incrementMs = 500;

function legalIn(chess, text) {
  const trial = new Chess(chess.fen());
  try {
    return trial.move({ from: text.slice(0, 2), to: text.slice(2, 4), promotion: text[4] });
  } catch (e) {
    return null;
  }
}

async function main() {
  const tamblor = await new Engine(tamblorPath).init();
  const stockfish = await new Engine(stockfishPath).init();
  await stockfish.setoption('Skill Level', 3);
  for (const engine of [tamblor, stockfish]) {
    await engine.ucinewgame();
    await engine.isready();
  }
  if (tamblor.id.name !== 'Tamblor 0.35k') throw new Error(`id name ${tamblor.id.name}`);

  // Analysis first: go infinite, stopped after half a second, gives a move and info lines.
  await tamblor.position('startpos', []);
  const analysis = tamblor.goInfinite({});
  const lines = [];
  analysis.on('data', (d) => lines.push(d));
  await new Promise((r) => setTimeout(r, 500));
  const analysed = await tamblor.stop();
  if (!legalIn(new Chess(), analysed.bestmove)) throw new Error(`analysis bestmove ${analysed.bestmove}`);
  console.log(`analysis of the start: bestmove ${analysed.bestmove}, ${lines.filter((d) => d.depth).length} info lines`);

  const chess = new Chess();
  const moves = [];
  const clock = { w: baseMs, b: baseMs };
  const tamblorWhite = true;
  let checked = 0;
  while (!chess.isGameOver() && moves.length < 400) {
    const side = chess.turn();
    const engine = (side === 'w') === tamblorWhite ? tamblor : stockfish;
    await engine.position('startpos', moves);
    const started = Date.now();
    const result = await engine.go({ wtime: clock.w, btime: clock.b, winc: incrementMs, binc: incrementMs });
    clock[side] -= Date.now() - started;
    if (clock[side] < 0) throw new Error(`${engine === tamblor ? 'Tamblor' : 'stockfish'} lost on time`);
    clock[side] += incrementMs;
    const move = legalIn(chess, result.bestmove);
    if (!move) throw new Error(`illegal bestmove ${result.bestmove} in ${chess.fen()}`);
    if (engine === tamblor) {
      if (!result.info.some((i) => i.score)) throw new Error('no info line with a score');
      const after = new Chess(chess.fen());
      after.move(move);
      if (result.ponder && !legalIn(after, result.ponder)) throw new Error(`illegal ponder ${result.ponder}`);
    }
    chess.move(move);
    moves.push(result.bestmove);
    ++checked;
  }
  const reason = chess.isCheckmate() ? 'checkmate' : chess.isStalemate() ? 'stalemate'
    : chess.isThreefoldRepetition() ? 'repetition' : chess.isInsufficientMaterial() ? 'insufficient material'
    : chess.isDraw() ? 'fifty-move rule' : 'move limit';
  const result = chess.isCheckmate() ? (chess.turn() === 'w' ? '0-1' : '1-0') : '1/2-1/2';
  chess.header('White', 'Tamblor 0.35k (UCI, node-uci)', 'Black', 'stockfish (Skill Level 3)', 'Result', result);
  require('fs').writeFileSync(pgnFile, chess.pgn() + '\n');
  console.log(`node-uci game: Tamblor (White) vs stockfish skill 3, 60 s + 0.5 s: ${result} (${reason}) ` +
              `after ${moves.length} half-moves, ${checked} moves checked legal, 0 illegal, 0 time losses`);
  await tamblor.quit();
  await stockfish.quit();
}

main().catch((e) => {
  console.error(`uci_client_game: ${e.message}`);
  process.exit(1);
});
