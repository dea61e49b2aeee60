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
remote=$build/tests/shell/probe/window-remote.exe
[ -x "$built" ] && [ -f "$remote" ] || { echo "show-pellory.sh: build the win64 preset first" >&2; exit 1; }
run=$build/show-pellory
pellory=$run/Pellory.exe

# Wine takes its code page and font choice from the locale; these machines
# have no Chinese one, so the build makes its own.
locales=$PWD/build/locale
[ -d "$locales/zh_CN.UTF-8" ] || { mkdir -p "$locales" && localedef -i zh_CN -f UTF-8 "$locales/zh_CN.UTF-8"; }
export WINEPREFIX=$build/display-prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wine() { LOCPATH=$locales LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$wine64" "$@"; }

# The UI fonts of a Chinese Windows, mapped to the CJK font that is installed.
prepare_prefix() {
  [ -d "$WINEPREFIX" ] && return
  wine wineboot -i >/dev/null 2>&1
  # Debian's Wine does not look into its own font folder; without Marlett
  # the title bar's buttons show letters.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  for font in 宋体 SimSun "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
  done
}

# A run directory that holds nothing but Pellory.exe.
fresh_run_directory() {
  rm -rf "$run" && mkdir -p "$run" && cp "$built" "$pellory"
}

# With no window manager, Wine draws the frame itself only when told to.
set_decorated() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d "$1" /f >/dev/null 2>&1
}

screenshots() {
  local shots=$1
  prepare_prefix
  set_decorated N
  fresh_run_directory
  wine "$pellory" &
  local program=$!
  local place
  place=$(wine "$remote" wait | tr -d '\r')
  read -r x y width height <<<"$place"
  for tab in 1 2; do
    wine "$remote" tab "$tab"
    import -window root -crop "${width}x${height}+${x}+${y}" +repage "$shots-tab$tab.png"
    echo "Pellory, tab $tab: $shots-tab$tab.png"
  done
  wine "$remote" close
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
