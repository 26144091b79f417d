#!/bin/bash
# Every test: installs what is missing (failing if an install leaves a
# service enabled or running), builds, runs the unit, GUI and lab tests and
# the package test (the Debian package installed into a clean Debian 12 root
# and started there), a short run of every fuzz target, the unit and GUI
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# core's unit tests cross-built for Windows and run under wine (the whole
# Windows program: bash tools/test-windows.sh, see the README).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" != 0 ] && command -v sudo >/dev/null; then exec sudo -E bash "$0" "$@"; fi
tools/install-deps.sh test
export XDG_RUNTIME_DIR=$(mktemp -d) && chmod 700 "$XDG_RUNTIME_DIR"

tools/build.sh build
ctest --test-dir build --output-on-failure -j 2

tools/build.sh build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DQ70_FUZZ=ON -DQ70_GUI=OFF -DQ70_BENCH=OFF
ctest --test-dir build-fuzz --output-on-failure -j 2

tools/build.sh build-asan -DQ70_SANITIZE=ON -DQ70_BENCH=OFF
ctest --test-dir build-asan --output-on-failure -j 2 -L 'unit|gui'

bash tools/test-windows.sh --core
