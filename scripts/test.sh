#!/usr/bin/env bash
# Installs what is missing, builds Updater and runs every test.
source "$(dirname "$0")/common.sh"
build_updater
cd "$BUILD"
ctest --output-on-failure --parallel "$(nproc)"
# The Windows side of the platform layer, cross-built and run under Wine.
bash "$ROOT/tests/win/build-and-run.sh"
# The real executable on a virtual desktop, driven through the accessibility bus.
bash "$ROOT/tests/e2e/run.sh" "$BUILD/app/Updater"
