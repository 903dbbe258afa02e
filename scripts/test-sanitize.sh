#!/usr/bin/env bash
# Builds the model, persistence, sync, server and views suites with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs them (the views offscreen). Expects the set-up of scripts/test.sh to have run.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FURROW_SANITIZE_BUILD_DIR:-build-sanitize}
jobs=${FURROW_JOBS:-2}
suites=(model_tests persistence_tests sync_tests server_tests views_tests)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFURROW_BUILD_TESTS=ON \
    -DFURROW_BUILD_BENCH=OFF -DFURROW_WERROR=ON -DFURROW_SANITIZE=ON
cmake --build "$build" --parallel "$jobs" --target "${suites[@]}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure --parallel "$jobs" \
    -R "^($(IFS='|'; echo "${suites[*]}"))\$"
