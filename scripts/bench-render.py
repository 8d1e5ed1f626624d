#!/usr/bin/python3
"""Times `tavo-host render` end to end on a 10-minute 44.1 kHz stereo 24-bit WAV (made once by
tavo_bench_wav) and writes the real-time factor to <build>/bench-render.json for
bench-summary.py. The best of three runs counts: other load on the machine only slows a run."""
import json
import os
import resource
import subprocess
import sys
import time

SECONDS = 600
RUNS = 3


def main(build):
    wav = os.path.join(build, "bench", "long-input.wav")
    out = os.path.join(build, "bench", "long-output.wav")
    host = os.path.join(build, "module", "tavo-host")
    if not os.path.exists(wav):
        subprocess.run([os.path.join(build, "bench", "tavo_bench_wav"), wav, str(SECONDS)],
                       check=True)
    times, cpu = [], []
    for _ in range(RUNS):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        subprocess.run([host, "render", wav, "-o", out, "-q"], check=True)
        times.append(time.perf_counter() - start)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu.append(after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime)
    os.remove(out)
    best = min(times)
    # Processor time of both threads together: what the render costs when nothing else runs.
    result = {"audio_seconds": SECONDS, "seconds": best, "runs": times, "cpu_seconds": min(cpu),
              "realtime_x": SECONDS / best}
    with open(os.path.join(os.path.dirname(os.path.abspath(build)), "bench-render.json"), "w") as f:
        json.dump(result, f, indent=1)
    print(f"tavo-host render, {SECONDS // 60}-minute stereo 24-bit WAV: "
          f"{', '.join(f'{t:.2f} s' for t in times)} "
          f"(processor time {', '.join(f'{c:.2f} s' for c in cpu)})")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "build/linux-release")
