#!/bin/bash
# The Windows build, cross-compiled for 64-bit Windows with MinGW-w64 and
# tested under wine:
#   bash tools/test-windows.sh [ctest options...]          the whole program
#   bash tools/test-windows.sh --core [ctest options...]   the core only
# The whole program (build-windows): Qt comes from tools/build-qt-windows.sh
# (built once into a cache folder, a long build the first time); it builds
# q70config.exe (one file, everything linked in) and the tests, runs the unit
# and GUI tests (offscreen) under wine, packs the zip
# (build-windows/q70config-<version>-win64.zip), and starts the zip's
# q70config.exe under wine on a virtual display in a lab with a fake
# appliance: search, login, management window, whose picture goes to
# build-windows/windows-status-tab.png.
# The core (build-windows-core): the core and its unit tests, no Qt.
# Extra arguments go to ctest and leave out the runs after it.
# Installs the cross compiler and wine when missing (not part of
# tools/install-deps.sh: this check is optional). Wine and its sockets run in
# private network namespaces only (tools/lab/isolated, tools/lab/lab.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" != 0 ] && command -v sudo >/dev/null; then exec sudo -E bash "$0" "$@"; fi
whole=1
if [ "${1:-}" = --core ]; then whole=0; shift; fi
tools/install-deps.sh test g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 unzip

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ $whole = 1 ]; then
  qt=$(bash tools/build-qt-windows.sh | tail -n 1)
  build=build-windows
  # Qt's toolchain file adds the Qt folder and the host's tools, then loads ours.
  toolchain="$qt/lib/cmake/Qt6/qt.toolchain.cmake"
  options=(-DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake")
else
  build=build-windows-core
  toolchain="$PWD/cmake/mingw-w64.cmake"
  options=(-DQ70_GUI=OFF)
fi
# A build folder keeps the toolchain it was first configured with.
if [ -f "$build/CMakeCache.txt" ] &&
   ! grep -qxF "CMAKE_TOOLCHAIN_FILE:FILEPATH=$toolchain" "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi
tools/build.sh "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${options[@]}" -DQ70_BENCH=OFF "${launcher[@]}"

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
  build=$1; shift
  tools/wine-run --server -p
  tools/wine-run wineboot </dev/null >/dev/null 2>&1
  status=0
  ctest --test-dir "$build" --output-on-failure --timeout 300 "$@" || status=$?
  tools/wine-run --server -k
  exit $status' isolated "$build" "$@" || status=$?
[ $# -eq 0 ] || exit $status

# The adapter list once more, in a namespace with two addresses on one end of
# a veth pair whose other end is there too (so nothing can leave it).
tools/lab/isolated bash -c '
  ip link add q70a type veth peer name q70b
  ip addr add 192.168.77.5/24 dev q70a
  ip addr add 10.1.2.3/16 dev q70a
  ip link set q70a up && ip link set q70b up
  tools/wine-run --server -p
  tools/wine-run wineboot </dev/null >/dev/null 2>&1
  status=0
  Q70_LOCAL_ADDRESSES=192.168.77.5/255.255.255.0,10.1.2.3/255.255.0.0 \
    ctest --test-dir "$1" --output-on-failure --timeout 60 -R "^unit_LocalAddresses$" || status=$?
  tools/wine-run --server -k
  exit $status' isolated "$build" || status=$?
[ $whole = 1 ] || exit $status

# The zip, and the program in it as a user gets it.
rm -f "$build"/q70config-*-win64.zip
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/q70config-*-win64.zip)
rm -rf "$build/unpacked" && mkdir "$build/unpacked"
unzip -q "$zip" -d "$build/unpacked"
echo "Packed $zip:"
unzip -l "$zip" | sed -n '4,$p' | head -n -2
exe=$(ls "$build"/unpacked/*/q70config.exe)
tools/lab/with-appliances.sh --appliance nas1=192.168.1.20/24 \
  --sim-args "nas1=--disk-name Q70-OFFICE" -- \
  /usr/bin/python3 tests/lab/test_windows_program.py "$exe" "$PWD/$build/windows-status-tab.png" || status=$?
exit $status
