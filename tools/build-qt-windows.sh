#!/bin/bash
# Builds the Qt the Windows program links: a static, release Qt 6 for 64-bit
# MinGW-w64 (posix threads) with Core, Gui, Widgets and Test and the windows
# and offscreen platforms, from Debian's own qt6-base source package of the
# same version as the host's Qt 6 tools (whose moc, uic and rcc it uses).
#   bash tools/build-qt-windows.sh     prints the Qt folder on its last line
# It is built once into a cache folder outside the checkout, named after the
# Qt version and the compiler, e.g.
#   /var/cache/q70config/qt-6.4.2-mingw-w64-posix-gcc12
# and reused while it is complete and was configured the same way. Set
# Q70_QT_CACHE for another parent folder, Q70_QT_JOBS for another job count.
# The install is not relocatable (its prefix and the toolchain file's path
# are written into it); the toolchain file lives in the cache folder too.
# The build runs at the lowest priority and takes a while (see the README).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" != 0 ] && command -v sudo >/dev/null; then exec sudo -E bash "$0" "$@"; fi

packages=(qt6-base-dev qt6-base-dev-tools cmake ninja-build perl dpkg-dev xz-utils
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  apt-get update -q >&2
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
fi

# The source must be the host tools' version: moc and uic of another
# version write code the libraries do not accept.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)      # 6.4.2+dfsg-10
upstream=${version%%[+-]*}                                          # 6.4.2
gcc_major=$(x86_64-w64-mingw32-gcc-posix -dumpversion | sed 's/[^0-9].*//')       # 12 (of 12-posix)
cache="${Q70_QT_CACHE:-/var/cache/q70config}/qt-$upstream-mingw-w64-posix-gcc$gcc_major"
prefix="$cache/qt"
toolchain="$cache/mingw-w64-posix.cmake"

# Only what the program and its tests use. Not in Debian's +dfsg source:
# wintab.h (hence no tablet events) and sqlite. Without direct2d1_1 only the
# separate direct2d platform plugin goes; the windows plugin still needs
# Qt Gui's DirectWrite font database, so direct2d itself stays.
options=(-xplatform win32-g++ -static -release -qt-host-path /usr
  -nomake examples -nomake tests
  -no-opengl -no-dbus -no-icu -no-glib -no-vulkan
  -qt-zlib -qt-libpng -qt-pcre -qt-freetype -qt-harfbuzz -qt-doubleconversion -no-libjpeg
  -no-feature-network -no-feature-sql -no-feature-printsupport -no-feature-concurrent
  -no-feature-xml -no-feature-tabletevent -no-feature-direct2d1_1)
stamp="qt6-base $version; x86_64-w64-mingw32-gcc-posix $(x86_64-w64-mingw32-gcc-posix -dumpversion); ${options[*]}"

mkdir -p "$(dirname "$cache")"
# One build at a time; a second caller waits and then finds it done.
exec 9>"$cache.lock"
flock 9
if [ -f "$cache/complete" ] && [ "$(cat "$cache/complete")" = "$stamp" ]; then
  echo "$prefix"
  exit 0
fi

started=$(date +%s)
renice -n 19 -p $$ >/dev/null
rm -rf "$cache"
mkdir -p "$cache"
work=$(mktemp -d /var/tmp/q70-qt-build.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The source comes through a private apt configuration that lists the
# machine's own mirrors for source packages; the machine's sources, lists
# and caches stay as they are.
mkdir -p "$work/apt/sources.list.d" "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
: >"$work/apt/sources.list"
for f in /etc/apt/sources.list.d/*.sources; do
  if [ -f "$f" ]; then sed 's/^Types:.*/Types: deb-src/' "$f" >"$work/apt/sources.list.d/$(basename "$f")"; fi
done
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  if [ -f "$f" ]; then sed -n 's/^deb[[:space:]]/deb-src /p' "$f" >>"$work/apt/sources.list"; fi
done
apt=(apt-get -q -o Dir::Etc::sourcelist="$work/apt/sources.list"
     -o Dir::Etc::sourceparts="$work/apt/sources.list.d" -o Dir::State::Lists="$work/apt/lists"
     -o Dir::Cache="$work/apt/cache" -o APT::Sandbox::User=root)
"${apt[@]}" update >&2
(cd "$work" && "${apt[@]}" source --download-only "qt6-base=$version" >&2)
(cd "$work" && dpkg-source -x qt6-base_*.dsc src >&2)
fetched=$(date +%s)

cat >"$toolchain" <<'EOF'
# 64-bit Windows with MinGW-w64, posix threads (for std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-ar CACHE FILEPATH "")
set(CMAKE_RANLIB x86_64-w64-mingw32-ranlib CACHE FILEPATH "")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

mkdir "$work/build"
(cd "$work/build" && "$work/src/configure" -prefix "$prefix" "${options[@]}" \
   -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
   -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$cache/configure.log" 2>&1) || {
  tail -40 "$cache/configure.log" >&2; exit 1; }
ninja -C "$work/build" -j "${Q70_QT_JOBS:-2}" >"$cache/build.log" 2>&1 || {
  tail -40 "$cache/build.log" >&2; exit 1; }
cmake --install "$work/build" >>"$cache/build.log" 2>&1
finished=$(date +%s)
times >"$work/times"  # not in a subshell, which has no children of its own
cpu=$(tail -n 1 "$work/times")
printf 'fetch and unpack %ss, configure and build %ss, whole %ss (%s jobs, %s cores; processor time of the build: user %s, system %s)\n' \
  $((fetched - started)) $((finished - fetched)) $((finished - started)) "${Q70_QT_JOBS:-2}" "$(nproc)" $cpu \
  | tee "$cache/build-time" >&2
echo "$stamp" >"$cache/complete"
echo "$prefix"
