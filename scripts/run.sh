#!/usr/bin/env bash
# Builds the program and starts it with one simulated generator (DDSTARN_SIM_UNITS overrides).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target DDSTarnUSB
export DDSTARN_SIM_UNITS="${DDSTARN_SIM_UNITS:-1}"
exec build/app/DDSTarnUSB "$@"
