#!/usr/bin/env bash
# Installs what is missing, builds Updater and runs every test.
source "$(dirname "$0")/common.sh"
build_updater
cd "$BUILD"
ctest --output-on-failure --parallel "$(nproc)"
