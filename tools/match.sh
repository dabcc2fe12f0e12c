#!/usr/bin/env bash
# Plays Tamblor against another xboard engine under the real xboard GUI, headless in
# xvfb-run, with xboard testing result claims and calling flags, and prints one summary
# line counted from xboard's own debug log:
#
#   tamblor vs NAME: games G wins W draws D losses L score S/G illegal-moves I time-losses T
#   false-claims C crashes X | opponent: illegal-moves I time-losses T false-claims C crashes X
#
# Usage: tools/match.sh OPPONENT GAMES TIME INCREMENT PONDER OUTDIR
#   OPPONENT   the opponent's command, e.g. /usr/games/fairymax or "/usr/games/polyglot sf.ini"
#   GAMES      number of games; Tamblor has White in the odd ones
#   TIME       base time per game as xboard takes it: minutes, or minutes:seconds (0:10)
#   INCREMENT  seconds added per move (0.1), or /N for N moves per time control (/40)
#   PONDER     on or off (xboard's -ponder or -xponder, for both engines)
#   OUTDIR     gets games.pgn, xboard.debug, xboard.out and summary.txt
# Environment: TAMBLOR (the engine's command, default build/tamblor; a program named by a path, or
# one on the PATH with absolute paths after it, as "wine $PWD/build-windows/tamblor.exe"),
# TAMBLOR_BOOK_DIR (its working folder, where it looks for its books first; default book/).
# TAMBLOR_UCI=1 runs Tamblor in UCI mode behind polyglot, the Debian UCI-to-xboard adapter
# (OUTDIR/polyglot.ini).
# Exit status: 0 when every game was played and Tamblor made none of the four faults.
# A fault counts against the engine that lost the game by it; a crash against the engine
# whose pipe broke (its game then ends on time, which is not counted again).
set -euo pipefail
if [[ $# -ne 6 ]]; then sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; fi
opponent=$1 games=$2 base=$3 increment=$4 ponder=$5 out=$6
root=$(cd "$(dirname "$0")/.." && pwd)
engine=${TAMBLOR:-$root/build/tamblor}
engine_program=${engine%% *}  # xboard starts it in the book folder: a path must be absolute
[[ $engine_program == */* ]] && engine="$(realpath "$engine_program")${engine#"$engine_program"}"
book_dir=$(realpath "${TAMBLOR_BOOK_DIR:-$root/book}")

# The packages xboard needs here, and the opponent when it is a Debian engine.
missing=()
command -v xboard >/dev/null || [[ -x /usr/games/xboard ]] || missing+=(xboard)
command -v xvfb-run >/dev/null || missing+=(xvfb)
uci=${TAMBLOR_UCI:-0}
[[ $uci == 1 ]] && ! command -v polyglot >/dev/null && [[ ! -x /usr/games/polyglot ]] && missing+=(polyglot)
first_word=${opponent%% *}
if [[ $first_word == */* && -e $first_word ]]; then  # xboard starts it in OUTDIR
  opponent="$(realpath "$first_word")${opponent#"$first_word"}" first_word=$(realpath "$first_word")
fi
if [[ ! -x $first_word ]] && ! command -v "$first_word" >/dev/null; then
  case $(basename "$first_word") in
    fairymax|phalanx|sjeng|stockfish|polyglot) missing+=("$(basename "$first_word")") ;;
    *) echo "match.sh: cannot run the opponent $first_word" >&2; exit 2 ;;
  esac
