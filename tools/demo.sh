#!/bin/bash
# The program against two fake appliances in a private network lab: one at
# 192.168.1.20 on the workstation's subnet and one at 192.168.2.20, another
# subnet on the same segment (user admin, password admin on both). Installs
# what is missing, builds the program (not its tests), and runs
# build/q70config on your display; with no display it starts a virtual one
# (Xvfb). Closing the program ends the demo and removes the lab.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

if [ "$(id -u)" != 0 ] && command -v sudo >/dev/null; then
  # Root needs the display's credentials, and a Wayland socket by its full path.
  if [ -n "${DISPLAY:-}" ]; then export XAUTHORITY="${XAUTHORITY:-$HOME/.Xauthority}"; fi
  if [ -n "${WAYLAND_DISPLAY:-}" ] && [ "${WAYLAND_DISPLAY#/}" = "$WAYLAND_DISPLAY" ]; then
    export WAYLAND_DISPLAY="${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/$WAYLAND_DISPLAY"
  fi
  exec sudo --preserve-env=DISPLAY,WAYLAND_DISPLAY,XAUTHORITY bash "$0" "$@"
fi

# Only what the demo runs: Xvfb when there is no display, Qt's Wayland
# plugin when Wayland is the only one.
extra=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then extra+=(xvfb); fi
if [ -n "${WAYLAND_DISPLAY:-}" ] && [ -z "${DISPLAY:-}" ]; then extra+=(qt6-wayland); fi
tools/install-deps.sh demo "${extra[@]}"
tools/build.sh --program-only build

xvfb_pid=""
runtime=$(mktemp -d)
chmod 700 "$runtime"
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  n=57
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
  export DISPLAY=":$n"
  echo "No display was given (DISPLAY, WAYLAND_DISPLAY): the program runs on the virtual"
  echo "display :$n (Xvfb). Look at it with (package imagemagick):"
  echo "  DISPLAY=:$n import -window root shot.png"
fi

case "${DISPLAY:-}" in
  ""|:*|unix/*|/*) ;;
  *) echo "Note: DISPLAY=$DISPLAY is reached over TCP, which the lab's private network cannot do;"
     echo "use a local display, or none for a virtual one." ;;
esac

# The program reads an optional "language" file from its working directory.
workdir="$repo/build/demo"
mkdir -p "$workdir"
echo "Fake appliances: 192.168.1.20 (Q70-OFFICE) and 192.168.2.20 (Q70-ARCHIVE, other subnet);"
echo "user admin, password admin. Close the program to end the demo."
cd "$workdir"
XDG_RUNTIME_DIR="$runtime" "$repo/tools/lab/with-appliances.sh" \
  --appliance nas1=192.168.1.20/24 --appliance nas2=192.168.2.20/24 \
  --sim-args "nas1=--disk-name Q70-OFFICE --firmware 2.4.17" \
  --sim-args "nas2=--disk-name Q70-ARCHIVE --group STORAGE --firmware 2.3.9" \
  -- "$repo/build/q70config"
