#!/bin/bash
# Installs what building, running and testing need on Debian 12; skips what
# is there already, so a warm machine does not wait.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev pkg-config qt6-base-dev libgtest-dev
          iproute2 util-linux procps python3 xvfb xauth x11-apps xdotool imagemagick lighttpd
          fonts-dejavu-core coreutils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
