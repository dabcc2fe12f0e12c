#!/usr/bin/env bash
# tools/match.sh must count each fault against the engine that made it: a broken stand-in
# makes one kind of fault at its third move, first as Tamblor, then as the opponent.
# Usage: tests/match/check_match.sh ENGINE (a working Tamblor, for the last case)
set -uo pipefail
cd "$(dirname "$0")/../.."
broken=$PWD/tests/match/broken_engine.py out=$(mktemp -d) failed=0
trap 'rm -rf "$out"' EXIT
clean="illegal-moves 0 time-losses 0 false-claims 0 crashes 0"
check() {  # check EXPECTED TAMBLOR OPPONENT: EXPECTED must end the summary line
  local summary
  summary=$(TAMBLOR=$2 tools/match.sh "$3" 2 0:04 0 off "$out/$RANDOM" 2>&1 | tail -1)
  echo "$summary"
  [[ $summary == *"$1" ]] || { echo "check_match: expected ...$1"; failed=1; }
}
check "score 0.0/2 illegal-moves 2 time-losses 0 false-claims 0 crashes 0 | opponent: $clean" "$broken illegal" /usr/games/fairymax
check "score 0.0/2 illegal-moves 0 time-losses 2 false-claims 0 crashes 0 | opponent: $clean" "$broken slow" /usr/games/fairymax
check "score 0.0/2 illegal-moves 0 time-losses 0 false-claims 2 crashes 0 | opponent: $clean" "$broken claim" /usr/games/fairymax
check "games 1 wins 0 draws 0 losses 1 score 0.0/1 illegal-moves 0 time-losses 0 false-claims 0 crashes 1 | opponent: $clean" \
  "$broken crash" /usr/games/fairymax
check "score 2.0/2 $clean | opponent: illegal-moves 2 time-losses 0 false-claims 0 crashes 0" "$(realpath "$1")" "$broken illegal"
[[ $failed -eq 0 ]] && echo "check_match: 5 passed, 0 failed" || echo "check_match: failed"
exit $failed
