#!/bin/bash
# Configures and builds one build tree:
#   tools/build.sh DIR [cmake options...]               the program, its tests and benchmarks
#   tools/build.sh --program-only DIR [cmake options...] the program alone
set -euo pipefail
cd "$(dirname "$0")/.."
parts=(-DQ70_TESTS=ON -DQ70_BENCH=ON)
if [ "$1" = --program-only ]; then parts=(-DQ70_TESTS=OFF -DQ70_BENCH=OFF); shift; fi
dir="$1"; shift
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${parts[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
