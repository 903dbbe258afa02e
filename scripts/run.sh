#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the planner and starts it on the default store
# (~/.local/share/Furrow). Arguments are passed on to furrow, e.g. scripts/run.sh --seed-demo
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
build=${FURROW_BUILD_DIR:-build}
jobs=${FURROW_JOBS:-2}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$jobs" --target furrow
exec "$build/src/app/furrow" "$@"
