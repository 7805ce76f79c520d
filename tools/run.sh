#!/usr/bin/env bash
# Builds Talvane and starts it from the build's program folder. Arguments go to the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVANE_BUILD_TESTS=OFF
cmake --build build/release -j "$(nproc)" --target talvane talvane-virtual-mouse talvane_data talvane_skin
# Without an attached mouse of the family (vendor 0x3434), a virtual one stands in.
if [ $# -eq 0 ] && ! grep -qis 'HID_ID=.*:00003434:' /sys/class/hidraw/*/device/uevent; then
    set -- --virtual-mouse
fi
exec build/release/program/talvane "$@"
