#!/usr/bin/env bash
# Measures Updater in the tray against a bare Qt widgets program with one tray icon, both
# run in the same virtual X session (Xvfb) beside a tray host (trayer):
#   - resident memory once the window is in the tray (goal: at most 1.3 x the reference),
#   - CPU time over one idle minute (goal: under 0.1 s),
#   - the time from start to the window being hidden in the tray.
# It also checks that a second start brings the running window up and ends.
# Usage: bash bench/measure_tray.sh [idle seconds, default 60]
source "$(dirname "$0")/../scripts/common.sh"
install_packages xvfb trayer xdotool
IDLE_SECONDS="${1:-60}"

if [ ! -x "$BUILD/app/Updater" ] || [ ! -x "$BUILD/bench/bare_tray" ]; then
  build_updater
fi

WORK="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# A counted string: the length byte, the text, zeros up to the capacity.
counted() {
  printf "\\x$(printf %02x "${#2}")"
  printf '%s' "$2"
  head -c $(($1 - ${#2})) /dev/zero
}
# A 528-byte record with id 1.
record() {
  printf '\x01\x00\x00\x00'
  counted 255 "$1"; counted 255 "$2"; counted 10 "$3"; printf '\x00'
}

# An installation with nothing to ask at start and nothing new to announce.
mkdir -p "$WORK/app" "$WORK/updates" "$WORK/home"
cp "$BUILD/app/Updater" "$WORK/app/Updater"
printf '%s\r\n' "$WORK/updates/" > "$WORK/app/updater.conf"
record Tool /opt/Tool/ 1 > "$WORK/app/programs.conf"
record Tool /opt/Tool/Tool.exe 1 > "$WORK/updates/update.conf"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/config" XDG_RUNTIME_DIR="$WORK/home"
unset SESSION_MANAGER QT_QPA_PLATFORM

display=99
while [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
export DISPLAY=":$display"
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
trayer --edge top --align right --widthtype pixel --width 120 --height 24 >/dev/null 2>&1 &
pids+=($!)
sleep 1

now_ms() { echo $(($(date +%s%N) / 1000000)); }
visible_window() { xdotool search --onlyvisible --name '^Program Updater$' 2>/dev/null | head -1; }
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

started=$(now_ms)
"$WORK/app/Updater" >"$WORK/updater.log" 2>&1 &
updater=$!
pids+=("$updater")
while [ -z "$(visible_window)" ]; do
  [ $(($(now_ms) - started)) -gt 20000 ] && { echo "the window never came up"; cat "$WORK/updater.log"; exit 1; }
  sleep 0.01
done
shown=$(now_ms)
while [ -n "$(visible_window)" ]; do
  [ $(($(now_ms) - started)) -gt 20000 ] && { echo "the window never went to the tray"; exit 1; }
  sleep 0.01
done
hidden=$(now_ms)

"$BUILD/bench/bare_tray" >/dev/null 2>&1 &
bare=$!
pids+=("$bare")
sleep 3

updater_rss=$(rss_kib "$updater")
bare_rss=$(rss_kib "$bare")
updater_cpu_before=$(cpu_ticks "$updater")
bare_cpu_before=$(cpu_ticks "$bare")
sleep "$IDLE_SECONDS"
updater_cpu=$(($(cpu_ticks "$updater") - updater_cpu_before))
bare_cpu=$(($(cpu_ticks "$bare") - bare_cpu_before))
ticks=$(getconf CLK_TCK)

# A second start: it should bring the window up and end at once.
second_started=$(now_ms)
"$WORK/app/Updater" >/dev/null 2>&1
second_status=$?
second_ms=$(($(now_ms) - second_started))
for _ in $(seq 100); do [ -n "$(visible_window)" ] && break; sleep 0.02; done
second_shown=$([ -n "$(visible_window)" ] && echo yes || echo no)

awk -v u="$updater_rss" -v b="$bare_rss" -v uc="$updater_cpu" -v bc="$bare_cpu" -v t="$ticks" \
    -v idle="$IDLE_SECONDS" -v up=$((shown - started)) -v down=$((hidden - started)) \
    -v s="$second_status" -v sms="$second_ms" -v ss="$second_shown" 'BEGIN {
  printf "resident memory in the tray:  Updater %d KiB, bare tray program %d KiB, ratio %.2f (goal <= 1.30)\n", u, b, u / b
  printf "CPU over %d idle seconds:      Updater %.2f s, bare tray program %.2f s (goal < 0.10 s)\n", idle, uc / t, bc / t
  printf "start to window shown:        %d ms\n", up
  printf "start to window in the tray:  %d ms\n", down
  printf "second start:                 ended with %d after %d ms; running window shown again: %s\n", s, sms, ss
}'
