#!/usr/bin/env python3
"""Benchmark of the download engine (through dnf-fetch, the engine with the
platform's transport), printing ratios against references measured in the
same run, all over 127.0.0.1 from one nginx.

  bench_download.py [--build build/linux] [--mib 1024] [--limited-mib 256] [--rate 16m]

1. One connection, one file of --mib MiB, no rate limit, against `curl` on
   the same file; target: at least 0.95 of curl's throughput.
2. With a rate limit per connection (--rate, nginx's limit_rate) on a file of
   --limited-mib MiB: two connections against one (target at least 1.8 times
   the throughput) and against `aria2c -x2 -s2 -k1M` (target at least 0.95
   of its throughput).
3. Peak resident memory of dnf-fetch for the --mib file; target under 32 MiB.
Each timing is the best of --runs runs.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "downloader", "servers"))
import loopback_servers  # noqa: E402


def make_file(path, mib):
    block = os.urandom(1 << 20)
    with open(path, "wb") as f:
        for i in range(mib):
            f.write(i.to_bytes(8, "little") + block[8:])  # no two blocks alike


def timed(command, output):
    if os.path.exists(output):
        os.remove(output)
    start = time.monotonic()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    seconds = time.monotonic() - start
    os.remove(output)
    return seconds


def best(runs, command, output):
    return min(timed(command, output) for _ in range(runs))


def peak_memory_kib(command, output):
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, check=True,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    os.remove(output)
    return int(result.stderr.strip().splitlines()[-1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/linux")
    parser.add_argument("--mib", type=int, default=1024)
    parser.add_argument("--limited-mib", type=int, default=256)
    parser.add_argument("--rate", default="16m")
    parser.add_argument("--runs", type=int, default=2)
    args = parser.parse_args()
    fetch = os.path.join(args.build, "bin", "dnf-fetch")
    for tool in (fetch, shutil.which("curl"), shutil.which("aria2c"), "/usr/bin/time"):
        if not tool or not os.path.exists(tool):
            sys.exit("bench_download: missing %s (tools/setup.sh installs curl, aria2 and time)" % tool)

    work = tempfile.mkdtemp(prefix="dnf-bench-download-")
    root = os.path.join(work, "root")
    os.mkdir(root)
    nginx = None
    try:
        make_file(os.path.join(root, "big.spk"), args.mib)
        make_file(os.path.join(root, "limited.spk"), args.limited_mib)
        nginx, port = loopback_servers.start_nginx(root, work, rate=args.rate)
        base = "http://127.0.0.1:%d" % port
        out = os.path.join(work, "out.spk")
        mib = args.mib
        limited = args.limited_mib

        curl = best(args.runs, ["curl", "-s", "-o", out, base + "/files/big.spk"], out)
        ours = best(args.runs, [fetch, base + "/files/big.spk", out, "--connections", "1"], out)
        print("1. %d MiB, one connection: dnf-fetch %.0f MiB/s, curl %.0f MiB/s: ratio %.2f (target >= 0.95)"
              % (mib, mib / ours, mib / curl, curl / ours))

        one = best(args.runs, [fetch, base + "/slow/limited.spk", out, "--connections", "1"], out)
        two = best(args.runs, [fetch, base + "/slow/limited.spk", out, "--connections", "2"], out)
        aria = best(args.runs, ["aria2c", "-q", "-x2", "-s2", "-k1M", "--file-allocation=none", "--allow-overwrite=true",
                                "-d", work, "-o", "out.spk", base + "/slow/limited.spk"], out)
        print("2. %d MiB at %s per connection: one %.1f MiB/s, two %.1f MiB/s: ratio %.2f (target >= 1.8)"
              % (limited, args.rate, limited / one, limited / two, one / two))
        print("   aria2c -x2 -s2 -k1M %.1f MiB/s: dnf-fetch two connections ratio %.2f (target >= 0.95)"
              % (limited / aria, aria / two))

        peak = peak_memory_kib([fetch, base + "/files/big.spk", out, "--connections", "2"], out)
        print("3. peak resident memory of dnf-fetch for %d MiB: %.1f MiB (target < 32)" % (mib, peak / 1024))
    finally:
        if nginx:
            loopback_servers.stop_process(nginx)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
