#!/usr/bin/env bash
# The 64-bit Windows zip as users get it: exactly the programs and side files
# in one top folder, the read-me and skip list in GBK, the version in the
# programs' version resources, and Ferrule.exe unpacking an SPK file under
# Wine from the unpacked zip, with the 7z.exe stand-in put beside it the way
# users put 7-Zip's.
#   win64_zip_test.sh WIN64_BUILD_DIR VERSION MAKE_SPK WINE_RUN
set -euo pipefail
build=$1 version=$2 make_spk=$3 wine_run=$4
. "$(dirname "$0")/package_test_support.sh"

top=Pellory-$version-win64
zip=$build/$top.zip
require_package "$zip" "cmake --build --preset win64 --target package"

# The list of entries, the text files' encoding and the version resources.
python3 - "$zip" "$top" "$version" <<'PYTHON' || fail "the zip's content is not as shipped"
import struct, sys, zipfile
zip_path, top, version = sys.argv[1:]
archive = zipfile.ZipFile(zip_path)
names = sorted(name.rstrip("/") for name in archive.namelist())
expected = sorted([f"{top}/{name}" for name in
                   ["Pellory.exe", "Ferrule.exe", "File_Cfg.ini", "Skip_Npk.ini", "读我.txt", "lst_file"]])
ok = True
def check(condition, why):
    global ok
    if not condition:
        print(why, file=sys.stderr)
        ok = False

check(names == expected, f"entries {names}, expected {expected}")
if ok:
    readme = archive.read(f"{top}/读我.txt")
    text = readme.decode("gbk")  # fails unless GBK
    check(readme.count(b"\n") == readme.count(b"\r\n"), "the read-me's lines do not end with CR LF")
    for needed in [version, "7z.exe", "486,912", "pellory-cli config encrypt"]:
        check(needed in text, f"the read-me does not mention {needed}")
    archive.read(f"{top}/Skip_Npk.ini").decode("gbk")
    check(archive.getinfo(f"{top}/lst_file/").is_dir(), "lst_file is no folder")
    # The fixed part of a version resource starts with its signature; the
    # file version follows as major<<16|minor, patch<<16|build.
    major, minor, patch = (int(part) for part in version.split("."))
    wanted = struct.pack("<IIII", 0xFEEF04BD, 0x10000, major << 16 | minor, patch << 16)
    for program in ["Pellory.exe", "Ferrule.exe"]:
        check(wanted in archive.read(f"{top}/{program}"), f"{program} has no version resource of {version}")
sys.exit(0 if ok else 1)
PYTHON

python3 -m zipfile -e "$zip" "$work"
run=$work/$top
cmp -s "$run/File_Cfg.ini" "$build/bin/File_Cfg.ini" || fail "File_Cfg.ini is not the build's sealed configuration"
cp "$build/seven-zip-double/7z.exe" "$run/7z.exe"
make_spk "$make_spk" "$run"
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
"$wine_run" "$build/wineprefix" "$(windows_path "$run/Ferrule.exe")" "$(windows_path "$run/sprite.NPK.spk")" \
  >"$work/ferrule.out" 2>&1 || fail "Ferrule.exe ended with exit code $?: $(cat "$work/ferrule.out")"
check_unpacked "$run"
echo "win64 zip: OK"
