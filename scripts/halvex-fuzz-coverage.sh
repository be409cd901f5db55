#!/bin/sh
# Fuzzes halvex_check_fuzz from its seed corpus for a while (default 300 s), then replays the corpus
# it grew in a build with clang's source-based coverage and reports the line and branch coverage of
# FirmwareCheck and ReaderLink. Usage: sh scripts/halvex-fuzz-coverage.sh [seconds]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-300}
out=build/halvex-fuzz-coverage
seeds=tests/firmware/corpus/halvex_check_fuzz

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target halvex_check_fuzz
# The same fuzz build, plus the coverage instrumentation, in a tree of its own.
cmake -S . -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DKELVANOR_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" >/dev/null
cmake --build "$out/build" --target halvex_check_fuzz

rm -rf "$out/corpus" "$out"/*.prof*
mkdir -p "$out/corpus"
build/fuzz/tests/firmware/halvex_check_fuzz -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
  "$out/corpus" "$seeds" 2>"$out/fuzz.log" || { tail -40 "$out/fuzz.log"; exit 1; }
grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added)' \
  "$out/fuzz.log"
echo "last new coverage: $(grep -E '^#[0-9]+[[:space:]]+(NEW|REDUCE)' "$out/fuzz.log" | tail -1 | cut -c1-60)"

LLVM_PROFILE_FILE="$out/replay.profraw" "$out/build/tests/firmware/halvex_check_fuzz" -runs=0 \
  "$out/corpus" "$seeds" 2>"$out/replay.log"
llvm-profdata-14 merge -sparse "$out/replay.profraw" -o "$out/replay.profdata"
binary="$out/build/tests/firmware/halvex_check_fuzz"
llvm-cov-14 show "$binary" -instr-profile="$out/replay.profdata" -show-branches=count \
  firmware/FirmwareCheck.cpp firmware/ReaderLink.cpp >"$out/coverage.txt"
llvm-cov-14 report "$binary" -instr-profile="$out/replay.profdata" firmware/FirmwareCheck.cpp firmware/ReaderLink.cpp
echo "annotated sources: $out/coverage.txt"
