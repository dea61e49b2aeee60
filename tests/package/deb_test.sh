#!/usr/bin/env bash
# The Debian package as users install it: its name and dependencies, exactly
# ferrule and pellory-cli in /usr/bin, and both programs run from a root it
# was extracted into: ferrule with the system's 7-Zip, pellory-cli with the
# example skip list.
#   deb_test.sh BUILD_DIR VERSION MAKE_SPK SKIP_LIST
set -euo pipefail
build=$1 version=$2 make_spk=$3 skip_list=$4
. "$(dirname "$0")/package_test_support.sh"

deb=$build/pellory_${version}_$(dpkg --print-architecture).deb
require_package "$deb" "cmake --build --preset linux --target package"

[ "$(dpkg-deb -f "$deb" Package)" = pellory ] || fail "package name is not pellory"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
depended=" $(sed -E 's/ *\([^)]*\)//g; s/, */ /g' <<<"$depends") "  # the package names alone
for needed in 7zip libssl3 libstdc++6; do
  [[ $depended == *" $needed "* ]] || fail "Depends ($depends) lacks $needed"
done
files=$(dpkg-deb -c "$deb" | awk '{print $NF}' | sort | tr '\n' ' ')
[ "$files" = "./usr/ ./usr/bin/ ./usr/bin/ferrule ./usr/bin/pellory-cli " ] || fail "unexpected files: $files"

root=$work/root
dpkg -x "$deb" "$root"
shown=$("$root/usr/bin/pellory-cli" --version)
[ "$shown" = "pellory-cli $version" ] || fail "pellory-cli --version says '$shown'"

# ferrule finds no 7-Zip beside itself here, so it must take the system's
# 7zz from the PATH; its side files go to the temporary folder given.
command -v 7zz >/dev/null || fail "the system's 7zz (Debian package 7zip) is missing"
mkdir "$work/spk" "$work/tmp"
make_spk "$make_spk" "$work/spk"
TMPDIR=$work/tmp PATH=/usr/bin:/bin "$root/usr/bin/ferrule" "$work/spk/sprite.NPK.spk" >"$work/ferrule.out" ||
  fail "ferrule ended with exit code $?"
check_unpacked "$work/spk"
[ -z "$(ls -A "$work/tmp")" ] || fail "ferrule left files in the temporary folder: $(ls -A "$work/tmp")"
# pellory-cli from the package with the example skip list: the names it
# lists for ImagePacks2 are no findings, an unlisted stranger is.
game=$work/game
mkdir -p "$game/ImagePacks2"
python3 - "$game" <<'PYTHON'
import struct, sys
game = sys.argv[1]
def text(value):
    return struct.pack("<i", len(value)) + value
listing = b"\xee" * 32 + b"LST\0" + struct.pack("<i", 7)
listing += text(b"ImagePacks2") + struct.pack("<i", 1)
listing += text(b"official.NPK") + struct.pack("<ii", 4, 0x12345678) + text(b"\0" * 32)
listing += struct.pack("<i", 0) + b"\0" * 8
open(f"{game}/package.lst", "wb").write(listing)
for name in ["official.NPK", "stranger.NPK", "sprite_interface_自制皮肤.NPK",
             "sprite_character_swordman_equipment_avatar_coat(mod).NPK"]:
    open(f"{game}/ImagePacks2/{name}", "wb").write(b"data")
PYTHON
findings() { "$root/usr/bin/pellory-cli" scan "$game" "$@" 2>/dev/null | cut -f1 | sort | tr '\n' ' '; }
found=$(findings --skip-list "$skip_list")
[ "$found" = "stranger.NPK " ] || fail "with the example skip list the findings are: $found"
found=$(findings)
[ "$found" = "sprite_character_swordman_equipment_avatar_coat(mod).NPK sprite_interface_自制皮肤.NPK stranger.NPK " ] ||
  fail "without a skip list the findings are: $found"
echo "deb package: OK"
