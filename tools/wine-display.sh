# Sourced by the scripts that show Pellory's window under 64-bit Wine:
# the Wine prefix with a Chinese locale and the fonts of a Chinese Windows,
# and `wine` that runs a program in it. Needs the win64 build.

# Wine takes its code page and font choice from the locale; these machines
# have no Chinese one, so the build makes its own.
locales=$PWD/build/locale
[ -d "$locales/zh_CN.UTF-8" ] || { mkdir -p "$locales" && localedef -i zh_CN -f UTF-8 "$locales/zh_CN.UTF-8"; }
export WINEPREFIX=$PWD/build/win64/display-prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
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

# With no window manager, Wine draws the frame itself only when told to.
set_decorated() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d "$1" /f >/dev/null 2>&1
}

# The program that works the window from outside (tests/shell/probe/window_remote.cpp).
remote() { wine "$PWD/build/win64/tests/shell/probe/window-remote.exe" "$@" | tr -d '\r'; }

# A screenshot of the part of the screen that `remote area` names: the
# window with its open dialogs.
screenshot() {
  local x y width height
  read -r x y width height <<<"$(remote area)"
  import -window root -crop "${width}x${height}+${x}+${y}" +repage "$1"
}
