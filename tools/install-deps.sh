#!/bin/bash
# Installs what one job needs on Debian 12; skips what is there already, so a
# warm machine does not wait.
#
#   tools/install-deps.sh demo [PACKAGE...]   building and running the program in the lab
#   tools/install-deps.sh test [PACKAGE...]   that, plus everything the tests use (the default)
#
# No package's service is started while installing, and any service that the
# install leaves enabled or running (a web server, say) is disabled and
# stopped again; the script fails if one is still enabled or running at the end.
set -euo pipefail
demo_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libglib2.0-dev fonts-dejavu-core
               iproute2 util-linux procps python3)
test_packages=("${demo_packages[@]}" clang libclang-rt-14-dev libgtest-dev coreutils
               xvfb xauth x11-apps xdotool xclip imagemagick lighttpd
               dpkg-dev desktop-file-utils debootstrap
               samba smbclient gvfs gvfs-backends gvfs-fuse dbus libglib2.0-dev)

job="${1:-test}"
[ $# -eq 0 ] || shift
case "$job" in
  demo) packages=("${demo_packages[@]}" "$@") ;;
  test) packages=("${test_packages[@]}" "$@") ;;
  *) echo "usage: $0 demo|test [PACKAGE...]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo

systemd_runs() { [ "$(ps -p 1 -o comm= 2>/dev/null)" = systemd ]; }

# One line per service that would start at boot ("enabled NAME") or runs now
# ("running NAME"). Without systemd as process 1 the init scripts are asked.
services() {
  if command -v systemctl >/dev/null; then
    systemctl list-unit-files --state=enabled --type=service,socket --no-legend 2>/dev/null |
      awk '$1 !~ /@\./ {print "enabled", $1}'
  fi
  for link in /etc/rc[2-5].d/S*; do
    [ -e "$link" ] && echo "enabled ${link##*/S[0-9][0-9]}"
  done
  if systemd_runs; then
    systemctl list-units --state=running,listening --type=service,socket --no-legend --plain |
      awk '{print "running", $1}'
  else
    for script in /etc/init.d/*; do
      [ -x "$script" ] && timeout 10 "$script" status >/dev/null 2>&1 && echo "running ${script##*/}"
    done
  fi
  return 0
}

# Every service start during the install is refused (invoke-rc.d and
# deb-systemd-invoke ask this file), unless the machine has its own policy.
policy=/usr/sbin/policy-rc.d
own_policy=""
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
  $SUDO chmod 755 "$policy"
  own_policy=1
fi
remove_policy() { [ -z "$own_policy" ] || $SUDO rm -f "$policy"; }
trap remove_policy EXIT

before=$(services | sort -u)
echo "Installing: ${missing[*]}"


$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"

# Postinst scripts still enable their services for the next boot.
quiet() {
  local state="$1" name="$2"
  case "$state:$name" in
    enabled:*.service|enabled:*.socket) $SUDO systemctl disable --quiet "$name" || true ;;
    enabled:*) $SUDO update-rc.d "$name" disable >/dev/null 2>&1 || true ;;
    running:*) if systemd_runs; then $SUDO systemctl stop "$name" || true
               else $SUDO "/etc/init.d/$name" stop >/dev/null 2>&1 || true; fi ;;
  esac
}
while read -r state name; do
  [ -z "$state" ] || quiet "$state" "$name"
done < <(comm -13 <(echo "$before") <(services | sort -u))

left=$(comm -13 <(echo "$before") <(services | sort -u))
if [ -n "$left" ]; then
  echo "The install left services enabled or running:" >&2
  echo "$left" >&2
  exit 1
fi
