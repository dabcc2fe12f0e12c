#!/usr/bin/env bash
# The Debian package installs what `cmake --install` installs, the installed engine starts
# from any folder, answers the handshake and plays from its installed books, and the
# package removes cleanly.
# Usage (as root): tests/package/check_package.sh [BUILD_DIR]   (default build-package; a folder
# of its own: it is left configured for the profile-guided pass)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build-package}
[[ $(id -u) -eq 0 ]] || { echo "check_package: dpkg -i needs root" >&2; exit 2; }
command -v dpkg-shlibdeps >/dev/null || { apt-get update -qq && apt-get install -y -qq dpkg-dev >/dev/null; }
# The packaged engine is the profile-guided build, trained on a short bench.
TARGETS=tamblor tools/pgo-build "$build" 5 -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
rm -f "$build"/tamblor_*.deb
(cd "$build" && cpack -G DEB >/dev/null 2>&1)
deb=$(ls "$build"/tamblor_*.deb)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR=$stage cmake --install "$build" >/dev/null
diff <(cd "$stage" && find . -type f | sort) <(dpkg -c "$deb" | awk '/^-/ {print $6}' | sort)
dpkg-deb -f "$deb" Section Depends | grep -q "^Section: games" || { echo "check_package: section is not games"; exit 1; }

dpkg -i "$deb" >/dev/null
for file in /usr/games/tamblor /usr/share/games/tamblor/tamblorwhite.doc /usr/share/games/tamblor/tamblorblack.doc \
            /usr/share/man/man6/tamblor.6; do
  [[ -e $file ]] || { echo "check_package: $file not installed"; exit 1; }
done
reply=$(cd / && printf 'xboard\nprotover 2\nquit\n' | PATH=$PATH:/usr/games timeout 10 tamblor)
grep -qx 'feature done=1' <<<"$reply" || { echo "check_package: no handshake from / : $reply"; exit 1; }
# From / the engine finds its installed books: on a long clock a book move comes at once,
# with no thinking line before it.
reply=$( (printf 'xboard\nprotover 2\nnew\nlevel 0 60 0\ngo\n'; sleep 2; echo quit) | (cd / && timeout 10 /usr/games/tamblor) )
grep -q '^move ' <<<"$reply" && ! grep -q '^[0-9][0-9]* ' <<<"$reply" ||
  { echo "check_package: no book move from / : $reply"; exit 1; }
dpkg -r tamblor >/dev/null
[[ ! -e /usr/games/tamblor ]] || { echo "check_package: still installed after dpkg -r"; exit 1; }
echo "check_package: $(basename "$deb") installs $(dpkg -c "$deb" | grep -c '^-') files, starts from /, removes cleanly"
