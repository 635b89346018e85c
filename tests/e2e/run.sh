#!/usr/bin/env bash
# The end-to-end walk of the real Updater executable on a virtual desktop: Xvfb with a tray
# host, the accessibility bus inside a private D-Bus session, and an update folder that is a
# Samba share on loopback mounted through FUSE (smbnetfs), as on a real site.
# Usage: bash tests/e2e/run.sh [UPDATER_EXECUTABLE]   (default: build/app/Updater)
# Screenshots go to the work folder; UPDATER_SCREENSHOTS=docs/screenshots refreshes the README's.
source "$(dirname "$0")/../../scripts/common.sh"
source "$ROOT/scripts/smb-share.sh"
install_packages xvfb trayer at-spi2-core python3-pyatspi xdotool x11-utils dbus imagemagick

UPDATER="$(realpath "${1:-$BUILD/app/Updater}")"
[ -x "$UPDATER" ] || { echo "No executable at $UPDATER: build first (bash scripts/test.sh)." >&2; exit 1; }
WORK="$(mktemp -d /tmp/updater-e2e.XXXXXX)"
SCREENSHOTS="${UPDATER_SCREENSHOTS:-$WORK/screenshots}"
mkdir -p "$SCREENSHOTS"
pids=()
cleanup() {
  local status=$?
  stop_smb_share
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ "$status" -ne 0 ]; then
    echo "The walk failed; its folder is kept for a look: $WORK" >&2
  else
    rm -rf "$WORK"
  fi
}
trap cleanup EXIT

# The update folder: a Samba share of $WORK/share, mounted through FUSE.
mkdir -p "$WORK/share"
start_smb_share "$WORK/share" "$WORK/samba"

# A virtual display with a tray host.
display=99
while [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
export DISPLAY=":$display"
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
trayer --edge top --align right --widthtype pixel --width 120 --height 24 >/dev/null 2>&1 &
pids+=($!)

export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/config" XDG_DATA_HOME="$WORK/home/data"
export XDG_RUNTIME_DIR="$WORK/home/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset SESSION_MANAGER QT_QPA_PLATFORM
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
timeout 300 dbus-run-session -- /usr/bin/python3 "${E2E_SCRIPT:-$ROOT/tests/e2e/walk.py}" \
  --updater "$UPDATER" --work "$WORK" --share "$WORK/share" \
  --update-folder "$SMB_SHARE_MOUNT" --screenshots "$SCREENSHOTS"
