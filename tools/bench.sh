#!/usr/bin/env bash
# Builds the benchmarks in release mode and prints their figures.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALVANE_BUILD_TESTS=OFF
cmake --build build/release -j "$(nproc)"
for bench in build/release/bench/*; do
    [ -x "$bench" ] && "$bench" --benchmark_counters_tabular=true
done
