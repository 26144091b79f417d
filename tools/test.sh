#!/bin/bash
# Every test: installs what is missing, builds, runs the unit, GUI and lab
# tests, a short run of every fuzz target, the unit and GUI tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the whole
# program cross-built for Windows (its Qt built once into a cache folder) and
# tested under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" != 0 ] && command -v sudo >/dev/null; then exec sudo -E bash "$0" "$@"; fi
tools/install-deps.sh
export XDG_RUNTIME_DIR=$(mktemp -d) && chmod 700 "$XDG_RUNTIME_DIR"

tools/build.sh build
ctest --test-dir build --output-on-failure -j 2

tools/build.sh build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DQ70_FUZZ=ON -DQ70_GUI=OFF -DQ70_BENCH=OFF
ctest --test-dir build-fuzz --output-on-failure -j 2

tools/build.sh build-asan -DQ70_SANITIZE=ON -DQ70_BENCH=OFF
ctest --test-dir build-asan --output-on-failure -j 2 -L 'unit|gui'

bash tools/test-windows.sh
