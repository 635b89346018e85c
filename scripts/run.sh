#!/usr/bin/env bash
# Installs what is missing, builds Updater and starts it.
source "$(dirname "$0")/common.sh"
build_updater
exec "$BUILD/app/Updater"
