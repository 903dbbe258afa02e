#!/usr/bin/env bash
# Builds the Debian packages furrow and furrow-sync-server into BUILD/packages/ with CPack.
# Reuses the build folder of scripts/test.sh (FURROW_BUILD_DIR, build/ by default) and builds
# only what the packages hold.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FURROW_BUILD_DIR:-build}
jobs=${FURROW_JOBS:-2}

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    scripts/setup.sh
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFURROW_BUILD_TESTS=ON \
          -DFURROW_WERROR=ON
fi
cmake --build "$build" --parallel "$jobs" \
      --target furrow furrow-sync-server furrow_desktop_icons furrow_manuals furrow_changelog
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB)
ls "$build"/packages/*.deb
