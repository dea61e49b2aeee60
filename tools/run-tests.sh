#!/usr/bin/env bash
# Runs the test suites of the built trees; tools/test.sh calls it on a display.
set -uo pipefail
cd "$(dirname "$0")/.."

# One Wine prefix for the Windows tests, made before they run side by side,
# and one lasting wineserver for all of them.
export WINEPREFIX=$PWD/build/win64/wineprefix WINEDEBUG=-all
tools/wine-run.sh "$WINEPREFIX" cmd /c exit >/dev/null 2>&1
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null' EXIT

# tools/test.sh has made the release packages: their tests must not skip.
export DNF_REQUIRE_PACKAGES=1

status=0
for preset in linux sanitize tsan win64; do
  echo "== tests: $preset"
  ctest --preset "$preset" || status=1
done
exit $status
