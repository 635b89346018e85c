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

source "$ROOT/scripts/smb-share.sh"
WORK="$(mktemp -d /tmp/updater-smb-XXXXXX)"
mkdir -p "$WORK/share"
stop() {
  stop_smb_share
  sleep 1
  rm -rf "$WORK"
}
trap stop EXIT
start_smb_share "$WORK/share" "$WORK/samba"

UPDATER_BENCH_SHARE="$WORK/share" UPDATER_BENCH_SHARE_MOUNT="$SMB_SHARE_MOUNT" "$BUILD/bench/worker_bench" "$@"
