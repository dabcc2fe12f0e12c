#!/usr/bin/env bash
# Takes the README's picture: xboard under Xvfb playing Tamblor against fairymax, with the
# engine-output window showing both engines' thinking. Needs xboard, xvfb, fairymax,
# xdotool and imagemagick (Debian packages).
# Usage: tools/screenshot.sh [OUTPUT.png]   (default docs/xboard-tamblor.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=$(realpath "${1:-$root/docs/xboard-tamblor.png}")
display=:$((70 + RANDOM % 20)) home=$(mktemp -d)
Xvfb "$display" -screen 0 1280x660x24 >/dev/null 2>&1 & xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$home"' EXIT
sleep 1
HOME=$home DISPLAY=$display timeout 120 /usr/games/xboard -fcp "$root/build/tamblor" -fd "$root/book" \
  -scp /usr/games/fairymax -sd "$home" -matchGames 1 -tc 2 -inc 1 -xponder -size medium \
  -showThinking true -engineOutputUp true -engineOutputW 740 -engineOutputH 640 \
  -testClaims true -autoCallFlag true -popupMoveErrors false -saveSettingsOnExit false -soundProgram "" \
  >/dev/null 2>&1 & xboard=$!
sleep 4
# No window manager: the engine-output window is moved beside the board by hand.
for window in $(DISPLAY=$display xdotool search --name "Engine Output"); do
  DISPLAY=$display xdotool windowmove "$window" 530 0
done
sleep 50  # well into the middle game, out of the book
DISPLAY=$display import -window root "$output"
kill $xboard 2>/dev/null || true
echo "screenshot: $output"
