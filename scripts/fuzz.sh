#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan) and runs each for
# SECONDS (default 20) on a copy of its seed corpus. Fails when a target finds a crash.
# The build folder is build-fuzz, or $DDSTARN_FUZZ_BUILD. With --minimize after SECONDS, each
# target's corpus in fuzz/corpus/ is replaced by the smallest set of inputs that keeps the
# coverage of the seeds and of what the run found.
set -euo pipefail
seconds=${1:-20}
minimize=${2:-}
cd "$(dirname "$0")/.."
build=${DDSTARN_FUZZ_BUILD:-build-fuzz}
targets=(fuzz_csv_reader fuzz_csv_round_trip fuzz_ini_section fuzz_language_loader fuzz_parse_number
  fuzz_scpi_parser fuzz_scpi_server fuzz_setup_reader fuzz_wave_import fuzz_vxi11_reader)
# DDSTARN_FUZZ_TARGETS="fuzz_a fuzz_b" runs only those.
[ -n "${DDSTARN_FUZZ_TARGETS:-}" ] && read -r -a targets <<<"$DDSTARN_FUZZ_TARGETS"
jobs=$(nproc)
[ "$jobs" -gt 2 ] || jobs=2

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DDDSTARN_FUZZ=ON -DDDSTARN_GUI=OFF -DDDSTARN_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

failed=0
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  corpus="$build/fuzz-corpus/$name"
  artifacts="$build/fuzz-artifacts/$name"
  rm -rf "$corpus"
  mkdir -p "$corpus" "$artifacts"
  cp fuzz/corpus/"$name"/* "$corpus"/
  log="$build/fuzz-$name.log"
  if "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)
    echo "$target: ${runs:-?} executions in ${seconds} s, ${cov:-cov: ?}, corpus $(ls "$corpus" | wc -l) inputs"
    if [ "$minimize" = "--minimize" ]; then
      merged="$build/fuzz-merged/$name"
      rm -rf "$merged" && mkdir -p "$merged"
      "$build/fuzz/$target" -merge=1 "$merged" fuzz/corpus/"$name" "$corpus" >"$log.merge" 2>&1
      rm -f fuzz/corpus/"$name"/* && cp "$merged"/* fuzz/corpus/"$name"/
      echo "  minimised corpus: $(ls fuzz/corpus/"$name" | wc -l) inputs, $(du -sk fuzz/corpus/"$name" | cut -f1) KiB"
    fi
  else
    echo "$target: FAILED (see $log; the input is in $artifacts)"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -5 || true
    failed=1
  fi
done
exit "$failed"
