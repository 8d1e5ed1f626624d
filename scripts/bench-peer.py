#!/usr/bin/env python3
"""TAVO's chain against calf Saturator, the peer its speed targets are set against, in rounds that
alternate the two within one run, so that whatever else the machine does falls on both alike:
each round runs `Chain/Stereo/Drive:5` and `Chain/Mono/Drive:5` on the AVX2 build of the kernels,
then on the SSE2 build, then lv2bench on calf Saturator at the same block of 32 frames. The
medians of the rounds are the figures the targets are judged by; bench-summary.py prints them.

Usage: bench-peer.py BUILD_DIR [OUT_JSON] [ROUNDS]
"""
import json
import os
import statistics
import subprocess
import sys

CALF = "http://calf.sourceforge.net/plugins/Saturator"
BLOCK = 32
FRAMES = 44100 * 30
CHAIN = "^Chain/(Stereo|Mono)/Drive:5$"


def chain(build, simd):
    """ns per frame of each chain benchmark, one run on the given build of the kernels."""
    done = subprocess.run([os.path.join(build, "bench", "tavo_bench"), f"--benchmark_filter={CHAIN}",
                           "--benchmark_format=json"], env=dict(os.environ, TAVO_SIMD=simd),
                          capture_output=True, text=True, check=True)
    runs = json.loads(done.stdout)["benchmarks"]
    return {b["name"]: (b["ns_per_frame"], b.get("label", simd)) for b in runs}


def calf():
    """calf Saturator's ns per stereo frame from one lv2bench run; None when it cannot run."""
    try:
        done = subprocess.run(["lv2bench", "-b", str(BLOCK), "-n", str(FRAMES), CALF],
                              capture_output=True, text=True)
    except FileNotFoundError:
        return None
    for line in done.stdout.splitlines():
        fields = line.split()
        if len(fields) == 2 and fields[1] == CALF:
            return float(fields[0]) * 1e9 / FRAMES
    return None


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = sys.argv[1]
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join("build", "bench-peer.json")
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    samples = {}  # "<simd> <benchmark>" or "calf" -> ns per frame of each round
    labels = {}
    for r in range(rounds):
        for simd in ("avx2", "sse2"):
            for name, (ns, label) in chain(build, simd).items():
                samples.setdefault(f"{simd} {name}", []).append(ns)
                labels[f"{simd} {name}"] = label
        peer = calf()
        if peer is not None:
            samples.setdefault("calf", []).append(peer)
        print(f"  round {r + 1} of {rounds}: " + ", ".join(
            f"{key} {values[-1]:.1f}" for key, values in samples.items()), flush=True)
    medians = {key: statistics.median(values) for key, values in samples.items()}
    with open(out, "w") as f:
        json.dump({"rounds": rounds, "block": BLOCK, "medians": medians, "labels": labels,
                   "samples": samples}, f, indent=2)


if __name__ == "__main__":
    main()
