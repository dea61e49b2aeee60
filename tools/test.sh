#!/usr/bin/env bash
# Builds every target and the release packages, and runs every test: native
# Linux, native with ASan and UBSan, native with ThreadSanitizer, and the
# Windows build under 64-bit Wine on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

build() { cmake --preset "$1" "${@:2}" >/dev/null && cmake --build --preset "$1"; }
build win64
build win32
build linux -DDNF_WINDOWS_BUILD="$PWD/build/win64"
build sanitize
build tsan

# The release packages, which the package tests unpack and run.
cmake --build --preset win64 --target package
cmake --build --preset win32 --target package
cmake --build --preset linux --target package

exec xvfb-run -a -s "-screen 0 1280x1024x24" tools/run-tests.sh
