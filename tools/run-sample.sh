#!/usr/bin/env bash
# The main job on sample data: builds everything, makes a sample SPK update
# file with bzip2-compressed chunks, has the Linux ferrule unpack it with the
# system's 7-Zip, and shows what came out; then shows Pellory's window under
# Wine: on the user's display, or, without one, as a screenshot of each tab.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset linux >/dev/null && cmake --build --preset linux
cmake --preset win64 >/dev/null && cmake --build --preset win64
cmake --preset win32 >/dev/null && cmake --build --preset win32

sample=build/sample
rm -rf "$sample" && mkdir -p "$sample"
# About 3 MiB of text-like content, cut into 1 MiB chunks.
seq 1 110000 | sed "s/\$/ sprite_interface frame/" > "$sample/content.bin"
truncate -s 3000000 "$sample/content.bin"
build/linux/bin/make-spk --codec bzip2 --path 'ImagePacks2\sprite_sample.NPK' \
  "$sample/content.bin" "$sample/sprite_sample.NPK.spk"
echo "== $sample before:"; ls -l "$sample"
echo "== ferrule $sample/sprite_sample.NPK.spk"
build/linux/bin/ferrule "$sample/sprite_sample.NPK.spk"
echo
echo "== $sample after:"; ls -l "$sample"
if cmp -s "$sample/content.bin" "$sample/sprite_sample.NPK"; then
  echo "sprite_sample.NPK matches the sample content byte for byte."
else
  echo "sprite_sample.NPK differs from the sample content!" >&2
  exit 1
fi
echo "Windows programs: build/win64/bin/Ferrule.exe, build/win32/bin/Ferrule.exe"

if [ -n "${DISPLAY:-}" ]; then
  echo "== Pellory on your display (close its window to finish)"
  tools/show-pellory.sh
else
  echo "== Pellory on a private display"
  tools/show-pellory.sh "$sample/pellory"
fi
echo "Pellory: build/win64/bin/Pellory.exe, build/win32/bin/Pellory.exe"
