#!/usr/bin/env bash
# Builds Talvane and starts it from the build's program folder. Arguments go to the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVANE_BUILD_TESTS=OFF
cmake --build build/release -j "$(nproc)" --target talvane talvane_data
exec build/release/program/talvane "$@"
