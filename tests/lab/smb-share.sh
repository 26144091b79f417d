#!/bin/bash
# Inside tools/lab/with-appliances.sh: a real SMB server on appliance nas1 and
# a private desktop session (home, runtime folder, session bus, GVFS) on the
# workstation, then COMMAND in that session. Shares: "public" for guests and
# "data" for the workstation's user with the password $SMB_PASSWORD.
# COMMAND finds the shares' folders in SMB_PUBLIC_DIR and SMB_DATA_DIR.
# Afterwards the server is stopped, and nothing of the session may stay
# mounted; everything is removed.
#   smb-share.sh COMMAND...
set -euo pipefail
[ -n "${SIM_NAS1_ADDRESS:-}" ] || { echo "smb-share.sh: run inside with-appliances.sh" >&2; exit 2; }
work=$(mktemp -d /tmp/q70smb.XXXXXX)
smbd_pid=
finish() {
  if [ -n "$smbd_pid" ]; then kill "$smbd_pid" 2>/dev/null || true; wait "$smbd_pid" 2>/dev/null || true; fi
  if grep -q " $work/" /proc/mounts; then
    echo "smb-share.sh: still mounted:" >&2; grep " $work/" /proc/mounts >&2
    grep " $work/" /proc/mounts | awk '{print $2}' | xargs -r -n1 umount -l
    exit 1
  fi
  rm -rf "$work"
}
trap finish EXIT

user=$(id -un)
export SMB_PASSWORD=sh4re-pw SMB_PUBLIC_DIR="$work/shares/public" SMB_DATA_DIR="$work/shares/data"
mkdir -p "$SMB_PUBLIC_DIR" "$SMB_DATA_DIR" "$work/samba" "$work/home" "$work/run"
chmod 755 "$work" "$work/shares"; chmod 777 "$SMB_PUBLIC_DIR"; chmod 700 "$work/run"
cat > "$work/smb.conf" <<EOC
[global]
server role = standalone server
interfaces = $SIM_NAS1_ADDRESS/24
bind interfaces only = yes
disable netbios = yes
smb ports = 445
server min protocol = SMB2_02
passdb backend = tdbsam:$work/samba/passdb.tdb
map to guest = Bad User
guest account = nobody
private dir = $work/samba
lock directory = $work/samba
state directory = $work/samba
cache directory = $work/samba
pid directory = $work/samba
ncalrpc dir = $work/samba/ncalrpc
log file = $work/samba/log.%m
usershare path =
load printers = no
printing = bsd
printcap name = /dev/null
disable spoolss = yes
[public]
path = $SMB_PUBLIC_DIR
guest ok = yes
force user = nobody
read only = no
[data]
path = $SMB_DATA_DIR
valid users = $user
read only = no
EOC
printf '%s\n%s\n' "$SMB_PASSWORD" "$SMB_PASSWORD" | smbpasswd -c "$work/smb.conf" -s -a "$user" >/dev/null
# Its own process group: smbd signals its whole group when it stops.
setsid lab-exec nas1 smbd --foreground --no-process-group --debug-stdout -d0 -s "$work/smb.conf" >"$work/smbd.log" 2>&1 &
smbd_pid=$!
for _ in $(seq 1 100); do
  timeout 1 bash -c "</dev/tcp/$SIM_NAS1_ADDRESS/445" 2>/dev/null && break
  sleep 0.1
done

set +e
env HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config" \
  GVFS_REMOTE_VOLUME_MONITOR_IGNORE=1 \
  unshare --mount --propagation private dbus-run-session -- "$@"
rc=$?
set -e
[ "$rc" = 0 ] || tail -n 20 "$work/smbd.log" >&2
exit "$rc"
