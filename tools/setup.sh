#!/usr/bin/env bash
# Installs every Debian package that building and testing need.
# Safe to run again: it asks apt only for what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config time python3
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine64 xvfb xauth x11-utils imagemagick
  7zip
  libssl-dev openssl googletest libgtest-dev libcli11-dev
  clang libclang-rt-14-dev
  python3-cryptography
  fonts-wine fonts-wqy-microhei locales
  libcurl4-openssl-dev nginx python3-pyftpdlib curl aria2
  dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
