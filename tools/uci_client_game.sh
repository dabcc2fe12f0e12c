#!/usr/bin/env bash
# Plays one game of Tamblor in UCI mode against stockfish through node-uci, a UCI client
# from the npm registry, with every move checked legal by chess.js; prints one line and
# writes the game to OUTDIR/game.pgn. The two npm packages go into OUTDIR/node_modules.
# Usage: tools/uci_client_game.sh [OUTDIR]   (default build/uci-client); TAMBLOR: the engine
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/build/uci-client}")
engine=$(realpath "${TAMBLOR:-$root/build/tamblor}")
for tool in node npm; do
  command -v $tool >/dev/null || { echo "uci_client_game.sh: needs $tool (apt-get install -y nodejs npm)" >&2; exit 2; }
done
[[ -x /usr/games/stockfish ]] || { echo "uci_client_game.sh: needs stockfish (apt-get install -y stockfish)" >&2; exit 2; }
mkdir -p "$out"
if [[ ! -d $out/node_modules/node-uci || ! -d $out/node_modules/chess.js ]]; then
  (cd "$out" && { [[ -f package.json ]] || npm init -y >/dev/null; } &&
    npm install --no-audit --no-fund --loglevel=error node-uci@1 chess.js@1 >/dev/null)
fi
cd "$root/book"  # the engine finds its books in its working directory
node "$root/tools/uci_client_game.cjs" "$engine" /usr/games/stockfish "$out/node_modules" "$out/game.pgn"
