#!/usr/bin/env bash
# Builds the benchmarks (Release, folder build-bench) and runs them. The engine's download
# buffers are timed next to the same buffers built with numpy in the same run, and device
# workers on idle simulated units next to threads that only sleep; then the display frame,
# whole-program start-up and the typed-frequency latency.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DDDSTARN_GUI=ON -DDDSTARN_BENCH=ON >/dev/null
cmake --build build-bench -j "$(nproc)" --target engine_bench DisplayFrameBench AppStartupBench ViewLatency \
  RemoteRoundTrip RemoteLoad ScaleDevices

python=/usr/bin/python3 # Debian's interpreter, which has python3-numpy
[ -x "$python" ] || python=python3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "== Engine benchmarks"
build-bench/bench/engine_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$out/engine.json" --benchmark_out_format=json
echo "== numpy peer"
"$python" bench/numpy_peer.py >"$out/numpy.json"

"$python" - "$out/engine.json" "$out/numpy.json" <<'PY'
import json, math, sys

engine = json.load(open(sys.argv[1]))["benchmarks"]
peer = json.load(open(sys.argv[2]))
names = ["Sine", "Ramp", "Square", "Exponent", "Arb", "Trapezia", "AM", "GaussNoise",
         "WhiteNoise"]

def median(prefix, field):
    for b in engine:
        if b["name"].startswith(prefix + "/") and b["name"].endswith("_median"):
            return b[field]
    raise SystemExit("missing " + prefix)

print()
print("Download buffer, 4096 codes (CPU time per buffer, median)")
print(f"{'wave':<11} {'C++ us':>8} {'numpy us':>9} {'numpy/C++':>10}")
ratios = []
for i, name in enumerate(names):
    cpp = median(f"BM_Waveform/{i}", "cpu_time")  # microseconds
    ratio = peer[name] / cpp
    ratios.append(ratio)
    print(f"{name:<11} {cpp:>8.2f} {peer[name]:>9.2f} {ratio:>9.2f}x")
geomean = math.exp(sum(map(math.log, ratios)) / len(ratios))
print(f"{'geo. mean':<11} {'':>8} {'':>9} {geomean:>9.2f}x")
print(f"slowest ratio {min(ratios):.2f}x (goal: every wave >= 1x, geometric mean >= 3x)")

print()
print("Idle cost (process CPU ms per wall second, median of runs)")
print(f"{'threads':<8} {'workers':>8} {'sleep loop':>11} {'ratio':>6}")
for n in (1, 4, 16):
    name = f"BM_IdleCost/{n}"
    workers = median(name, "workers_cpu_ms_per_s")
    bare = median(name, "sleep_cpu_ms_per_s")
    print(f"{n:<8} {workers:>8.2f} {bare:>11.2f} {median(name, 'ratio'):>5.2f}x")
print("(goal: workers within 1.3x of the sleep loop)")
PY

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$out}"
echo
echo "== Display frame, 700 x 420 (goal: under 1.5 ms, 4096 noisy Arb points under 3 ms)"
build-bench/bench/DisplayFrameBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>&1 |
  grep -E '_median|^Benchmark|^---'
echo
echo "== Start to first window shown and exit (goal: within 3x of the bare window; peak under 60 MB)"
build-bench/bench/AppStartupBench 2>&1 | grep -E '^BM_|^Benchmark|^---'
echo
echo "== Typed frequency to the matching buffer at the unit, 4 devices (goal: p99 under 1 ms)"
build-bench/bench/ViewLatency 2>&1 | grep -vE 'QStandardPaths'
echo
echo "== SCPI round trips on loopback (goals: *IDN? within 3x of the bare echo; SOUR:FREQ;*OPC? p99 under 1 ms)"
build-bench/bench/RemoteRoundTrip 2>&1 | grep -E '^[A-Z]|^---'
echo
echo "== Headless program under load: 14 clients doing SOUR<n>:FREQ f;*OPC?, alone and beside one"
echo "   client flooding queries it never reads and one sending 1 MiB messages (goals: loaded p99"
echo "   under 5 ms; peak memory within 21 MiB of the run alone)"
build-bench/bench/RemoteLoad 2>&1 | grep -v '^SCPI listening'
echo
echo "== Language folder start-up: shipped files against 10,000 files, link loops, junk and 100 MB (goal: ExtraMs under 1000)"
cmake --build build-bench -j "$(nproc)" --target text_bench >/dev/null
build-bench/bench/text_bench 2>&1 | grep -E '^BM_|^Benchmark|^---'
echo
echo "== Whole program idle with 1, 8 and 20 device windows (goals: cpu_ratio within 1.3x of the bare"
echo "   sleep loops, MB_per_added_device under 3, frame_ratio with every window open within 1.2x;"
echo "   qt_floor_ratio: a bare Qt window redrawing one reading every 100 ms beside the same loops)"
build-bench/bench/ScaleDevices --benchmark_report_aggregates_only=true 2>&1 | grep -E '_median|^Benchmark|^---'
