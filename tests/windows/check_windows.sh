#!/usr/bin/env bash
# The Windows build, cross-compiled with MinGW-w64 and run under Wine (a scratch prefix in
# WINDOWS_DIR/wineprefix), in four parts that tools/check runs as steps:
#   build     the cross-build and the zip: static programs (no DLL beyond the system's)
#             and the zip's files
#   tools     perft.exe's published counts; bench.exe's nodes and moves, position by
#             position, the same as the Linux bench's
#   blackbox  the Linux build's black-box tests, run against "wine tamblor.exe"; the
#             engine unpacked from the zip, started elsewhere, plays from the books beside it
#   match     two games of "wine tamblor.exe" against fairymax under xboard, 0 faults
# Usage: tests/windows/check_windows.sh PART WINDOWS_DIR [LINUX_DIR]
#   (LINUX_DIR, a Linux release build with its tests, is needed by tools and blackbox)
set -euo pipefail
cd "$(dirname "$0")/../.."
part=${1:?part} windows=${2:?windows build folder} linux=${3:-}
zip_name=tamblor-0.35k-windows-x86_64

mkdir -p "$windows"
export WINEPREFIX=$(realpath "$windows")/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ $part != build ]]; then
  [[ -d $WINEPREFIX ]] || wineboot -i >/dev/null 2>&1
  trap 'wineserver -k 2>/dev/null || true' EXIT  # the prefix's own server ends with the part
fi
fail() { echo "check_windows $part: $*"; exit 1; }

case $part in
build)
  cmake -S . -B "$windows" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$windows" -j2 >"$windows/build.log" 2>&1 || { tail -30 "$windows/build.log"; exit 1; }
  ! grep -q "warning:" "$windows/build.log" || { grep -A3 "warning:" "$windows/build.log"; fail "compiler warnings"; }
  for program in "$windows/tamblor.exe" "$windows/tools/bench.exe" "$windows/tools/perft.exe"; do
    dlls=$(x86_64-w64-mingw32-objdump -p "$program" | awk '/DLL Name:/ {print $3}' | sort -u | tr '\n' ' ')
    [[ $dlls == "KERNEL32.dll msvcrt.dll " ]] || fail "$program needs $dlls"
  done
  rm -f "$windows"/*.zip
  (cd "$windows" && cpack -G ZIP >/dev/null)
  listing=$(cd "$windows" && cmake -E tar tf $zip_name.zip | sort | tr '\n' ' ')
  expected="COPYRIGHT.txt LICENSE.txt README.txt tamblor.exe tamblorblack.doc tamblorwhite.doc"
  [[ $listing == "$(printf "$zip_name/%s " $expected)" ]] || fail "the zip holds $listing"
  echo "$zip_name.zip: $(stat -c %s "$windows/$zip_name.zip") bytes: $listing"
  ;;
tools)
  [[ -x $linux/tools/bench ]] || fail "no Linux bench in $linux"
  perft=$windows/tools/perft.exe
  while read -r depth nodes fen; do
    for side in "" --engine-not-to-move; do
      got=$(wine "$perft" "$fen" "$depth" $side | tr -d '\r' | awk '/^nodes/ {print $2}')
      [[ $got == "$nodes" ]] || fail "perft $depth $side of $fen: $got, not $nodes"
    done
  done <<'EOF'
5 4865609 rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1
4 4085603 r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -
5 674624 8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -
4 422333 r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1
4 2103487 rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8
EOF
  echo "perft.exe: the published counts of five positions, in both orientations"
  # Everything but the times must agree: the same search, bit for bit.
  "$linux/tools/bench" | sed 's/ time .*//' >"$windows/bench-linux.txt"
  wine "$windows/tools/bench.exe" | tr -d '\r' | sed 's/ time .*//' >"$windows/bench-windows.txt"
  diff "$windows/bench-linux.txt" "$windows/bench-windows.txt" || fail "bench.exe differs from the Linux bench"
  echo "bench.exe and Linux bench: $(wc -l <"$windows/bench-linux.txt") identical lines, $(tail -1 "$windows/bench-linux.txt")"
  ;;
blackbox)
  tests=$linux/tests/tamblor_blackbox_tests
  [[ -x $tests ]] || fail "no black-box tests in $linux"
  TAMBLOR="wine $(realpath "$windows/tamblor.exe")" "$tests" >"$windows/blackbox.log" 2>&1 ||
    { cat "$windows/blackbox.log"; exit 1; }
  tail -1 "$windows/blackbox.log"
  # On a long clock a book move comes at once, with no thinking line before it.
  unpacked=$(mktemp -d)
  trap 'rm -rf "$unpacked"; wineserver -k 2>/dev/null || true' EXIT
  cmake -E chdir "$unpacked" cmake -E tar xf "$(realpath "$windows/$zip_name.zip")"
  reply=$( (printf 'xboard\r\nprotover 2\r\nnew\r\nlevel 0 60 0\r\ngo\r\n'; sleep 3; printf 'quit\r\n') |
           (cd / && timeout 20 wine "$unpacked/$zip_name/tamblor.exe") )
  grep -q '^move ' <<<"$reply" && ! grep -q '^[0-9][0-9]* ' <<<"$reply" ||
    fail "no book move from the books beside tamblor.exe: $reply"
  echo "the unpacked tamblor.exe, started in /, plays $(grep '^move ' <<<"$reply") from the books beside it"
  ;;
match)
  TAMBLOR="wine $(realpath "$windows/tamblor.exe")" tools/match.sh /usr/games/fairymax 2 0:10 0.1 off "$windows/match"
  ;;
*)
  fail "unknown part"
  ;;
esac
