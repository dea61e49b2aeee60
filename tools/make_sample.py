#!/usr/bin/env python3
"""Makes the sample data that tools/run-sample.sh works on.

  make_sample.py MAKE_SPK OUT

OUT/game          a game folder: package.lst, the official files of
                  ImagePacks2 and SoundPacks, and in ImagePacks2 a few files
                  the game did not ship and one official file of the wrong size
OUT/findings.txt  the names a scan must find there, one a line, sorted
OUT/server/kr     what the example configuration's Korean region serves:
                  kr.lst and two archives of ImagePacks2 as SPK files
OUT/contents      the archives' contents, to compare the unpacked files with
OUT/archives.txt  the archives' names, one a line

MAKE_SPK is the make-spk program of the build.
"""

import hashlib
import os
import random
import shutil
import struct
import subprocess
import sys

OFFICIAL = {
    "ImagePacks2": ["sprite_interface_hud.NPK", "sprite_character_swordman_equipment.NPK",
                    "sprite_map_hendonmyre.NPK", "sprite_monster_goblin.NPK", "sprite_item_weapon.NPK"],
    "SoundPacks": ["sounds_character_swordman.npk", "sounds_map_town.npk"],
}
UNOFFICIAL = ["(patch)_white_skin.NPK", "sprite_interface_hud_clear.NPK", "weapon_glow_mod.NPK"]
WRONG_SIZE = "sprite_monster_goblin.NPK"  # an official name whose file was replaced

# The region list names more archives than the server holds; the two with
# "skin" in their names are the ones the sample downloads.
REGION_ARCHIVES = {
    "ImagePacks2": ["sprite_interface_hud.NPK", "sprite_character_swordman_skin.NPK",
                    "sprite_map_hendonmyre.NPK", "sprite_interface_skin_event.NPK", "sprite_item_weapon.NPK"],
    "SoundPacks": ["sounds_character_swordman.npk", "sounds_map_town.npk"],
    "Music": ["music_town.ogg"],
}
DOWNLOADED = ["sprite_character_swordman_skin.NPK", "sprite_interface_skin_event.NPK"]
ARCHIVE_SIZE = 3 << 20  # big enough that a download shows its progress for a moment


def int32(value):
    return struct.pack("<i", value)


def content(name, size):
    # Incompressible, so that the SPK file is as large as what it holds.
    return random.Random(name).randbytes(size)


def package_list(folders):
    """The game's list: 32 unread bytes, the mark, then per folder its name
    and per file its name, size, an unread field and the SHA-256 digest."""
    data = bytearray(b"\xee" * 32 + b"LST\0" + int32(7))
    for folder, files in folders.items():
        data += int32(len(folder)) + folder.encode() + int32(len(files))
        for name, body in files:
            digest = hashlib.sha256(body).digest()
            data += int32(len(name)) + name.encode() + int32(len(body)) + int32(0) + int32(len(digest)) + digest
        data += int32(0)
    return bytes(data + bytes(8))


def region_list(blocks):
    """A region's list: per folder its name and a zero byte, the count, and
    per archive the name's length, the name and 44 bytes the pages do not read."""
    data = bytearray()
    for folder, names in blocks.items():
        data += folder.encode() + b"\0" + int32(len(names))
        for name in names:
            data += int32(len(name)) + name.encode() + bytes(44)
    return bytes(data)


def write(path, body):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(body)


def make_game(out):
    game = os.path.join(out, "game")
    listed = {}
    for folder, names in OFFICIAL.items():
        listed[folder] = []
        for index, name in enumerate(names):
            body = content(name, 20000 + 3000 * index)
            listed[folder].append((name, body))
            shipped = body + b"modded" if name == WRONG_SIZE else body
            write(os.path.join(game, folder, name), shipped)
    for name in UNOFFICIAL:
        write(os.path.join(game, "ImagePacks2", name), content(name, 15000))
    write(os.path.join(game, "package.lst"), package_list(listed))
    write(os.path.join(out, "findings.txt"), "".join(n + "\n" for n in sorted(UNOFFICIAL + [WRONG_SIZE])).encode())


def make_server(out, make_spk):
    region = os.path.join(out, "server", "kr")
    write(os.path.join(region, "kr.lst"), region_list(REGION_ARCHIVES))
    for name in DOWNLOADED:
        plain = os.path.join(out, "contents", name)
        write(plain, content(name, ARCHIVE_SIZE))
        spk = os.path.join(region, "ImagePacks2", name + ".spk")
        os.makedirs(os.path.dirname(spk), exist_ok=True)
        subprocess.run([make_spk, "--codec", "bzip2", "--path", "ImagePacks2\\" + name, plain, spk], check=True)
    write(os.path.join(out, "archives.txt"), "".join(n + "\n" for n in DOWNLOADED).encode())


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    make_spk, out = sys.argv[1], sys.argv[2]
    shutil.rmtree(out, ignore_errors=True)
    make_game(out)
    make_server(out, make_spk)


if __name__ == "__main__":
    main()
