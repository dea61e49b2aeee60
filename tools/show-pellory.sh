#!/usr/bin/env bash
# Shows Pellory's window under 64-bit Wine, with its Chinese captions and
# its skin. Pellory runs from a fresh run directory, as on a first start, so
# that it installs the skin library it carries there itself.
#   show-pellory.sh                  on the user's display, until the window is closed
#   show-pellory.sh SHOT_PREFIX      on a private Xvfb: writes SHOT_PREFIX-tab1.png
#                                    and SHOT_PREFIX-tab2.png, one per tab
# Without a display the second form is the only one. Needs the win64 build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$PWD/build/win64
built=$build/bin/Pellory.exe
window_remote=$build/tests/shell/probe/window-remote.exe
[ -x "$built" ] && [ -f "$window_remote" ] || { echo "show-pellory.sh: build the win64 preset first" >&2; exit 1; }
run=$build/show-pellory
pellory=$run/Pellory.exe

. tools/wine-display.sh

# A run directory that holds nothing but Pellory.exe.
fresh_run_directory() {
  rm -rf "$run" && mkdir -p "$run" && cp "$built" "$pellory"
}

screenshots() {
  local shots=$1
  prepare_prefix
  set_decorated N
  fresh_run_directory
  wine "$pellory" &
  local program=$!
  remote wait >/dev/null
  for tab in 1 2; do
    remote tab "$tab"
    screenshot "$shots-tab$tab.png"
    echo "Pellory, tab $tab: $shots-tab$tab.png"
  done
  remote close
  wait "$program"
  [ -f "$run/SkinH_EL.dll" ] || { echo "show-pellory.sh: Pellory wrote no SkinH_EL.dll" >&2; return 1; }
}

if [ "${1:-}" = --on-this-display ]; then
  screenshots "$2"
elif [ $# -ge 1 ]; then
  shots=$(realpath -m "$1")
  mkdir -p "$(dirname "$shots")"
  xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --on-this-display "$shots"
elif [ -n "${DISPLAY:-}" ]; then
  prepare_prefix
  set_decorated Y
  fresh_run_directory
  wine "$pellory"
else
  echo "show-pellory.sh: no display; give a file prefix for screenshots instead" >&2
  exit 2
fi
