#!/usr/bin/env bash
# Builds the libFuzzer targets of the decoders with clang in build-fuzz/ and runs each for
# SECONDS_PER_TARGET seconds (12 by default) from seeds made of the test fixtures. Fails on any
# crash, leak or sanitizer report. Long runs: scripts/fuzz.sh 3600.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-12}
build=${FURROW_FUZZ_BUILD_DIR:-build-fuzz}
jobs=${FURROW_JOBS:-2}
# Target and the longest input it is given.
targets=(fuzz_archive:65536 fuzz_sync_response:65536 fuzz_sealed_body:16384
         fuzz_server_request:65536 fuzz_capture:4096)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DFURROW_FUZZ=ON
cmake --build "$build" --parallel "$jobs" --target "${targets[@]%%:*}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"/{fuzz_archive,fuzz_sync_response,fuzz_sealed_body,fuzz_server_request,fuzz_capture}

# Seeds: the backup fixtures as they are; the sync record fixtures as bodies, in an answer and in
# a request; a few capture texts.
cp tests/persistence/data/*.json "$work/fuzz_archive/"
for record in tests/sync/data/*.json; do
    name=$(basename "$record" .json)
    { printf '{"seq":7,"accepted":1,"more":false,"changes":['; cat "$record"; printf ']}'; } \
        >"$work/fuzz_sync_response/$name.json"
    { printf '{"device":"desk","since":0,"changes":['; cat "$record"; printf ']}'; } \
        >"$work/fuzz_server_request/$name.json"
    python3 -c 'import json,sys; print(json.dumps(json.load(open(sys.argv[1]))["body"]))' \
        "$record" >"$work/fuzz_sealed_body/$name.json"
done
printf '%s' '{"device":"desk","since":3,"changes":[{"kind":"task","id":"A4000000-0000-4000-8000-000000000004","updatedAt":1733400000063,"deleted":false,"body":{"e":"AAAA"}}]}' \
    >"$work/fuzz_server_request/sealed.json"
printf '%s' 'QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVo=' >"$work/fuzz_sealed_body/base64.txt"
capture=(
    'Buy milk #home' 'Call #"Home office" about the lease' '#ho' 'Pay rent #"unfinished'
    'Line one\r\nline two #Straße' 'Two #tags #here' '# alone' 'Ünïcode #été-2025 \u2028end'
)
for index in "${!capture[@]}"; do
    printf "${capture[$index]}" >"$work/fuzz_capture/seed-$index.txt"
done

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
export TMPDIR=$work
failed=()
for target in "${targets[@]}"; do
    name=${target%%:*}
    echo "fuzz: $name for ${seconds}s"
    if ! "$build/fuzz/$name" -max_total_time="$seconds" -max_len="${target##*:}" \
        -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 -artifact_prefix="$build/$name-" \
        "$work/$name" >"$work/$name.log" 2>&1; then
        tail -n 60 "$work/$name.log"
        failed+=("$name")
    else
        grep -E '^stat::number_of_executed_units|^Done' "$work/$name.log" || true
    fi
done
if ((${#failed[@]})); then
    echo "fuzz: failed: ${failed[*]} (inputs in $build/)" >&2
    exit 1
fi
echo "fuzz: no faults found"
