#!/usr/bin/env bash
# Builds the soak (folder build) and runs it: eight devices on simulated units under a storm of
# CHANGES random changes (default 100000) while units are unplugged and replugged, then every
# unit is compared with its record. Further arguments go to the soak (--units N, --seed S).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target ddstarn_soak
changes="${1:-100000}"
shift || true
exec build/tools/ddstarn_soak "$changes" "$@"
