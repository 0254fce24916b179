#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each for the given number of seconds.
# Inputs that crash are saved under tests/fuzz/corpus/<target>/, where the normal tests replay them.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
SECONDS_EACH="${1:-60}"
BUILD="$ROOT/build/fuzz"
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
    if ! "$exe" -max_total_time="$SECONDS_EACH" -artifact_prefix="$corpus/" -max_len=4096 \
        "$work" "$corpus" >"$BUILD/$name.log" 2>&1; then
        echo "   found a crash; kept under $corpus (log: $BUILD/$name.log)"
        status=1
    else
        grep -E '^(Done|#[0-9]+ *DONE)' "$BUILD/$name.log" | tail -1 || true
    fi
done
exit $status
