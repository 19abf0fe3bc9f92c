#!/usr/bin/env python3
"""Start-up time and resident memory of the battery against a bare Qt Widgets
program (bench_bare), as whole processes, offscreen.
Usage: bench/startup.py BUILD_DIR [RUNS]"""
import os
import statistics
import subprocess
import sys
import time

build = sys.argv[1] if len(sys.argv) > 1 else "build"
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
battery = os.path.join(build, "bench_startup")
bare = os.path.join(build, "bench_bare")
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")


def measure(*command):
    times, rss = [], []
    for _ in range(runs):
        began = time.perf_counter()
        out = subprocess.run(list(command), env=env, capture_output=True, text=True, check=True).stdout
        times.append((time.perf_counter() - began) * 1000)
        rss.append(int(out.split()[1]) / 1024)
    return statistics.median(times), statistics.median(rss)


bare_ms, bare_mb = measure(bare)
first_ms, first_mb = measure(battery)
all_ms, all_mb = measure(battery, "all")
print(f"bare Qt Widgets program: {bare_ms:6.1f} ms  {bare_mb:5.1f} MB")
print(f"battery, first window:   {first_ms:6.1f} ms  {first_mb:5.1f} MB  ({first_ms / bare_ms:.2f} x time)")
print(f"battery, twelve windows: {all_ms:6.1f} ms  {all_mb:5.1f} MB  ({all_mb / bare_mb:.2f} x memory)")
