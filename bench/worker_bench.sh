#!/usr/bin/env bash
# Runs worker_bench between local folders and from an SMB share: Samba serving a folder on
# loopback, mounted through FUSE with smbnetfs. Both are started, mounted, unmounted and
# stopped here; every data set lives in a temporary folder under /tmp and is removed.
#
#   bench/worker_bench.sh [local|share|all] [Google Benchmark options...]
source "$(dirname "$0")/../scripts/common.sh"

WHICH="${1:-all}"
shift || true

[ -x "$BUILD/bench/worker_bench" ] || build_updater

if [ "$WHICH" = local ] || [ "$WHICH" = all ]; then
  "$BUILD/bench/worker_bench" "$@"
fi
[ "$WHICH" = share ] || [ "$WHICH" = all ] || exit 0

install_packages samba smbnetfs iproute2

WORK="$(mktemp -d /tmp/updater-smb-XXXXXX)"
MOUNT="$WORK/mnt"
mkdir -p "$WORK"/{share,run,lock,state,cache,private,log,home/.smb} "$MOUNT"

stop() {
  if mountpoint -q "$MOUNT"; then umount "$MOUNT"; fi
  if [ -f "$WORK/run/smbd.pid" ]; then kill "$(cat "$WORK/run/smbd.pid")" 2>/dev/null || true; fi
  sleep 1
  rm -rf "$WORK"
}
trap stop EXIT

cat > "$WORK/smb.conf" <<CONF
[global]
  workgroup = WORKGROUP
  server role = standalone server
  interfaces = lo
  bind interfaces only = yes
  disable netbios = yes
  pid directory = $WORK/run
  lock directory = $WORK/lock
  state directory = $WORK/state
  cache directory = $WORK/cache
  private dir = $WORK/private
  log file = $WORK/log/%m.log
  map to guest = Bad User
  load printers = no
[share]
  path = $WORK/share
  guest ok = yes
  read only = no
  force user = root
CONF
printf 'host 127.0.0.1 WORKGROUP visible=true\nauth "guest" ""\n' > "$WORK/home/.smb/smbnetfs.conf"
chmod 600 "$WORK/home/.smb/smbnetfs.conf"

# Samba and its client meet on a loopback of their own: the SMB port is free there whatever
# else runs on this machine, and libsmbclient only connects to the standard ports. The FUSE
# mount itself is seen from everywhere.
export WORK MOUNT
unshare -n bash -c '
  set -e
  ip link set lo up
  smbd -s "$WORK/smb.conf" -D
  for _ in $(seq 50); do [ -f "$WORK/run/smbd.pid" ] && break; sleep 0.2; done
  HOME="$WORK/home" smbnetfs "$MOUNT"
'

SHARED="$MOUNT/127.0.0.1/share"
for _ in $(seq 50); do [ -d "$SHARED" ] && break; sleep 0.2; done
if [ ! -d "$SHARED" ]; then
  echo "The share did not appear at $SHARED" >&2
  exit 1
fi

UPDATER_BENCH_SHARE="$WORK/share" UPDATER_BENCH_SHARE_MOUNT="$SHARED" "$BUILD/bench/worker_bench" "$@"
