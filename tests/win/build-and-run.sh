#!/usr/bin/env bash
# Cross-builds the Windows side of the platform layer with its test program (mingw-w64)
# and runs it under Wine, in a Wine prefix of its own that is thrown away afterwards.
# Installs the cross compiler and Wine when they are missing.
source "$(dirname "$0")/../../scripts/common.sh"

WIN_BUILD="$BUILD/win-test"
install_packages cmake ninja-build g++-mingw-w64-x86-64-posix wine64
mkdir -p "$BUILD"

cmake -S "$ROOT/tests/win" -B "$WIN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/MingwW64Toolchain.cmake" > "$WIN_BUILD.configure.log" 2>&1 \
  || { cat "$WIN_BUILD.configure.log"; exit 1; }
cmake --build "$WIN_BUILD" -j2

# Debian's wine64 package has no wrapper in PATH; the wine package adds one.
WINE="$(command -v wine64 || true)"
WINESERVER="$(command -v wineserver || true)"
[ -n "$WINE" ] || WINE=/usr/lib/wine/wine64
[ -n "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver

WINEPREFIX="$(mktemp -d)/prefix"
mkdir "$WINEPREFIX"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stop_wine() {
  "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$(dirname "$WINEPREFIX")"
}
trap stop_wine EXIT

# One server for the whole run; the first boot of a prefix takes a while.
echo "Starting Wine (the first boot of a prefix can take a minute)"
"$WINESERVER" -p
timeout 600 "$WINE" wineboot -i > "$WIN_BUILD.wineboot.log" 2>&1 \
  || { echo "wineboot failed:"; cat "$WIN_BUILD.wineboot.log"; exit 1; }

cd "$WIN_BUILD"
UPDATER_WIN_TEST_THROWAWAY_REGISTRY=1 timeout 600 "$WINE" ./WinLayerTest.exe