fi
if [[ ${#missing[@]} -gt 0 ]]; then
  if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null; then
    echo "match.sh: needs the Debian packages: apt-get install -y ${missing[*]}" >&2; exit 2
  fi
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
xboard=$(command -v xboard || echo /usr/games/xboard)

case $increment in
  /*) clock=(-tc "$base" -mps "${increment#/}"); per_move=0 ;;
  *) clock=(-tc "$base" -inc "$increment"); per_move=$increment ;;
esac
case $ponder in on) ponder_flag=-ponder ;; off) ponder_flag=-xponder ;; *) echo "PONDER: on or off" >&2; exit 2 ;; esac
# A bound on the whole run: both clocks used up over 150 moves, and a margin per game.
seconds=$(awk -v b="$base" -v i="$per_move" -v g="$games" 'BEGIN {
  n = split(b, p, ":"); t = n == 2 ? p[1] * 60 + p[2] : b * 60
  printf "%d", g * (2 * t * 4 + 2 * 150 * i + 60) + 60 }')

mkdir -p "$out"
out=$(realpath "$out")
if [[ $uci == 1 ]]; then  # polyglot starts Tamblor in the book folder and speaks UCI to it
  printf '[PolyGlot]\nEngineName = Tamblor\nEngineCommand = %s\nEngineDir = %s\nBook = false\nLog = false\n' \
    "$engine" "$book_dir" >"$out/polyglot.ini"
  engine="$(command -v polyglot || echo /usr/games/polyglot) $out/polyglot.ini"
fi
rm -f "$out/games.pgn" "$out/xboard.debug" "$out/xboard.out"
home=$(mktemp -d)  # a private HOME: no xboard settings file is read or written
status=0
HOME=$home timeout "$seconds" xvfb-run -a "$xboard" \
  -fcp "$engine" -fd "$book_dir" -scp "$opponent" -sd "$out" \
  -matchGames "$games" "${clock[@]}" "$ponder_flag" -matchPause 1000 \
  -testClaims true -autoCallFlag true -popupMoveErrors false -popupExitMessage false \
  -saveGameFile "$out/games.pgn" -debugMode true -nameOfDebugFile "$out/xboard.debug" \
  -xexit -saveSettingsOnExit false -soundProgram "" >"$out/xboard.out" 2>&1 || status=$?
rm -rf "$home"
[[ $status -eq 124 ]] && echo "match.sh: xboard still running after $seconds s; stopped" >>"$out/xboard.out"

# A game runs from the first move asked for (go, usermove) to its first GameEnds line with
# a result (26 White wins, 27 Black wins, 28 drawn) and the reason; a GE line right after it
# has xboard's final verdict (a false claim turned round). A broken pipe to an engine shows
# in a GameEnds line, often only when the next game starts. The first engine is Tamblor.
final=$(grep -ao 'final score [0-9]*-[0-9]*-[0-9]*' "$out/xboard.out" || true)
awk -v wanted="$games" -v opponent="$(basename "$first_word")" -v final="$final" '
  function finish() {
    if (verdict == "") return
    n++; code = substr(verdict, index(verdict, "(") + 1, 2) + 0
    if (code == 28) draws++
    else {
      tamblor_lost = (code == 27) == (n % 2 == 1)
      if (tamblor_lost) losses++; else wins++
      loser = tamblor_lost ? "t" : "o"
      if (verdict ~ /Forfeit due to invalid move/) illegal[loser]++
      if (verdict ~ /wins on time/ && !died[loser]) time[loser]++  # a dead engine loses on time
      if (verdict ~ /False [a-z]* *claim/) claims[loser]++
    }
    verdict = ""; delete died
  }
  / >(first|second) *: (go|usermove)/ && !playing { finish(); playing = 1 }
  /^GameEnds\([0-9]+, .*(first|second) chess program/ {
    who = $0 ~ /first chess program/ ? "t" : "o"
    if (!died[who]++) crashes[who]++
  }
  /^GameEnds\(2[678], / && playing { verdict = $0; playing = 0 }
  /^GE\(2[678], / && verdict != "" { verdict = $0 }
  END {
    finish()
    if (final != "" && final != sprintf("final score %d-%d-%d", wins, losses, draws))
      print "match.sh: the count differs from xboard'"'"'s " final > "/dev/stderr"
    printf "tamblor vs %s: games %d wins %d draws %d losses %d score %.1f/%d", opponent, n, wins, draws, losses, wins + draws / 2, n
    printf " illegal-moves %d time-losses %d false-claims %d crashes %d", illegal["t"], time["t"], claims["t"], crashes["t"]
    printf " | opponent: illegal-moves %d time-losses %d false-claims %d crashes %d\n", illegal["o"], time["o"], claims["o"], crashes["o"]
    exit (n < wanted || illegal["t"] + time["t"] + claims["t"] + crashes["t"] > 0)
  }' "$out/xboard.debug" | tee "$out/summary.txt"
