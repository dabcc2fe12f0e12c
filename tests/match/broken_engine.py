#!/usr/bin/env python3
"""A deliberately broken xboard engine for checking tools/match.sh: it moves its knight out
and back, and at its third move (or the one its second argument names) does what its first argument says: illegal (an impossible
move), crash (exits), claim (a false draw claim), or slow (never moves: it loses on time)."""
import os, sys, time

fault, at = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 3
moves, white, force, answered = 0, False, False, False


def send(line):
    sys.stdout.write(line + "\n")
    sys.stdout.flush()


def play():
    global moves
    moves += 1
    if moves == at:
        if fault == "crash":
            os._exit(3)
        if fault == "slow":
            return
        if fault == "claim":
            return send("1/2-1/2 {Draw by repetition}")
        if fault == "illegal":
            return send("move e2e6" if white else "move e7e3")
    rank = "1" if white else "8"
    send("move " + (f"g{rank}f{'3' if white else '6'}" if moves % 2 else f"f{'3' if white else '6'}g{rank}"))


for line in sys.stdin:
    words = line.split()
    if not words:
        continue
    if words[0] == "protover":
        send('feature myname="Broken" usermove=1 sigint=0 sigterm=0 done=1')
    elif words[0] == "new":
        moves, white, force, answered = 0, False, False, False
    elif words[0] in ("force", "result"):
        force = True
    elif words[0] == "go":
        force, white = False, not answered  # "go" before any opponent's move: White
        play()
    elif words[0] == "usermove":
        answered = True
        if not force:
            play()
    elif words[0] == "quit":
        break
