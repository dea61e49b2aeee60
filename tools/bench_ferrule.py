#!/usr/bin/env python3
"""Benchmark of the Linux ferrule, printing ratios against references
measured in the same run (the machines are noisy, absolute times are not).

  bench_ferrule.py [--build build/linux] [--stored-mib 1024] [--bzip2-mib 256]

1. Stored chunks: ferrule's wall time, less its closing 2,000 ms pause,
   against `cp` of the content plus `openssl dgst -sha256` of the copy.
   Target: at most 1.5.
2. bzip2 chunks of 1 MiB: ferrule (less the pause) against running 7-Zip
   alone on the same chunks. Target: at most 1.2.
3. Peak resident memory of ferrule on the stored case. Target: under 64 MiB.
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

PAUSE_S = 2.0


def timed(command, **kwargs):
    start = time.perf_counter()
    subprocess.run(command, check=True, **kwargs)
    return time.perf_counter() - start


def make_content(path, mib):
    # Pseudo-random bytes from OpenSSL: fast to make, and not compressible by
    # accident, so every byte really travels through the pipeline.
    with open(path, "wb") as out:
        chunk = 1 << 20
        proc = subprocess.Popen(["openssl", "enc", "-aes-128-ctr", "-nosalt", "-pbkdf2",
                                 "-pass", "pass:bench", "-in", "/dev/zero"], stdout=subprocess.PIPE)
        for _ in range(mib):
            out.write(proc.stdout.read(chunk))
        proc.kill()
        proc.wait()


def make_text_content(path, mib):
    # Text-like data that bzip2 compresses about as well as game archives.
    line = b"".join(b"frame %08d sprite_interface.NPK offset %08x\n" % (i, i * 37) for i in range(4096))
    with open(path, "wb") as out:
        written = 0
        while written < mib << 20:
            part = line[: (mib << 20) - written]
            out.write(part)
            written += len(part)


def ferrule_run(ferrule, spk, env, work):
    """Wall time less the closing pause, and peak resident memory in KiB."""
    rss_file = os.path.join(work, "rss.txt")
    elapsed = timed(["/usr/bin/time", "-f", "%M", "-o", rss_file, ferrule, spk], stdout=subprocess.DEVNULL, env=env)
    with open(rss_file) as f:
        rss_kib = int(f.read().split()[-1])
    return elapsed - PAUSE_S, rss_kib


def bench_stored(build, work, mib, env):
    content = os.path.join(work, "stored.bin")
    spk = os.path.join(work, "stored.NPK.spk")
    make_content(content, mib)
    subprocess.run([os.path.join(build, "bin", "make-spk"), content, spk], check=True)
    copy = os.path.join(work, "copy.bin")
    reference = timed(["cp", content, copy]) + timed(["openssl", "dgst", "-sha256", copy], stdout=subprocess.DEVNULL)
    os.remove(copy)
    ours, rss = ferrule_run(os.path.join(build, "bin", "ferrule"), spk, env, work)
    ok = subprocess.run(["cmp", "-s", content, os.path.join(work, "stored.NPK")]).returncode == 0
    for name in ("stored.bin", "stored.NPK"):
        os.remove(os.path.join(work, name))
    return reference, ours, rss, ok


def split_chunks(spk, folder):
    """Writes each compressed chunk of an SPK file to its own file."""
    names = []
    with open(spk, "rb") as f:
        f.seek(308)
        (count,) = struct.unpack("<i", f.read(4))
        f.seek(312 + 4 * count)
        for i in range(count):
            kind, size = struct.unpack("<ii", f.read(8))
            f.seek(40, 1)
            name = os.path.join(folder, "chunk%05d.bz2" % i)
            with open(name, "wb") as out:
                out.write(f.read(size))
            names.append(name)
    return names


def bench_bzip2(build, work, mib, env):
    content = os.path.join(work, "text.bin")
    spk = os.path.join(work, "text.NPK.spk")
    make_text_content(content, mib)
    subprocess.run([os.path.join(build, "bin", "make-spk"), "--codec", "bzip2", "--chunk-size", str(1 << 20),
                    content, spk], check=True)
    chunks_dir = os.path.join(work, "chunks")
    os.mkdir(chunks_dir)
    chunks = split_chunks(spk, chunks_dir)
    seven_zip = shutil.which("7zz") or shutil.which("7z")
    start = time.perf_counter()
    with open(os.devnull, "wb") as sink:
        for chunk in chunks:
            subprocess.run([seven_zip, "x", chunk, "-so", "-y"], stdout=sink, check=True)
    reference = time.perf_counter() - start
    ours, _ = ferrule_run(os.path.join(build, "bin", "ferrule"), spk, env, work)
    ok = subprocess.run(["cmp", "-s", content, os.path.join(work, "text.NPK")]).returncode == 0
    return reference, ours, ok


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/linux")
    parser.add_argument("--stored-mib", type=int, default=1024)
    parser.add_argument("--bzip2-mib", type=int, default=256)
    args = parser.parse_args()
    env = dict(os.environ, LC_ALL="C.UTF-8")
    work = tempfile.mkdtemp(prefix="ferrule-bench-", dir=os.environ.get("BENCH_DIR"))
    try:
        reference, ours, rss_kib, ok = bench_stored(args.build, work, args.stored_mib, env)
        print(f"stored, {args.stored_mib} MiB: ferrule {ours:.2f} s (pause excluded), cp + openssl dgst "
              f"{reference:.2f} s, ratio {ours / reference:.2f} (target <= 1.5), output {'ok' if ok else 'WRONG'}")
        print(f"peak resident memory of ferrule: {rss_kib / 1024:.1f} MiB (target < 64)")
        reference, ours, ok = bench_bzip2(args.build, work, args.bzip2_mib, env)
        print(f"bzip2 1 MiB chunks, {args.bzip2_mib} MiB: ferrule {ours:.2f} s (pause excluded), 7-Zip alone "
              f"{reference:.2f} s, ratio {ours / reference:.2f} (target <= 1.2), output {'ok' if ok else 'WRONG'}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
