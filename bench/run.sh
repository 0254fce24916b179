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
declare -A WALL CPU PEAK INPUT
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
        cpus=()
        peak=0
        for _ in 1 2 3; do
            line=$( (cd "$dir" && /usr/bin/time -f '%e %U %S %M' "$CLI" --app-dir "$app" run \
                --dataset BENCH --seed 1 --product-code drop --coeff coefficients.csv \
                --strata strata.csv --dbh dbh.csv --trees trees.csv --ds1 lidar-ds1.csv \
                --ds2 lidar-ds2.csv >/dev/null) 2>&1 | tail -1)
            read -r wall user sys kb <<<"$line"
            times+=("$wall")
            cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')")
            [ "$kb" -gt "$peak" ] && peak=$kb
        done
        t=$(printf '%s\n' "${times[@]}" | median)
        cpu=$(printf '%s\n' "${cpus[@]}" | median)
        WALL[$preset-$modelset]=$t
        CPU[$preset-$modelset]=$cpu
        PEAK[$preset-$modelset]=$peak
        INPUT[$preset]=$input_bytes
        rows+=("| $preset | $modelset | $t | $cpu | $parse_median | $((peak / 1024)) | $((input_bytes / 1048576)) |")
        echo "$preset ModelSet $modelset: ${t}s (cpu ${cpu}s, parse ${parse_median}s), peak ${peak} KiB"
    done
done

micro=$("$BUILD/bin/bench_comma_reader" --benchmark_min_time=1 2>/dev/null | grep '^BM_' || true)
reader_mbs=$(printf '%s\n' "$micro" | awk '/^BM_ReadLidarHeights/ {
    for (i = 1; i <= NF; ++i) if ($i ~ /^bytes_per_second=/) {
        v = substr($i, 18); u = substr(v, length(v) - 2); n = v + 0
        if (u == "G/s") n *= 1024; else if (u == "k/s") n /= 1024
        printf "%.0f", n } }')

# One line per target: the figure, the limit, and whether it is met.
check() {  # name, figure, limit, unit
    if awk -v a="$2" -v b="$3" 'BEGIN { exit !(a <= b) }'; then verdict="met"; else verdict="MISSED"; fi
    echo "| $1 | $2 $4 | $3 $4 | $verdict |"
}
atleast() {  # name, figure, floor, unit
    if awk -v a="$2" -v b="$3" 'BEGIN { exit !(a >= b) }'; then verdict="met"; else verdict="MISSED"; fi
    echo "| $1 | $2 $4 | at least $3 $4 | $verdict |"
}
targets=()
targets+=("$(check "large, ModelSet 0, wall clock" "${WALL[large-0]}" 5 s)")
targets+=("$(check "large, ModelSet 1, wall clock" "${WALL[large-1]}" 10 s)")
for m in 0 1; do
    ratio=$(awk -v a="${WALL[large-x2-$m]}" -v b="${WALL[large-$m]}" 'BEGIN { printf "%.2f", a / b }')
    cpuratio=$(awk -v a="${CPU[large-x2-$m]}" -v b="${CPU[large-$m]}" 'BEGIN { printf "%.2f", a / b }')
    targets+=("$(check "large-x2 / large, ModelSet $m, wall clock" "$ratio" 2.2 x)")
    targets+=("$(check "large-x2 / large, ModelSet $m, CPU time" "$cpuratio" 2.2 x)")
done
targets+=("$(atleast "comma reader, one core" "${reader_mbs:-0}" 300 MB/s)")
for p in large large-x2; do
    for m in 0 1; do
        ratio=$(awk -v a="${PEAK[$p-$m]}" -v b="${INPUT[$p]}" 'BEGIN { printf "%.2f", a * 1024 / b }')
        targets+=("$(check "peak memory / input, $p, ModelSet $m" "$ratio" 3 x)")
    done
done
taper=$("$BUILD/bin/bench_tapervol" 2>/dev/null | grep '^BM_' || true)

{
    echo "# Performance"
    echo
    echo "Measured by \`bench/run.sh\` on $(date -u +%Y-%m-%d), $(nproc) cores, $(uname -m), load average"
    echo "$(cut -d' ' -f1-3 /proc/loadavg) when the table was written."
    echo
    echo "Whole run of steps 5 to 9 (\`orravant-cli run\`, median of 3; wall-clock time and the CPU"
    echo "time of all threads), the parse-only pass that reads the tree file and both LiDAR files"
    echo "once, peak resident memory and input size:"
    echo
    echo "| data set | ModelSet | run (s) | CPU (s) | parse only (s) | peak memory (MiB) | input (MiB) |"
    echo "|---|---|---|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
    echo
    echo "Targets:"
    echo
    echo "| target | measured | limit | |"
    echo "|---|---|---|---|"
    printf '%s\n' "${targets[@]}"
    echo
    echo "Micro-benchmarks (rates per CPU second of one core):"
    echo
    echo '```'
    echo "$micro"
    echo "$taper"
    echo '```'
    if [ -f "$ROOT/bench/performance-notes.md" ]; then
        echo
        cat "$ROOT/bench/performance-notes.md"
    fi
} >"$OUT"
echo "Wrote $OUT"
