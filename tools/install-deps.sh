#!/bin/bash
# Installs what building, running and testing need on Debian 12; skips what
# is there already, so a warm machine does not wait.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev pkg-config qt6-base-dev libgtest-dev
          iproute2 util-linux procps python3 xvfb xauth x11-apps xdotool imagemagick lighttpd
          fonts-dejavu-core coreutils
          samba smbclient gvfs gvfs-backends gvfs-fuse dbus libglib2.0-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
echo "Installing: ${missing[*]}"

# --- File server packages (drive-connection lab) ---
# The lab runs its own smbd inside a namespace; the packages' services must
# neither start during the install nor stay enabled after it.
policy=/usr/sbin/policy-rc.d
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
  $SUDO chmod 755 "$policy"
  trap '$SUDO rm -f "$policy"' EXIT
fi
quiet_file_server() {
  for service in smbd nmbd samba-ad-dc winbind; do
    $SUDO systemctl disable --now "$service" >/dev/null 2>&1 || $SUDO systemctl disable "$service" >/dev/null 2>&1 || true
  done
}
# --- end of the file server block ---

$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
quiet_file_server
