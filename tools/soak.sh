#!/usr/bin/env bash
# Long play: Tamblor against fairymax, phalanx and sjeng under xboard (tools/match.sh), in
# three controls (5 s + 0.05 s, 1 minute sudden death, 40 moves in 1 minute), a third of
# the games with pondering on. The matches without pondering run two at a time, the ones
# with pondering (both engines then think all the time) one at a time. Prints one line
# per match and the totals: games, score with its 95% error bar, and the fault counts (a
# hang shows as a loss on time); the exit status is 0 when Tamblor made no fault.
#
# Usage: tools/soak.sh OUTDIR [SCALE]     plays the soak into OUTDIR
#        tools/soak.sh --totals OUTDIR    prints the totals of a soak played before
#   SCALE  multiplies every match's number of games (default 1: 300 games in all)
# Environment: TAMBLOR, TAMBLOR_BOOK_DIR as for tools/match.sh.
set -uo pipefail
# totals OUTDIR [SECONDS]: the sums over every match's summary line. The fault counts
# before its "|" are Tamblor's, those after it the opponent's.
totals() {
  cat "$1"/*/summary.txt | awk -v seconds="${2:-0}" '
    function count(part, keys,    i, f, n) {
      n = split(part, f, " ")
      for (i = 1; i < n; i++) keys[f[i]] = f[i + 1]
    }
    {
      split($0, side, "|"); delete own; delete their
      count(side[1], own); count(side[2], their)
      games += own["games"]; wins += own["wins"]; draws += own["draws"]; losses += own["losses"]
      illegal += own["illegal-moves"]; time += own["time-losses"]; claims += own["false-claims"]; crashes += own["crashes"]
      o_illegal += their["illegal-moves"]; o_time += their["time-losses"]; o_claims += their["false-claims"]; o_crashes += their["crashes"]
    }
    END {
      n = games; s = (wins + draws / 2) / n
      var = (wins * (1 - s) ^ 2 + draws * (0.5 - s) ^ 2 + losses * s ^ 2) / n
      printf "soak: games %d wins %d draws %d losses %d score %.1f%% +- %.1f%% (95%%)", n, wins, draws, losses, 100 * s, 196 * sqrt(var / n)
      # An engine that hangs loses on time: the time losses count the hangs too.
      printf " illegal-moves %d time-losses-or-hangs %d false-claims %d crashes %d", illegal, time, claims, crashes
      printf " | opponents: illegal-moves %d time-losses %d false-claims %d crashes %d", o_illegal, o_time, o_claims, o_crashes
      if (seconds > 0) printf ", %d s", seconds
      printf "\n"
      exit (illegal + time + claims + crashes > 0)
    }'
}
if [[ ${1:-} == --totals && $# -eq 2 ]]; then totals "$2"; exit; fi

if [[ $# -lt 1 ]]; then sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; fi
out=$(mkdir -p "$1" && realpath "$1") scale=${2:-1}
root=$(cd "$(dirname "$0")/.." && pwd)

# name games time increment ponder, per opponent
# (the slow controls get few games: one of them lasts minutes; 300 games take about eighty minutes)
controls=(
  "inc 60 0:05 0.05 off" "sd 3 1 0 off" "mpc 3 1 /40 off"
  "inc 30 0:05 0.05 on" "sd 2 1 0 on" "mpc 2 1 /40 on"
)
jobs_off=() jobs_on=()
for opponent in fairymax phalanx sjeng; do
  for control in "${controls[@]}"; do
    read -r name games time increment ponder <<<"$control"
    job="/usr/games/$opponent $((games * scale)) $time $increment $ponder $out/$opponent-$name-ponder-$ponder"
    if [[ $ponder == on ]]; then jobs_on+=("$job"); else jobs_off+=("$job"); fi
  done
done

run() {  # run JOB...: one match after another
  for job in "$@"; do
    read -r opponent games time increment ponder dir <<<"$job"
    "$root/tools/match.sh" "$opponent" "$games" "$time" "$increment" "$ponder" "$dir" >/dev/null 2>"$dir.err"
    echo "$(basename "$dir"): $(cat "$dir/summary.txt" 2>/dev/null || echo 'no summary')"
  done
}
started=$SECONDS
half=$(((${#jobs_off[@]} + 1) / 2))
run "${jobs_off[@]:0:half}" &
run "${jobs_off[@]:half}"
wait
run "${jobs_on[@]}"

totals "$out" $((SECONDS - started))
