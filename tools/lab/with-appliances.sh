#!/bin/bash
# Runs a command in the workstation of a lab whose other hosts are fake
# appliances, and tears everything down afterwards.
#
#   with-appliances.sh [--ws ADDR/PREFIX] --appliance NAME=ADDR/PREFIX
#                      [--sim-args NAME="ARGS"]... -- COMMAND...
#
# Each appliance runs tools/appliance-sim in its own namespace; COMMAND starts
# once every one has printed READY, in the workstation (default
# 192.168.1.5/24), with SIM_<NAME>_ADDRESS=ADDR and SIM_<NAME>_CONTROL=ADDR:8080
# (NAME upper-cased) in its environment. The exit status is COMMAND's.
# SIM_VERBOSE=1 passes the appliances' error output through; otherwise it is
# shown only when COMMAND fails.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sim="$here/../appliance-sim/appliance_sim.py"
python=/usr/bin/python3
[ -x "$python" ] || python=python3

upper() { echo "$1" | tr 'a-z-' 'A-Z_'; }

if [ "${1:-}" = "--inside-lab" ]; then
  shift
  logs=$(mktemp -d)
  pids=()
  stop_all() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$logs"
  }
  trap stop_all EXIT
  for entry in $WA_APPLIANCES; do
    name="${entry%%=*}"; cidr="${entry#*=}"; addr="${cidr%%/*}"; var=$(upper "$name")
    argsvar="WA_ARGS_$var"
    read -r -a extra <<< "${!argsvar:-}"
    if [ "${SIM_VERBOSE:-}" = 1 ]; then err=/dev/stderr; else err="$logs/$name.err"; fi
    lab-exec "$name" "$python" "$sim" --address "$addr" "${extra[@]}" \
      > "$logs/$name.out" 2> "$err" &
    pids+=($!)
    export "SIM_${var}_ADDRESS=$addr" "SIM_${var}_CONTROL=$addr:8080"
  done
  # Every appliance must be bound before the command may look for it.
  i=0
  for entry in $WA_APPLIANCES; do
    name="${entry%%=*}"
    for _ in $(seq 1 400); do
      grep -q '^READY' "$logs/$name.out" 2>/dev/null && break
      kill -0 "${pids[$i]}" 2>/dev/null || break
      sleep 0.05
    done
    i=$((i + 1))
    if ! grep -q '^READY' "$logs/$name.out" 2>/dev/null; then
      echo "with-appliances.sh: appliance $name did not start" >&2
      cat "$logs/$name.err" >&2 2>/dev/null || true
      exit 1
    fi
  done
  set +e
  "$@"
  rc=$?
  set -e
  if [ "$rc" != 0 ] && [ "${SIM_VERBOSE:-}" != 1 ]; then
    for entry in $WA_APPLIANCES; do
      name="${entry%%=*}"
      if [ -s "$logs/$name.err" ]; then
        echo "--- appliance $name, error output:" >&2
        tail -n 40 "$logs/$name.err" >&2
      fi
    done
  fi
  exit "$rc"
fi

ws=192.168.1.5/24
appliances=()
hosts=()
while [ $# -gt 0 ]; do
  case "$1" in
    --ws) ws="$2"; shift 2 ;;
    --appliance)
      case "$2" in *=*/*) ;; *) echo "with-appliances.sh: --appliance NAME=ADDR/PREFIX" >&2; exit 2 ;; esac
      appliances+=("$2"); hosts+=(--host "$2"); shift 2 ;;
    --sim-args)
      name="${2%%=*}"; export "WA_ARGS_$(upper "$name")=${2#*=}"; shift 2 ;;
    --) shift; break ;;
    *) echo "with-appliances.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] || { echo "with-appliances.sh: no command" >&2; exit 2; }
[ ${#appliances[@]} -gt 0 ] || { echo "with-appliances.sh: no --appliance" >&2; exit 2; }
export WA_APPLIANCES="${appliances[*]}"
exec "$here/lab.sh" --ws "$ws" "${hosts[@]}" -- "$here/with-appliances.sh" --inside-lab "$@"
