#!/usr/bin/env bash
# Renders ui/main/icons/updater.svg into the PNG sizes of the Qt resource and into
# updater.ico (for a Windows build). Run after changing the drawing; commit the results.
source "$(dirname "$0")/common.sh"
install_packages librsvg2-bin icoutils

ICONS="$ROOT/ui/main/icons"
SIZES=(16 20 24 32 40 48 64 128)
pngs=()
for size in "${SIZES[@]}"; do
  rsvg-convert --width "$size" --height "$size" --output "$ICONS/updater-$size.png" "$ICONS/updater.svg"
  pngs+=("$ICONS/updater-$size.png")
done
# The .ico also holds 256 pixels, as PNG, the smaller ones as bitmaps, the way Windows
# expects them. The Qt resource leaves 256 out: decoded it costs more memory than the rest.
large="$(mktemp --suffix=.png)"
trap 'rm -f "$large"' EXIT
rsvg-convert --width 256 --height 256 --output "$large" "$ICONS/updater.svg"
icotool --create --output "$ICONS/updater.ico" "${pngs[@]}" --raw="$large"
