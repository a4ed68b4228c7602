#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Whether the random numbers hold where the band is narrower than the
board's own flaw: below +-0.0003 a fault of the generator would show as
surely as the pixels' does.  bench/generator.cpp, the program's own
sampling with nothing drawn, is built twice: by Emscripten for Node, with
the page's rand, and natively, with the desktop's (glibc's).  Each runs
over many seeds, and the table says, at each count, how many runs the band
about 3.1419 holds (about 95 in 100, it promises), how many can tell their
estimate from pi (pi outside their own band: all, from 10^9 on), and how
far the runs' mean and spread are from what chance alone gives.

    bench/generator.py DIR [--quick]

DIR holds the two builds.  Some 30 minutes of one core, shared over two;
--quick takes a tenth of the runs, for a try.
"""
import concurrent.futures
import math
import os
import subprocess
import sys

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCES = [os.path.join(TOP, "src", "sampling.cpp"), os.path.join(TOP, "bench", "generator.cpp")]
# The board's pixels whose centre is inside the circle, of 400 x 400.
INSIDE, PIXELS = 125676, 160000
SHARE = INSIDE / PIXELS
SETTLES = 4 * SHARE
SIGMA = 4 * math.sqrt(SHARE * (1 - SHARE))  # one sample's; the band is two of them over sqrt(n)
WITHIN = math.erf(2 / math.sqrt(2))  # 0.9545: the band's promise
# Runs per generator: (seeds, samples each run goes to); every run is read at
# 10^8 and each tenfold after, up to its own end.
PAGE = [(8, 10 ** 10), (22, 10 ** 9), (70, 10 ** 8)]
DESKTOP = [(20, 10 ** 9)]
SPREAD = 2654435761  # seeds spread over the 32 bits srand takes, as the clock's are


def build(folder):
    os.makedirs(folder, exist_ok=True)
    node = os.path.join(folder, "generator.js")
    native = os.path.join(folder, "generator")
    common = ["-std=c++20", "-O2", "-Wall", "-Wextra", "-Wpedantic", "-I" + os.path.join(TOP, "src")]
    # Node as Debian has it; the one file, as Emscripten 3.1.6 cannot have
    # Node 20 fetch a file beside it.
    subprocess.run(["em++", *common, "-sENVIRONMENT=node", "-sSINGLE_FILE", *SOURCES, "-o", node], check=True,
                   env=dict(os.environ, NODE_PATH="/usr/share/nodejs"))
    sdl = subprocess.run(["pkg-config", "--cflags", "sdl"], check=True, capture_output=True, text=True).stdout.split()
    subprocess.run(["g++", *common, *sdl, *SOURCES, "-o", native], check=True)
    return {"the page's: Emscripten's rand in Node": ["/usr/bin/node", node], "the desktop's: glibc's rand": [native]}


def run(command, seed, most):
    done = subprocess.run(command + [str(seed), str(most)], check=True, capture_output=True, text=True)
    return [tuple(int(field) for field in line.split()[1:]) for line in done.stdout.splitlines()]


def binomial_low(n, p, tail=0.005):
    """The least count k of n with P(X < k) <= tail for X ~ Binomial(n, p)."""
    below = 0.0
    for k in range(n + 1):
        chance = math.comb(n, k) * p ** k * (1 - p) ** (n - k)
        if below + chance > tail:
            return k
        below += chance
    return n


def table(name, readings):
    for samples in sorted(readings):
        found = readings[samples]
        half = 2 * SIGMA / math.sqrt(samples)
        offsets = [4 * inside / samples - SETTLES for inside in found]
        within = sum(abs(offset) <= half for offset in offsets)
        telling = sum(abs(offset + SETTLES - math.pi) > half for offset in offsets)
        mean = sum(offsets) / len(offsets)
        spread = math.sqrt(sum((o - mean) ** 2 for o in offsets) / max(1, len(offsets) - 1)) / (half / 2)
        low = binomial_low(len(found), WITHIN)
        pi_out = half < abs(math.pi - SETTLES)
        met = within >= low and (not pi_out or samples < 10 ** 9 or telling == len(found))
        print("| %-38s | %6.0e | %4d | %4d (>= %4d) | %6d | %+.7f (%+5.2f) | %5.2f | %-4s |" % (
            name, samples, len(found), within, low, telling, mean, mean / (half / 2) * math.sqrt(len(found)),
            spread if len(found) > 1 else float("nan"), "met" if met else "MISS"))


def main():
    folder = sys.argv[1]
    quick = "--quick" in sys.argv[2:]
    commands = build(folder)
    plans = {name: plan for name, plan in zip(commands, (PAGE, DESKTOP))}
    print("| %-38s | %6s | %4s | %-14s | %6s | %-20s | %5s | %-4s |" % (
        "generator", "count", "runs", "in the band", "pi out", "mean off 3.1419 (z)", "sprd", ""))
    print("|%s|%s|%s|%s|%s|%s|%s|%s|" % ("-" * 40, "-" * 8, "-" * 6, "-" * 16, "-" * 8, "-" * 22, "-" * 7, "-" * 6))
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        for name, command in commands.items():
            jobs, seed = [], 0
            for seeds, most in plans[name]:
                for _ in range(max(1, seeds // 10) if quick else seeds):
                    seed += 1
                    jobs.append(pool.submit(run, command, seed * SPREAD % 2 ** 32, most))
            readings = {}
            for job in jobs:
                for samples, inside in job.result():
                    readings.setdefault(samples, []).append(inside)
            table(name, readings)
    print("\nin the band: runs within 3.1419 +- 2 sigma / sqrt(n), with the least count a fair generator gives"
          " 199 times in 200; pi out: runs whose own band leaves pi outside; z: the runs' mean offset in standard"
          " errors of that mean; sprd: the runs' spread over chance's (1 for a fair generator)")


if __name__ == "__main__":
    main()
