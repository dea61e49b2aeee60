#!/usr/bin/env bash
# Screenshots of Pellory's window in one of the 33 skins, under 64-bit Wine
# on a private Xvfb, with its Chinese captions:
#   show-skin.sh NUMBER SHOT_PREFIX    writes SHOT_PREFIX-tab1.png and SHOT_PREFIX-tab2.png
# Needs the win64 build.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: show-skin.sh NUMBER SHOT_PREFIX" >&2; exit 2; }
cd "$(dirname "$0")/../.."
build=$PWD/build/win64
showcase=$build/tests/skin/skin_showcase.exe
library=$build/bin/SkinH_EL.dll
[ -f "$showcase" ] && [ -f "$library" ] || { echo "show-skin.sh: build the win64 preset first" >&2; exit 1; }

if [ "${SHOW_SKIN_ON_THIS_DISPLAY:-}" != 1 ]; then
  shots=$(realpath -m "$2")
  mkdir -p "$(dirname "$shots")"
  SHOW_SKIN_ON_THIS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$1" "$shots"
fi

# Wine takes its code page and font choice from the locale; these machines
# have no Chinese one, so the build makes its own.
locales=$PWD/build/locale
[ -d "$locales/zh_CN.UTF-8" ] || { mkdir -p "$locales" && localedef -i zh_CN -f UTF-8 "$locales/zh_CN.UTF-8"; }
export WINEPREFIX=$build/display-prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wine() { LOCPATH=$locales LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$wine64" "$@"; }

if [ ! -d "$WINEPREFIX" ]; then
  wine wineboot -i >/dev/null 2>&1
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  for font in 宋体 SimSun "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
  done
fi
# With no window manager, Wine draws the frame itself only when told to.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

for tab in 1 2; do
  place=$(mktemp)
  wine "$showcase" "Z:${library//\//\\}" "$1" "$tab" 4 >"$place" &
  program=$!
  for _ in $(seq 100); do [ -s "$place" ] && break; sleep 0.2; done
  sleep 1  # the first paint after the place was printed
  read -r x y width height < <(tr -d '\r' <"$place")
  import -window root -crop "${width}x${height}+${x}+${y}" +repage "$2-tab$tab.png"
  echo "skin $1, tab $tab: $2-tab$tab.png"
  wait "$program"
  rm -f "$place"
done
