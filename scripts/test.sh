#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Furrow with its tests and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
build=${FURROW_BUILD_DIR:-build}
jobs=${FURROW_JOBS:-2}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFURROW_BUILD_TESTS=ON -DFURROW_WERROR=ON
cmake --build "$build" --parallel "$jobs"
# The package check has its own step in CI (ctest -L package).
ctest --test-dir "$build" --output-on-failure --parallel "$jobs" --label-exclude package
