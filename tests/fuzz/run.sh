#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each for the given number of seconds.
# Inputs that crash, or that run longer than TIMEOUT seconds (a loop that does not end), are saved
# under tests/fuzz/corpus/<target>/, where the normal tests replay them.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
SECONDS_EACH="${1:-60}"
TIMEOUT="${ORRAVANT_FUZZ_TIMEOUT:-30}"  # seconds per input
BUILD="${ORRAVANT_FUZZ_BUILD:-$ROOT/build/fuzz}"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORRAVANT_FUZZ=ON -DORRAVANT_SANITIZE=ON -DORRAVANT_GUI=OFF >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
status=0
for exe in "$BUILD"/bin/fuzz_*; do
    name="$(basename "$exe")"
    name="${name#fuzz_}"
    corpus="$ROOT/tests/fuzz/corpus/$name"
    work="$BUILD/work/$name"
    mkdir -p "$corpus" "$work"
    echo "== $name: ${SECONDS_EACH}s"
    if ! "$exe" -max_total_time="$SECONDS_EACH" -timeout="$TIMEOUT" -artifact_prefix="$corpus/" \
        -max_len=4096 "$work" "$corpus" >"$BUILD/$name.log" 2>&1; then
        echo "   found a crash or an input slower than ${TIMEOUT}s; kept under $corpus" \
            "(log: $BUILD/$name.log)"
        status=1
    else
        grep -E '^(Done|#[0-9]+ *DONE)' "$BUILD/$name.log" | tail -1 || true
    fi
done
exit $status
