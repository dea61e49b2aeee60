#!/usr/bin/env bash
# Runs a Windows program of the build under 64-bit Wine.
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# PREFIX is the build's own Wine prefix, made on first use. Without a display
# the program gets a private Xvfb of its own.
set -u
prefix=$1
shift
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
if [ ! -d "$prefix" ]; then
  mkdir -p "$prefix"
  if [ -n "${DISPLAY:-}" ]; then "$wine" wineboot -i >/dev/null 2>&1; else xvfb-run -a "$wine" wineboot -i >/dev/null 2>&1; fi
fi
if [ -n "${DISPLAY:-}" ]; then
  exec "$wine" "$@"
else
  exec xvfb-run -a "$wine" "$@"
fi
