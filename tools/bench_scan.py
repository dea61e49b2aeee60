#!/usr/bin/env python3
"""Benchmark of the patch scan (through pellory-cli, the window's own core),
printing ratios against references measured in the same run.

  bench_scan.py [--build build/linux] [--files 20000] [--hash-mib 2048] [--hash-files 200]

1. Size comparison over a folder of 20,000 files; target under 1 second and
   within 2 times the reference: `find -printf %s` over the same folder
   (listing plus a stat of every file). Wall time, and processor time,
   which a busy machine disturbs less.
2. Digest comparison over 2 GiB in 200 files, in the page cache, with one
   and with two hashing workers, against `openssl dgst -sha256` over the
   same files. Targets: at least 0.9 times its throughput with one worker,
   at least 1.6 times with two.
3. Peak resident memory of the digest scan; target under 100 MiB.
"""
import argparse
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time


def package_list(entries):
    """A package.lst with one ImagePacks2 folder of (name, size, digest) entries."""
    out = bytearray(32) + b"LST\0" + struct.pack("<i", 0)
    folder = b"ImagePacks2"
    out += struct.pack("<i", len(folder)) + folder + struct.pack("<i", len(entries))
    for name, size, digest in entries:
        raw = name.encode()
        out += struct.pack("<i", len(raw)) + raw + struct.pack("<ii", size, 0) + struct.pack("<i", len(digest)) + digest
    out += struct.pack("<i", 0) + bytes(8)
    return bytes(out)


def make_game(root, files):
    """files: list of (name, content bytes or size); returns the game folder."""
    game = os.path.join(root, "game")
    folder = os.path.join(game, "ImagePacks2")
    os.makedirs(folder)
    entries = []
    for name, content in files:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(content)
        entries.append((name, len(content), hashlib.sha256(content).digest()))
    with open(os.path.join(game, "package.lst"), "wb") as f:
        f.write(package_list(entries))
    return game


def timed(command):
    """Wall time and processor time (user + system) of one run."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise subprocess.CalledProcessError(os.waitstatus_to_exitcode(status), command)
    return wall, usage.ru_utime + usage.ru_stime


def best_of(runs, command):
    return min(timed(command)[0] for _ in range(runs))


def best_processor_time_of(runs, command):
    """On a machine shared with other work the processor time varies far less
    than the wall time."""
    return min(timed(command)[1] for _ in range(runs))


def peak_rss_mib(command, work):
    out = os.path.join(work, "rss.txt")
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", out] + command, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(out) as f:
        return int(f.read().split()[-1]) / 1024


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/linux")
    parser.add_argument("--files", type=int, default=20000)
    parser.add_argument("--hash-mib", type=int, default=2048)
    parser.add_argument("--hash-files", type=int, default=200)
    args = parser.parse_args()
    cli = os.path.join(args.build, "bin", "pellory-cli")
    work = tempfile.mkdtemp(prefix="scan-bench-", dir=os.environ.get("BENCH_DIR"))
    try:
        small = make_game(os.path.join(work, "small"),
                          [("sprite_%05d.NPK" % i, bytes(16 + i % 64)) for i in range(args.files)])
        folder = os.path.join(small, "ImagePacks2")
        find = ["find", folder, "-maxdepth", "1", "-type", "f", "-printf", "%s\n"]
        scan = [cli, "scan", small, "--compare", "size", "--skip-list", "/nonexistent"]
        reference, ours = best_of(5, find), best_of(5, scan)
        print(f"size scan, {args.files} files: {ours:.3f} s (target < 1 s); find -printf %s {reference:.3f} s, "
              f"ratio {ours / reference:.2f} (target <= 2)")
        reference, ours = best_processor_time_of(5, find), best_processor_time_of(5, scan)
        print(f"  processor time (user + system): {ours:.3f} s; find -printf %s {reference:.3f} s, "
              f"ratio {ours / reference:.2f}")

        piece = os.urandom(1 << 20)
        size = (args.hash_mib << 20) // args.hash_files
        contents = [(piece * (size // len(piece) + 1))[:size - 8] + struct.pack("<Q", i) for i in range(args.hash_files)]
        big = make_game(os.path.join(work, "big"), [("pack_%03d.NPK" % i, c) for i, c in enumerate(contents)])
        del contents
        paths = sorted(os.path.join(big, "ImagePacks2", n) for n in os.listdir(os.path.join(big, "ImagePacks2")))
        subprocess.run(["cat"] + paths, stdout=subprocess.DEVNULL, check=True)  # into the page cache
        openssl = best_of(2, ["openssl", "dgst", "-sha256"] + paths)
        results = {}
        for workers in (1, 2):
            results[workers] = best_of(2, [cli, "scan", big, "--compare", "hash", "--workers", str(workers),
                                           "--skip-list", "/nonexistent"])
        for workers, ours in results.items():
            target = 0.9 if workers == 1 else 1.6
            print(f"hash scan, {args.hash_mib} MiB in {args.hash_files} files, {workers} worker(s): {ours:.2f} s; "
                  f"openssl dgst -sha256 {openssl:.2f} s; throughput ratio {openssl / ours:.2f} (target >= {target})")
        rss = peak_rss_mib([cli, "scan", big, "--compare", "hash", "--workers", "2", "--skip-list", "/nonexistent"], work)
        print(f"peak resident memory of the hash scan: {rss:.1f} MiB (target < 100)")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
