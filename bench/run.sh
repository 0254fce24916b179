#!/usr/bin/env bash
# Times whole runs of steps 5 to 9 on the generated data sets "large" and "large-x2" under both
# model sets (median of 3), a parse-only pass over the same inputs, the micro-benchmarks, and
# writes the table to docs/performance.md.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/bench"
DATA="$BUILD/data"
OUT="$ROOT/docs/performance.md"

command -v /usr/bin/time >/dev/null || apt-get install -y --no-install-recommends time >/dev/null
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORRAVANT_TESTS=OFF \
    -DORRAVANT_GUI=OFF -DORRAVANT_BENCH=ON >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
CLI="$BUILD/bin/orravant-cli"

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

rows=()
for preset in large large-x2; do
    dir="$DATA/$preset"
    if [ ! -f "$dir/params.txt" ]; then
        mkdir -p "$dir"
        "$CLI" generate --out "$dir" --preset "$preset" --seed 1 >/dev/null
    fi
    input_bytes=$(cat "$dir"/coefficients.csv "$dir"/strata.csv "$dir"/dbh.csv "$dir"/trees.csv \
        "$dir"/lidar-ds1.csv "$dir"/lidar-ds2.csv | wc -c)
    parse=()
    for _ in 1 2 3; do
        parse+=("$("$BUILD/bin/orravant-parse-inputs" "$dir/trees.csv" 8 "$dir/lidar-ds1.csv" 2 \
            "$dir/lidar-ds2.csv" 2 | awk '{ print $1 }')")
    done
    parse_median=$(printf '%s\n' "${parse[@]}" | median)
    for modelset in 0 1; do
        app="$BUILD/app-$preset-$modelset"
        rm -rf "$app"
        mkdir -p "$app"
        mapfile -t settings <"$dir/params.txt"
        "$CLI" --app-dir "$app" params set "${settings[@]}" "ModelSet=$modelset" "PTIP=4" \
            >/dev/null
        times=()
        peak=0
        for _ in 1 2 3; do
            line=$( (cd "$dir" && /usr/bin/time -f '%e %M' "$CLI" --app-dir "$app" run \
                --dataset BENCH --seed 1 --product-code drop --coeff coefficients.csv \
                --strata strata.csv --dbh dbh.csv --trees trees.csv --ds1 lidar-ds1.csv \
                --ds2 lidar-ds2.csv >/dev/null) 2>&1 | tail -1)
            times+=("${line%% *}")
            kb="${line##* }"
            [ "$kb" -gt "$peak" ] && peak=$kb
        done
        t=$(printf '%s\n' "${times[@]}" | median)
        rows+=("| $preset | $modelset | $t | $parse_median | $((peak / 1024)) | $((input_bytes / 1048576)) |")
        echo "$preset ModelSet $modelset: ${t}s (parse ${parse_median}s), peak ${peak} KiB"
    done
done

micro=$("$BUILD/bin/bench_comma_reader" --benchmark_min_time=1 2>/dev/null | grep '^BM_' || true)
taper=$("$BUILD/bin/bench_tapervol" 2>/dev/null | grep '^BM_' || true)

{
    echo "# Performance"
    echo
    echo "Measured by \`bench/run.sh\` on $(date -u +%Y-%m-%d), $(nproc) cores, $(uname -m)."
    echo
    echo "Whole run of steps 5 to 9 (\`orravant-cli run\`, median of 3), the parse-only pass that"
    echo "reads the tree file and both LiDAR files once, peak resident memory and input size:"
    echo
    echo "| data set | ModelSet | run (s) | parse only (s) | peak memory (MiB) | input (MiB) |"
    echo "|---|---|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
    echo
    echo "Micro-benchmarks:"
    echo
    echo '```'
    echo "$micro"
    echo "$taper"
    echo '```'
} >"$OUT"
echo "Wrote $OUT"
