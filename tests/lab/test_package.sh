#!/bin/bash
# The Debian package as a user on a fresh Debian 12 gets it: cpack makes it
# from the build tree, apt installs it with the dependencies it names into a
# clean minimal root, and the installed program, started there on a virtual
# display in a private network namespace, shows its discovery window.
#
#   test_package.sh BUILD_DIR
#
# Needs root. The minimal root is made once with debootstrap and kept in
# $Q70_ROOT_CACHE (default /var/tmp/q70config-roots), with the packages apt
# fetched for it; each run installs into a throw-away layer over it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
title="Vantrel Q70 Configuration Utility - Version 1.7.2"
app_id=org.q70config.Q70config
fail() { echo "FAIL: $*" >&2; exit 1; }

# Last step, in a private network and process namespace (tools/lab/isolated)
# and the run's own mount namespace: the installed program on a virtual display.
if [ "${1:-}" = --show ]; then
  root="$2"
  mount -t proc proc "$root/proc"
  exec 3< <(Xvfb -displayfd 4 -nolisten tcp -screen 0 1024x768x24 4>&1 2>/dev/null)
  read -r -t 20 number <&3 || fail "Xvfb did not start"
  mkdir -p "$root/tmp/.X11-unix" "$root/tmp/runtime"
  chmod 700 "$root/tmp/runtime"
  mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root DISPLAY=":$number" XDG_RUNTIME_DIR=/tmp/runtime \
    QT_QPA_PLATFORM=xcb /usr/bin/q70config >"$root/tmp/program.log" 2>&1 &
  program=$!
  for _ in $(seq 1 300); do
    if DISPLAY=":$number" xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; then
      echo "The installed program shows \"$title\"."
      exit 0
    fi
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
  done
  cat "$root/tmp/program.log" >&2
  fail "the installed program showed no discovery window"
fi

# Middle step, in the run's own mount namespace: the clean root as a layer
# over the cached one, and the package installed there as the README says.
if [ "${1:-}" = --install ]; then
  base="$2" archives="$3" work="$4" deb="$5"
  root="$work/root"
  mkdir -p "$work/upper" "$work/layer" "$root"
  mount -t overlay overlay -o "lowerdir=$base,upperdir=$work/upper,workdir=$work/layer" "$root"
  mount --bind /dev "$root/dev"
  mount -t proc proc "$root/proc"
  mount --bind "$archives" "$root/var/cache/apt/archives"
  cp "$deb" "$root/tmp/"
  (
    flock 9
    chroot "$root" env DEBIAN_FRONTEND=noninteractive timeout 600 apt -q -o APT::Keep-Downloaded-Packages=true \
      install -y --no-install-recommends "./tmp/$(basename "$deb")"
  ) 9>"$archives.lock" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt could not install the package"; }
  umount "$root/proc"

  for file in usr/bin/q70config "usr/share/applications/$app_id.desktop" \
              "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
              "usr/share/icons/hicolor/"{16x16,24x24,32x32,48x48,64x64,128x128,256x256}"/apps/$app_id.png"; do
    [ -f "$root/$file" ] || fail "the package installed no /$file"
  done
  exec timeout 120 "$here/../../tools/lab/isolated" bash "$0" --show "$root"
fi

build=$(cd "${1:?usage: test_package.sh BUILD_DIR}" && pwd)
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root (debootstrap, mounts, chroot)"; exit 77; }
for tool in cpack dpkg-shlibdeps debootstrap Xvfb xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is missing (tools/install-deps.sh test)"
done

work=$(mktemp -d /var/tmp/q70config-package.XXXXXX)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack could not make the package"; }
deb=$(echo "$work"/deb/q70config_*.deb)
[ -f "$deb" ] || fail "cpack made no q70config_*.deb"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6; do
  tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -qx "$library" ||
    fail "the package does not depend on $library: $depends"
done

# The minimal root, made once and its package lists brought up to date daily,
# from the same Debian 12 sources as this machine's.
cache="${Q70_ROOT_CACHE:-/var/tmp/q70config-roots}"
base="$cache/bookworm"
mkdir -p "$cache/archives"
(
  flock 9
  if [ ! -e "$base/.complete" ]; then
    rm -rf "$base.new"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      mirror=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources)
    else
      mirror=$(awk '$1 == "deb" {for (i = 2; i <= NF; i++) if ($i ~ /:\/\//) {print $i; exit}}' /etc/apt/sources.list)
    fi
    echo "Making a minimal Debian 12 root in $base (once)"
    timeout 900 debootstrap --variant=minbase bookworm "$base.new" "$mirror" >"$work/debootstrap.log" 2>&1 ||
      { tail -20 "$work/debootstrap.log" >&2; fail "debootstrap failed"; }
    rm -f "$base.new/etc/apt/sources.list"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      cp /etc/apt/sources.list.d/debian.sources "$base.new/etc/apt/sources.list.d/"
    else
      grep -E '^deb\s.*bookworm' /etc/apt/sources.list >"$base.new/etc/apt/sources.list"
    fi
    # A package's service never starts in there.
    printf '#!/bin/sh\nexit 101\n' >"$base.new/usr/sbin/policy-rc.d"
    chmod 755 "$base.new/usr/sbin/policy-rc.d"
    touch "$base.new/.complete"
    mv "$base.new" "$base"
  fi
  if [ -z "$(find "$base/.updated" -mmin -1440 2>/dev/null)" ]; then
    unshare --mount --propagation private sh -c 'mount -t proc proc "$1/proc" && timeout 300 chroot "$1" apt-get -q update' \
      update "$base" >"$work/update.log" 2>&1 || { cat "$work/update.log" >&2; fail "apt-get update failed in the root"; }
    touch "$base/.updated"
  fi
) 9>"$cache/bookworm.lock"

unshare --mount --propagation private bash "$0" --install "$base" "$cache/archives" "$work" "$deb"
