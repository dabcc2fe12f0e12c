#!/usr/bin/env python3
"""Black-box fuzzing: drives the built engine over pipes with random valid and invalid
commands, keeps its own model of the game, and checks every answer: each "move" is legal
(stockfish's "go perft 1" is the oracle), each result claim is true, "Illegal move" and
"tellusererror Illegal position" come exactly when due, the engine answers a probe within a
bound, exits only on "quit" or end of input, and writes nothing to standard error (the
sanitizers' reports).

Every third session speaks UCI instead (see UciSession).

    blackbox_fuzz.py ENGINE [--book-dir D] [--seed N] [--sessions N] [--seconds S]
"""
import argparse, collections, contextlib, os, queue, random, re, subprocess, sys, tempfile, threading, time

START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
RESULTS = {"1-0 {White mates}", "0-1 {Black mates}", "1/2-1/2 {Stalemate}",
           "1/2-1/2 {Draw by repetition}", "1/2-1/2 {Draw by 50 moves rule}"}
WHOLE = {"GO", "FORCE", "REMOVE", "UNDO", "NEW", "QUIT", "EASY", "HARD"}
PROBE = ["new", "level 0 0:02 0", "time 200", "otim 200", "usermove e2e4"]
RECORD_CAPACITY = 4001
MOVE_LINE = re.compile(r"move [a-h][1-8][a-h][1-8][QRBN]?")
ANSWER_BOUND = 60.0  # seconds for any answer the engine owes, with "?" sent meanwhile
BROKEN_FENS = ["4k3/8/8/8/8/8/8/4KK2 w - - 0 1", "4k2P/8/8/8/8/8/8/4K3 w - - 0 1",
               "4k3/8/8/8/8/8/8/4R1K1 w - - 0 1", "4k3/8/8/PPPPPPPP/PPPPPPPP/8/8/4K3 w - - 0 1",
               "4k3/8/8/8/8/8/8/8/4K3 w - - 0 1", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", ""]
GOOD_FENS = ["6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1",
             "k7/2Q5/1K6/8/8/8/8/8 b - - 0 1", "k7/8/1K6/8/8/8/2Q5/8 w - - 0 1",
             "8/P7/8/8/8/8/7p/K6k w - - 0 1", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
             "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "7k/8/8/8/8/8/8/K6R b - - 98 80",
             "1r2k3/P7/8/8/8/8/7p/K7 b - - 0 1"]  # promotions of either colour, typed or sent


class Fault(Exception):
    pass


def normalise(raw):
    return bytes(b - 32 if 97 <= b <= 122 else b for b in raw[:250] if b > 32)[:255].decode("latin-1")


def command_of(raw):
    """The command the engine reads in a raw line, as its command loop tests them."""
    n = normalise(raw)
    for prefix in ("TIME", "USERMOVE", "LEVEL", "SETBOARD"):
        if n.startswith(prefix) and (prefix != "LEVEL" or n not in WHOLE):
            return prefix, n
    return (n if n in WHOLE else "OTHER"), n


def typed_move(text, legal):
    """The legal move a typed text names for the engine (square pair and promotion), or None."""
    t = normalise(text.encode("latin-1"))
    if len(t) < 4 or not all(re.fullmatch(r"[A-H][1-8]", s) for s in (t[0:2], t[2:4])):
        return None
    promotion = t[-1].lower() if len(t) > 4 and t[-1] in "BNQR" else ""
    move = t[:4].lower() + promotion
    return move if move in legal else None


def flip(fen):
    f = fen.split()
    f[1], f[3] = ("b" if f[1] == "w" else "w"), "-"
    return " ".join(f)


def key(fen):
    return " ".join(fen.split()[:4])


class Stockfish:
    """Positions as (fen, in check, legal moves), from stockfish's own board."""

    def __init__(self, path):
        self.p = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.cache = {}
        self.lines("uci", "uciok")

    def lines(self, command, last):
        self.p.stdin.write(command + "\n")
        out = []
        while not out or not out[-1].startswith(last):
            out.append(self.p.stdout.readline().strip())
        return out

    def pos(self, fen, move=None):
        if (fen, move) not in self.cache:
            out = self.lines(f"position fen {fen}{' moves ' + move if move else ''}\nd\ngo perft 1", "Nodes searched")
            new = next(l[5:] for l in out if l.startswith("Fen: "))
            check = next(l for l in out if l.startswith("Checkers:")) != "Checkers:"
            legal = frozenset(l.split(":")[0] for l in out if re.match(r"[a-h][1-8][a-h][1-8][qrbn]?: ", l))
            self.cache[(fen, move)] = (new, check, legal)
        return self.cache[(fen, move)]


class Session:
    def __init__(self, args, sf, rnd):
        self.args, self.sf, self.rnd = args, sf, rnd
        self.transcript, self.stats = [], {"commands": 0, "moves": 0, "claims": 0, "illegal": 0}
        self.err = tempfile.TemporaryFile()
        self.p = subprocess.Popen([args.engine], cwd=args.book_dir, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  stderr=self.err)
        self.out = queue.Queue()
        threading.Thread(target=self.read_engine, daemon=True).start()
        self.good_fens, self.broken_fens, self.dance, self.errors_due, self.queued = [], [], 0, 0, []
        self.reset()

    # --- the model ------------------------------------------------------------------
    def reset(self, setup=START):
        self.setup, self.record, self.force = setup, [], False
        self.line = [self.sf.pos(setup)]  # positions from the set-up through the record
        self.board, self.engine_white = self.line[0], False
        self.synced, self.history_exact = True, True
        self.last_engine_board = None

    def desync(self):
        self.synced = False

    def replay(self, record):
        line = [self.sf.pos(self.setup)]
        for text in record:
            move = typed_move(text, line[-1][2])
            if move is None:
                return None
            line.append(self.sf.pos(line[-1][0], move))
        return line

    # --- talking to the engine ----------------------------------------------------------
    def read_engine(self):
        for line in self.p.stdout:
            self.out.put(line.rstrip(b"\n").decode("latin-1"))
        self.out.put(None)

    def write(self, raw):
        try:
            self.p.stdin.write(raw)
            self.p.stdin.flush()
        except (BrokenPipeError, ValueError):
            pass

    def note(self, text):
        self.transcript = (self.transcript + [text])[-400:]

    def send(self, raw):
        self.note("> " + raw.decode("latin-1")[:120])
        self.stats["commands"] += 1
        self.write(raw + b"\n")

    def next_line(self, timeout):
        try:
            line = self.out.get(timeout=max(timeout, 0))
        except queue.Empty:
            return ""
        if line is None:
            raise Fault("the engine exited without being told to")
        self.note("< " + line[:120])
        if len(line) > 246:
            raise Fault("an output line longer than 246 characters")
        if re.match(r" *-?\d+ +-?\d+ ", line):  # a thinking line: depth, score, time, nodes, moves
            return self.next_line(timeout)
        if line.startswith("tellusererror") and self.errors_due:
            self.errors_due -= 1
            return self.next_line(timeout)
        if self.errors_due:  # lines come in order: the refusal was due before this one
            raise Fault("a broken set-up position was accepted")
        if not self.synced:
            return line
        if line.startswith("tellusererror"):
            raise Fault("unexpected " + line)
        if line in RESULTS:
            self.check_claim(line)
            return self.next_line(timeout)
        return line

    def drain(self, seconds=0.0):
        end = time.monotonic() + seconds
        while (line := self.next_line(end - time.monotonic())) != "":
            if self.synced:
                raise Fault(f"unexpected {line!r}")

    def await_line(self, wanted):
        start = nudge = time.monotonic()
        while True:
            line = self.next_line(0.5)
            now = time.monotonic()
            if line == "":
                if now - start > ANSWER_BOUND:
                    raise Fault(f"no answer within {ANSWER_BOUND:.0f} s (waiting for {wanted!r})")
                if wanted == "move " and now - nudge > 1:
                    self.send(b"?")  # a searching engine must then move
                    nudge = now
                continue
            if line.startswith(wanted):
                return line
            raise Fault(f"unexpected {line!r} (waiting for {wanted!r})")

    def check_claim(self, claim):
        self.stats["claims"] += 1
        for board in (self.board, self.last_engine_board):
            if board is None:
                continue
            fen, check, legal = board
            mated = "1-0 {White mates}" if fen.split()[1] == "b" else "0-1 {Black mates}"
            if not legal and claim == (mated if check else "1/2-1/2 {Stalemate}"):
                return
            if "Draw by" in claim and (not self.history_exact or self.line is None):
                return  # the engine's history is not the model's; its counts cannot be checked
            if claim == "1/2-1/2 {Draw by 50 moves rule}" and int(fen.split()[4]) >= 100:
                return
            if claim == "1/2-1/2 {Draw by repetition}" and [key(p[0]) for p in self.line].count(key(fen)) >= 3:
                return
        raise Fault(f"false claim {claim!r} in {self.board[0]}")

    # --- the engine's reply -------------------------------------------------------------
    def engine_moves(self, pos):
        """The engine is to move in pos (the board after the opponent's move)."""
        self.board = pos
        if not pos[2]:
            self.drain(1.0)  # no move: at most a result claim
            return
        move = self.await_line("move ")
        if not MOVE_LINE.fullmatch(move) or move[5:].lower() not in pos[2]:
            raise Fault(f"illegal {move!r} in {pos[0]}")
        self.stats["moves"] += 1
        self.add_to_record(move[5:].lower())
        self.board = self.last_engine_board = self.sf.pos(pos[0], move[5:].lower())
        if self.line is not None:
            self.line.append(self.board)
        fen, _, legal = self.board
        history = [key(p[0]) for p in self.line or []]
        ending = not legal or int(fen.split()[4]) >= 100 or history.count(key(fen)) >= 3
        self.drain(1.0 if ending else 0.02)

    def add_to_record(self, text):
        if len(self.record) >= RECORD_CAPACITY:
            self.desync()  # the engine drops it; the model's record no longer says where play stands
        self.record.append(text)

    def opponent_position(self):
        fen, check, _ = self.board
        if (fen.split()[1] == "w") != self.engine_white:
            return self.board
        # The engine is on move (after a set-up, or with no move left): a typed move is
        # still the opponent's, played as if it were the opponent's turn.
        return None if check else self.sf.pos(flip(fen))

    # --- one command ------------------------------------------------------------------
    def run(self, raw):
        if self.synced:
            self.drain()
        name, n = command_of(raw)
        if name == "NEW" and not self.synced:
            self.send(b"force")  # a search still running would lose the "new"
            self.drain(0.5)
        self.send(raw)
        if name == "NEW":
            self.reset()
        self.force = name == "FORCE" or self.force and name != "GO"
        if not self.synced:
            if name in ("GO", "SETBOARD", "REMOVE") or name == "USERMOVE" and not self.force:
                self.drain(0.02)  # whatever it answers, before the next command
            return
        getattr(self, "do_" + name.lower(), lambda *_: None)(raw, n)

    def do_usermove(self, raw, n):
        if self.force:
            if len(self.record) >= RECORD_CAPACITY:
                return  # dropped by the engine too
            self.record.append(n[8:12].lower() + n[12:13])
            if self.line is not None:
                move = typed_move(self.record[-1], self.line[-1][2])
                self.line = self.line + [self.sf.pos(self.line[-1][0], move)] if move else None
            return
        opp = self.opponent_position()
        if opp is None:
            return self.desync()
        move = typed_move(n[8:28], opp[2])
        if move is None:
            self.stats["illegal"] += 1
            self.await_line("Illegal move")
            return
        after = self.sf.pos(opp[0], move)
        self.add_to_record(move)
        if self.line is not None:
            self.line.append(after)
        self.engine_moves(after)

    def do_go(self, raw, n):
        line = self.replay(self.record[:-1])
        if line is None:
            return self.desync()
        self.line, self.board, self.history_exact = line, line[-1], True
        self.engine_white = line[-1][0].split()[1] == ("w" if not self.record else "b")
        if not self.record:
            return self.engine_moves(line[-1])
        move = typed_move(self.record[-1], line[-1][2])
        if move is None:  # the record then depends on why the engine refused it
            self.await_line("Illegal move")
            return self.desync()
        self.record[-1] = move
        self.line.append(self.sf.pos(line[-1][0], move))
        self.engine_moves(self.line[-1])

    def do_undo(self, raw, n):
        if self.force and self.record:
            self.record.pop()
            self.line = self.replay(self.record)

    def do_remove(self, raw, n):
        if len(self.record) < 2:
            return
        self.record = self.record[:-2]
        self.line = self.replay(self.record)
        if self.line is None:
            return self.desync()
        self.board, self.history_exact = self.line[-1], True
        self.engine_white = self.board[0].split()[1] == "b"

    def do_setboard(self, raw, n):
        fen = raw[9:].decode("latin-1")
        if raw[:9] == b"setboard " and fen in GOOD_FENS + self.good_fens:
            force = self.force
            self.reset(fen)
            self.force, self.engine_white = force, fen.split()[1] == "w"
        elif raw[:9] == b"setboard " and fen in BROKEN_FENS + self.broken_fens:
            self.errors_due += 1
            self.refused()
        elif self.force:
            self.desync()
        else:  # a mangled text: a typed move that is always illegal tells whether it was taken
            self.send(b"usermove a1a1")
            self.synced, errors = False, 0
            while (line := self.await_line("")) != "Illegal move":
                if not line.startswith("tellusererror"):
                    raise Fault(f"unexpected {line!r}")
                errors += 1
            self.synced = True
            if errors > 1:
                raise Fault("unexpected second " + line)
            self.refused() if errors else self.desync()

    def refused(self):
        self.board, self.engine_white, self.history_exact = self.sf.pos(START), False, False

    # --- random commands ----------------------------------------------------------------
    def random_command(self):
        r = self.rnd
        if self.queued:
            return self.queued.pop(0)
        kind = r.choices(["legal", "illegal", "go", "force", "undo", "remove", "new", "good", "broken",
                          "mangled", "level", "time", "?", "ponder", "junk", "dance"],
                         [30, 8, 6, 5, 4, 4, 3, 5, 3, 2, 4, 8, 2, 3, 6, 0.3])[0]
        if kind in ("legal", "illegal"):
            pos = None if not self.synced else (self.line or [None])[-1] if self.force else self.opponent_position()
            moves = sorted(pos[2]) if pos else []
            if kind == "legal" and moves:
                text = r.choice(moves)
            else:
                text = r.choice([lambda: r.choice("abcdefghz") + r.choice("0123456789") * 2 + r.choice("abcdefgh1"),
                                 lambda: r.choice(sorted(self.sf.pos(flip(pos[0]))[2]) or ["e2e4"]) if pos and not pos[1] else "a7a8",
                                 lambda: (r.choice(moves) if moves else "e2e4")[:4] + r.choice("kKx=q1"),
                                 lambda: "".join(chr(r.randrange(33, 127)) for _ in range(r.randrange(0, 30)))])()
            return r.choice([b"usermove ", b"usermove ", b"USERMOVE  ", b"u s e r m o v e\t"]) + text.encode("latin-1") + r.choice([b"", b"", b"\r"])
        if kind == "good":
            fen = r.choice(GOOD_FENS) if r.random() < 0.5 else self.random_fen()
            self.good_fens.append(fen)
            self.queued = [b"go"] if r.random() < 0.6 else []  # mates and stalemates get claimed
            return b"setboard " + fen.encode()
        if kind == "broken":
            fen = r.choice(BROKEN_FENS) if r.random() < 0.5 else self.broken_fen()
            self.broken_fens.append(fen)
            return b"setboard " + fen.encode()
        if kind == "mangled":
            fen = bytearray(self.random_fen().encode())
            for _ in range(r.randrange(1, 4)):
                fen[r.randrange(len(fen))] = r.choice(b"/12345678kKpPqQ w-x\x00\xff")
            return b"setboard " + bytes(fen)
        if kind == "level":
            return r.choice([b"level 0 0:02 0", b"level 40 0:05 0", b"level 0 1 0.5", b"level -5 -1 -3",
                             b"level 0 99999999 0", b"level x y z", b"level", b"LeVeL 1 0:01 1e9", b"level 0 0 0"])
        if kind == "time":
            value = r.choice([b"200", b"150", b"500", b"0", b"-500", b"1e15", b"abc", b"99999999999999999999", b"1e400", b""])
            return r.choice([b"time ", b"otim ", b"TIME "]) + value
        if kind == "ponder":
            return r.choice([b"hard", b"easy"])
        if kind == "junk":
            length = r.choice([1, 10, 100, 249, 250, 251, 3000, 10000])
            junk = bytes(r.choice(b"#x9\x00\x01\x07\t\r\x1b\x7f\x80\xc3\xff ") for _ in range(length))
            return junk if r.random() < 0.7 else r.choice([b"new", b"usermove e2e4", b"force", b"go"]) + b"x" * 251 + junk
        if kind == "dance":  # a long record: thousands of knight moves back and forth
            self.dance = r.randrange(100, 4200)
            return b"force"
        return {"go": b"go", "force": b"force", "undo": b"undo", "remove": b"remove", "new": b"new", "?": b"?"}[kind]

    def random_fen(self):
        fen = START
        for _ in range(self.rnd.randrange(0, 60)):
            _, _, legal = self.sf.pos(fen)
            if not legal:
                break
            fen = self.sf.pos(fen, self.rnd.choice(sorted(legal)))[0]
        return fen

    def broken_fen(self):
        f = self.random_fen().split(" ")
        how = self.rnd.randrange(5)
        if how == 0:
            f[0] = f[0].replace(self.rnd.choice("Kk"), "1")  # a king missing
        elif how == 1:
            del f[1]  # no side to move
        elif how == 2:
            f[0] += "/n7"  # a piece on a ninth rank
        else:  # a pawn on the first or last rank, or a second king, on a square without a king
            ranks = [list(re.sub(r"\d", lambda m: "." * int(m[0]), rank)) for rank in f[0].split("/")]
            i = self.rnd.choice([0, 7]) if how == 3 else self.rnd.randrange(8)
            j = self.rnd.choice([j for j in range(8) if ranks[i][j] not in "Kk"])
            ranks[i][j] = self.rnd.choice("Pp" if how == 3 else "Kk")
            f[0] = "/".join(re.sub(r"\.+", lambda m: str(len(m[0])), "".join(rank)) for rank in ranks)
        return " ".join(f)

    # --- a session ----------------------------------------------------------------------
    def play(self, steps, deadline):
        self.send(b"xboard")
        self.send(b"protover 2")
        while self.await_line("feature ") != "feature done=1":
            pass
        if self.rnd.random() < 0.8:
            self.run(b"new")
            self.run(b"level 0 0:02 0")
        else:  # before the first "new": the start position, the engine White
            self.engine_white, self.history_exact = True, False
        for _ in range(steps):
            if time.monotonic() > deadline:
                break
            if self.rnd.random() < 0.03:
                self.probe()
            raw = self.random_command()
            self.run(raw)
            if self.dance:
                for i in range(self.dance):
                    self.run([b"usermove g1f3", b"usermove g8f6", b"usermove f3g1", b"usermove f6g8"][i % 4])
                self.dance = 0
        self.probe()
        self.finish()

    def probe(self):
        """The engine answers a fresh game's first move: it neither hangs nor lost track."""
        self.run(b"force")
        if not self.synced:
            self.drain(0.5)
        for raw in PROBE:
            self.run(raw.encode())

    def finish(self):
        how = self.rnd.choice(["quit", "quit", "eof", "partial"])
        if how == "quit":
            self.send(b"quit")
        elif how == "partial":
            raw = self.random_command()
            self.note("> (no line feed) " + raw.decode("latin-1")[:60])
            self.write(raw[: self.rnd.randrange(len(raw) + 1)])
        with contextlib.suppress(BrokenPipeError):
            self.p.stdin.close()
        try:
            code = self.p.wait(ANSWER_BOUND)
        except subprocess.TimeoutExpired:
            self.p.kill()
            raise Fault(f"still running {ANSWER_BOUND:.0f} s after {how}")
        if code != 0:
            raise Fault(f"exit status {code} after {how}")

    def sanitizer_report(self):
        self.err.seek(0)
        return self.err.read().decode("latin-1")


class UciSession(Session):
    """A UCI session (every third one): positions good and bad, go with every kind of limit,
    stop, ponderhit, isready while thinking. Exactly one bestmove per go, legal in the
    position sent (0000 when there is none), its ponder move legal after it; a refused
    position is named by one "info string" and changes nothing."""

    def play(self, steps, deadline):
        self.send(b"uci")
        while (line := self.next_line(ANSWER_BOUND)) != "uciok":
            if not line.startswith(("id name ", "id author ", "option name ")):
                raise Fault(f"unexpected {line!r} (waiting for 'uciok')")
        self.fen, self.ended = START, False
        for _ in range(steps):
            if time.monotonic() > deadline or self.ended:
                break
            self.step()
        self.finish()

    def await_line(self, wanted):
        start = time.monotonic()
        while True:
            line = self.next_line(0.5)
            if line.startswith(wanted):
                return line
            if line.startswith("info ") and not line.startswith("info string"):
                continue  # the search's own lines
            if line != "":
                raise Fault(f"unexpected {line!r} (waiting for {wanted!r})")
            if time.monotonic() - start > ANSWER_BOUND:
                raise Fault(f"no answer within {ANSWER_BOUND:.0f} s (waiting for {wanted!r})")

    def random_line(self, fen):
        moves = []
        for _ in range(self.rnd.randrange(0, 80)):
            legal = self.sf.pos(fen)[2]
            if not legal:
                break
            moves.append(self.rnd.choice(sorted(legal)))
            fen = self.sf.pos(fen, moves[-1])[0]
        return moves, fen

    def step(self):
        r = self.rnd
        kind = r.choices(["position", "bad", "go", "isready", "quiet", "junk"], [30, 6, 30, 5, 6, 4])[0]
        if kind == "position":
            start = START if r.random() < 0.6 else r.choice(GOOD_FENS)
            moves, fen = self.random_line(start)
            head = "position startpos" if start == START and r.random() < 0.7 else f"position fen {start}"
            self.send((head + (" moves " + " ".join(moves) if moves else "")).encode())
            self.fen = fen
        elif kind == "bad":
            moves, fen = self.random_line(START)
            legal = sorted(self.sf.pos(fen)[2])
            wrong = r.choice([m for m in ["e2e5", "a1a1", "e1g1", "e7e8q", "zz", "0000"] if m not in legal])
            line = r.choice([f"position startpos moves {' '.join(moves + [wrong])}",
                             f"position fen {r.choice(BROKEN_FENS[:5])}", "position fen " + "x" * 300,
                             "position startpos moves " + "a" * 10000])
            self.send(line.encode())
            self.await_line("info string ")
        elif kind == "isready":
            self.send(b"isready")
            self.await_line("readyok")
        elif kind == "quiet":
            line = r.choice([b"ucinewgame", b"setoption name OwnBook value false", b"setoption name Hash value 9",
                             b"setoption name Clear Hash", b"debug on", b"stop", b"ponderhit", b"",
                             b"setoption name OwnBook value true", b"register later"])
            self.send(line)
            if line == b"ucinewgame":
                self.fen = START  # a new game starts from the standard position
            self.drain(0.02)
        elif kind == "junk":
            self.send(bytes(r.choice(b"#x9\x00\x01\t\r\x1b\x7f\x80\xff ") for _ in range(r.choice([1, 300, 10000]))))
            self.drain(0.02)
        else:
            self.go()

    def go(self):
        r = self.rnd
        limit = r.choice(["depth", "nodes", "movetime", "clock", "clock", "infinite", "ponder", "ponder"])
        words = {"depth": f"depth {r.randrange(1, 6)}", "nodes": f"nodes {r.choice([1, 2, 100, 5000, 60000])}",
                 "movetime": f"movetime {r.choice([0, 10, 100])}", "infinite": "infinite",
                 "clock": f"wtime {r.choice([100, 1000, 5000])} btime {r.choice([100, 1000, 5000])}"
                          + r.choice(["", " winc 100 binc 100", " movestogo 1", " movestogo 30"]),
                 "ponder": "ponder wtime 2000 btime 2000"}[limit]
        fen, _, legal = self.sf.pos(self.fen)
        allowed = None
        if legal and r.random() < 0.3:  # searchmoves: a few legal moves, now and then an impossible one
            allowed = r.sample(sorted(legal), min(len(legal), r.choice([1, 2, 3])))
            words += " searchmoves " + " ".join(allowed + r.choice([[], [], ["a1a1"]]))
        self.send(f"go {words}".encode())
        if limit in ("infinite", "ponder"):
            if r.random() < 0.5:
                self.send(b"isready")
                self.await_line("readyok")
            time.sleep(r.choice([0, 0.01, 0.1]))
            self.send(b"ponderhit" if limit == "ponder" and r.random() < 0.5 else b"stop")
        if r.random() < 0.05:  # the end of the session, also while it thinks
            self.ended = True
            return
        best = self.await_line("bestmove ")
        self.stats["moves"] += 1
        words = best.split()
        if words[1] == "0000" and not legal and len(words) == 2:
            return self.drain(0.02)
        if words[1] not in legal:
            raise Fault(f"illegal {best!r} in {fen}")
        if allowed and words[1] not in allowed:
            raise Fault(f"{best!r} is not among searchmoves {allowed} in {fen}")
        if len(words) == 4 and (words[2] != "ponder" or words[3] not in self.sf.pos(fen, words[1])[2]):
            raise Fault(f"illegal ponder move in {best!r} in {fen}")
        if len(words) not in (2, 4):
            raise Fault(f"malformed {best!r}")
        self.drain(0.02)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("engine")
    ap.add_argument("--book-dir", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "book"))
    ap.add_argument("--stockfish", default="/usr/games/stockfish")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--sessions", type=int, default=1000000)
    ap.add_argument("--first-session", type=int, default=0)
    ap.add_argument("--seconds", type=float, default=60)
    ap.add_argument("--transcript", type=int, default=30, help="lines of traffic shown with a fault")
    args = ap.parse_args()
    args.engine = os.path.abspath(args.engine)
    sf = Stockfish(args.stockfish)
    started, faults, totals, sessions = time.monotonic(), 0, collections.Counter(), 0
    uci = collections.Counter()
    for k in range(args.first_session, args.first_session + args.sessions):
        if time.monotonic() - started > args.seconds:
            break
        rnd = random.Random(f"{args.seed}:{k}")
        s = (UciSession if k % 3 == 2 else Session)(args, sf, rnd)
        try:
            s.play(rnd.randrange(20, 200), started + args.seconds)
            report = s.sanitizer_report()
            if report:
                raise Fault("standard error:\n" + report[:4000])
        except Fault as fault:
            faults += 1
            s.p.kill()
            print(f"FAULT in session {k} (reproduce: --seed {args.seed} --first-session {k} --sessions 1): {fault}")
            print("\n".join("    " + t for t in s.transcript[-args.transcript:]))
            print(s.sanitizer_report()[:4000])
        sessions += 1
        totals.update(s.stats)
        if isinstance(s, UciSession):
            uci.update(s.stats, sessions=1)
    print(f"blackbox_fuzz: {sessions} sessions, {totals['commands']} commands, {totals['moves']} engine moves "
          f"checked, {totals['claims']} claims checked, {totals['illegal']} illegal moves refused, "
          f"{time.monotonic() - started:.0f} s, {faults} faults; UCI: {uci['sessions']} sessions, "
          f"{uci['commands']} commands, {uci['moves']} bestmoves checked")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
