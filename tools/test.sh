#!/usr/bin/env bash
# Builds everything and runs every test: first with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the threaded tests again with ThreadSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
tools/install-deps.sh
jobs=$(nproc)

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALVANE_SANITIZE=address \
    -DTALVANE_BUILD_BENCHMARKS=OFF
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/asan --output-on-failure -j "$jobs"

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALVANE_SANITIZE=thread \
    -DTALVANE_BUILD_BENCHMARKS=OFF
cmake --build build/tsan -j "$jobs"
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --test-dir build/tsan --output-on-failure -L threaded -j "$jobs"
