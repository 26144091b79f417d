#!/bin/bash
# The Windows build of everything without windows (core and its unit tests),
# cross-compiled with MinGW-w64 into build-windows and tested under wine:
#   bash tools/test-windows.sh [ctest options...]
# Installs the cross compiler and wine when missing (not in the test list of
# tools/install-deps.sh: this check is optional). Wine and its sockets run in
# a private network namespace with loopback only (tools/lab/isolated).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" != 0 ] && command -v sudo >/dev/null; then exec sudo -E bash "$0" "$@"; fi
tools/install-deps.sh test g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
tools/build.sh build-windows -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
  -DQ70_GUI=OFF -DQ70_BENCH=OFF "${launcher[@]}"

# The expected ANSI code page (1252) follows the locale under wine.
export LC_ALL=C.UTF-8
export Q70_WINEPREFIX="${Q70_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/q70config-wine}"
mkdir -p "$Q70_WINEPREFIX"
# One run per prefix at a time: a second one would share (and end) its wineserver.
exec 8>"$Q70_WINEPREFIX.lock"
flock 8
# Wine is started once, its output discarded, before the tests: otherwise each
# test pays for the start and one whose output is a pipe may hang. The tests
# run one by one, as several of them serve on port 80 of the one loopback.
status=0
tools/lab/isolated bash -c '
  tools/wine-run --server -p
  tools/wine-run wineboot </dev/null >/dev/null 2>&1
  status=0
  ctest --test-dir build-windows --output-on-failure --timeout 300 "$@" || status=$?
  tools/wine-run --server -k
  exit $status' isolated "$@" || status=$?

# The adapter list once more, in a namespace with two addresses on one end of
# a veth pair whose other end is there too (so nothing can leave it).
if [ $# -eq 0 ]; then
  tools/lab/isolated bash -c '
    ip link add q70a type veth peer name q70b
    ip addr add 192.168.77.5/24 dev q70a
    ip addr add 10.1.2.3/16 dev q70a
    ip link set q70a up && ip link set q70b up
    tools/wine-run --server -p
    tools/wine-run wineboot </dev/null >/dev/null 2>&1
    status=0
    Q70_LOCAL_ADDRESSES=192.168.77.5/255.255.255.0,10.1.2.3/255.255.0.0 \
      ctest --test-dir build-windows --output-on-failure --timeout 60 -R "^unit_LocalAddresses$" || status=$?
    tools/wine-run --server -k
    exit $status' || status=$?
fi
exit $status
