#!/usr/bin/env bash
# Installs what is missing, builds Updater and starts it in the demo installation.
#   bash scripts/run.sh           prepare the demo on first use, then start it
#   bash scripts/run.sh --reset   throw the demo away and prepare it afresh
source "$(dirname "$0")/common.sh"
DEMO="${UPDATER_DEMO_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/updater-demo}"

case "${1:-}" in
  "") ;;
  --reset) rm -rf "$DEMO" ;;
  *) echo "Usage: bash scripts/run.sh [--reset]" >&2; exit 2 ;;
esac

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MESSAGE
Updater is a desktop program and there is no display here (neither DISPLAY nor
WAYLAND_DISPLAY is set). Run this command in a terminal of a desktop session, or over
"ssh -X", or give it a virtual one, for instance:
  apt-get install xvfb trayer x11vnc
  Xvfb :1 -screen 0 1024x768x24 & DISPLAY=:1 trayer --edge top --align right &
  DISPLAY=:1 bash scripts/run.sh       # and watch it with: x11vnc -display :1
MESSAGE
  exit 1
fi

build_updater
if [ ! -d "$DEMO/app" ]; then
  "$BUILD/app/updater_make_demo" "$DEMO"
  echo "Prepared the demo in $DEMO"
fi
# The program keeps its files beside its executable: it runs from the demo's program folder.
# Each start brings the latest build along and keeps the demo's files as they are.
install -m 755 "$BUILD/app/Updater" "$DEMO/app/Updater"
cat <<MESSAGE
Updater starts from $DEMO/app and goes to the tray after a second.
The update folder $DEMO/updates publishes version 2 of the sample program installed in
$DEMO/install/Sample at version 1: click the balloon "Update Available", check the entry
and press "Update Selected". To start over: bash scripts/run.sh --reset
MESSAGE
exec "$DEMO/app/Updater"
