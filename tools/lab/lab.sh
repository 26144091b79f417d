#!/bin/bash
# An isolated layer-2 segment of network namespaces: one workstation and any
# number of appliances joined by a bridge. Runs one command in the
# workstation and always tears everything down afterwards.
#
#   lab.sh [--ws ADDR/PREFIX] [--host NAME=ADDR/PREFIX ...] [--keep-env] -- COMMAND...
#
# Defaults: --ws 192.168.1.5/24 and no appliance hosts. Inside COMMAND:
#   LAB_PREFIX        the unique prefix of this run's namespaces
#   LAB_NS_<NAME>     the namespace of host NAME (LAB_NS_WS for the workstation)
#   lab-exec NAME CMD runs CMD in host NAME's namespace (a script on PATH)
# Every namespace gets lo up, an on-link default route (so the limited
# broadcast stays on the segment) and rp_filter 0. Without root the whole lab
# lives inside an unprivileged user namespace with a private /run.
set -euo pipefail

if [ "$(id -u)" != 0 ] && [ -z "${LAB_IN_USERNS:-}" ]; then
  export LAB_IN_USERNS=1
  exec unshare --map-root-user --net --mount sh -c \
    'mount -t tmpfs tmpfs /run && mkdir -p /run/netns && exec "$0" "$@"' "$0" "$@"
fi

ws="192.168.1.5/24"
hosts=()
while [ $# -gt 0 ]; do
  case "$1" in
    --ws) ws="$2"; shift 2 ;;
    --host) hosts+=("$2"); shift 2 ;;
    --) shift; break ;;
    *) echo "lab.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] || { echo "lab.sh: no command" >&2; exit 2; }

P="q70lab$$r$RANDOM"
export LAB_PREFIX="$P"
names=()
bindir=$(mktemp -d)

teardown() {
  for ns in "${names[@]}" lan; do
    for pid in $(ip netns pids "$P-$ns" 2>/dev/null); do kill "$pid" 2>/dev/null || true; done
  done
  sleep 0.1
  for ns in "${names[@]}" lan; do
    for pid in $(ip netns pids "$P-$ns" 2>/dev/null); do kill -9 "$pid" 2>/dev/null || true; done
    ip netns del "$P-$ns" 2>/dev/null || true
  done
  rm -rf "$bindir"
}
trap teardown EXIT
trap 'exit 130' INT TERM

ip netns add "$P-lan"
ip -n "$P-lan" link set lo up
ip -n "$P-lan" link add br0 type bridge
ip -n "$P-lan" link set br0 up

add_host() { # name addr/prefix
  local name="$1" addr="$2" i=${#names[@]}
  names+=("$name")
  ip netns add "$P-$name"
  ip -n "$P-$name" link set lo up
  # Created straight into the namespaces: never visible in the machine's own.
  ip link add eth0 netns "$P-$name" type veth peer name "p$i" netns "$P-lan"
  ip -n "$P-lan" link set "p$i" master br0
  ip -n "$P-lan" link set "p$i" up
  ip -n "$P-$name" addr add "$addr" dev eth0
  ip -n "$P-$name" link set eth0 up
  ip -n "$P-$name" route add default dev eth0
  ip netns exec "$P-$name" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 \
    net.ipv4.conf.all.rp_filter=0 net.ipv4.conf.eth0.rp_filter=0 \
    net.ipv4.conf.default.rp_filter=0
  local var
  var="LAB_NS_$(echo "$name" | tr 'a-z-' 'A-Z_')"
  export "$var=$P-$name"
}

add_host ws "$ws"
for h in "${hosts[@]}"; do add_host "${h%%=*}" "${h#*=}"; done

cat > "$bindir/lab-exec" <<EOS
#!/bin/sh
# lab-exec NAME COMMAND...: run COMMAND in the lab host NAME
n="\$1"; shift
exec nsenter --net=/run/netns/$P-\$n "\$@"
EOS
chmod +x "$bindir/lab-exec"
export PATH="$bindir:$PATH"

set +e
nsenter --net="/run/netns/$P-ws" "$@"
rc=$?
exit $rc
