#!/usr/bin/env bash
# Times whole runs of steps 5 to 9 on the generated data sets "large", "large-x2" (both model
# sets, median of 3) and "state" (a million Phase 1 plots, once), beside the time the machine
# takes to read the same input files once (cat to /dev/null, and a parse-only pass); checks that
# 1, 2 and 8 threads write the same bytes; times steps 6 and 7 with random draws and with
# expected shares (bench/lidar_classes.sh); runs the micro-benchmarks; and writes the table to
# docs/performance.md.
#
#   bench/run.sh [--no-state]     --no-state leaves out the million-plot data set (several GB)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/bench"
DATA="$BUILD/data"
OUT="$ROOT/docs/performance.md"
PRESETS=(large large-x2 state)
[ "${1:-}" = --no-state ] && PRESETS=(large large-x2)

command -v /usr/bin/time >/dev/null || apt-get install -y --no-install-recommends time >/dev/null
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORRAVANT_TESTS=OFF \
    -DORRAVANT_GUI=OFF -DORRAVANT_BENCH=ON >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
CLI="$BUILD/bin/orravant-cli"

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
seconds_of() {  # command...: the wall-clock seconds it took
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

# run PRESET MODELSET THREADS APP: one run of steps 5 to 9; prints "wall user sys peak-KiB".
run_once() {
    local dir="$DATA/$1" app="$4"
    rm -rf "$app"
    mkdir -p "$app"
    local settings=()
    mapfile -t settings <"$dir/params.txt"
    local tip=()
    [ "$2" = 1 ] && tip=(PTIP=4)
    "$CLI" --app-dir "$app" params set "${settings[@]}" "ModelSet=$2" "${tip[@]}" >/dev/null
    (cd "$dir" && /usr/bin/time -f '%e %U %S %M' "$CLI" --app-dir "$app" run --dataset BENCH \
        --seed 1 --threads "$3" --product-code drop --coeff coefficients.csv \
        --strata strata.csv --dbh dbh.csv --trees trees.csv --ds1 lidar-ds1.csv \
        --ds2 lidar-ds2.csv >/dev/null) 2>&1 | tail -1
}

rows=()
declare -A WALL CPU PEAK INPUT CAT PARSE
for preset in "${PRESETS[@]}"; do
    dir="$DATA/$preset"
    # A data set is made again whenever the generator's code has changed since it was made.
    made_by=$(cat "$ROOT"/tools/generator/*.cpp "$ROOT"/tools/generator/*.h | sha256sum | cut -c1-16)
    if [ "$(cat "$dir/.made-by" 2>/dev/null)" != "$made_by" ]; then
        rm -rf "$dir"
        mkdir -p "$dir"
        echo "generating $preset ..."
        "$CLI" generate --out "$dir" --preset "$preset" --seed 1 >/dev/null
        echo "$made_by" >"$dir/.made-by"
    fi
    inputs=("$dir"/coefficients.csv "$dir"/strata.csv "$dir"/dbh.csv "$dir"/trees.csv
            "$dir"/lidar-ds1.csv "$dir"/lidar-ds2.csv)
    INPUT[$preset]=$(cat "${inputs[@]}" | wc -c)
    # Reading the inputs once: from the page cache to nowhere, and through the comma reader.
    cats=()
    parse=()
    for _ in 1 2 3; do
        cats+=("$(seconds_of cat "${inputs[@]}")")
        parse+=("$("$BUILD/bin/orravant-parse-inputs" "$dir/trees.csv" 8 "$dir/lidar-ds1.csv" 2 \
            "$dir/lidar-ds2.csv" 2 | awk '{ print $1 }')")
    done
    CAT[$preset]=$(printf '%s\n' "${cats[@]}" | median)
    PARSE[$preset]=$(printf '%s\n' "${parse[@]}" | median)
    runs=3
    modelsets=(0 1)
    if [ "$preset" = state ]; then
        runs=1
        modelsets=(0)
    fi
    for modelset in "${modelsets[@]}"; do
        app="$BUILD/app-$preset-$modelset"
        times=()
        cpus=()
        peak=0
        for _ in $(seq "$runs"); do
            read -r wall user sys kb <<<"$(run_once "$preset" "$modelset" 0 "$app")"
            times+=("$wall")
            cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')")
            [ "$kb" -gt "$peak" ] && peak=$kb
        done
        key=$preset-$modelset
        WALL[$key]=$(printf '%s\n' "${times[@]}" | median)
        CPU[$key]=$(printf '%s\n' "${cpus[@]}" | median)
        PEAK[$key]=$peak
        rows+=("| $preset | $modelset | ${WALL[$key]} | ${CPU[$key]} | ${CAT[$preset]} | ${PARSE[$preset]} | $((peak / 1024)) | $((INPUT[$preset] / 1048576)) |")
        echo "$preset ModelSet $modelset: ${WALL[$key]} s (cpu ${CPU[$key]} s; cat ${CAT[$preset]} s, parse ${PARSE[$preset]} s), peak $peak KiB"
    done
done

# The same bytes whatever the number of threads ("large" under both model sets).
same_threads=yes
for modelset in 0 1; do
    for threads in 1 2 8; do
        run_once large "$modelset" "$threads" "$BUILD/threads-$threads" >/dev/null
    done
    for threads in 2 8; do
        diff -r "$BUILD/threads-1/DATA FILES" "$BUILD/threads-$threads/DATA FILES" >/dev/null ||
            same_threads="NO (ModelSet $modelset, $threads threads)"
    done
done
echo "1, 2 and 8 threads write the same files: $same_threads"

# Steps 6 and 7 with random draws and with expected shares on "large" (MaxItern 100).
lidar_classes=$("$ROOT/bench/lidar_classes.sh" "$CLI" "$DATA/large" "$BUILD")
echo "$lidar_classes"

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
if [ -n "${WALL[state-0]:-}" ]; then
    targets+=("$(check "state, wall clock" "${WALL[state-0]}" 60 s)")
    targets+=("$(check "state, peak memory" "$((PEAK[state-0] / 1024))" 1536 MiB)")
fi
targets+=("$(check "large, ModelSet 0, wall clock" "${WALL[large-0]}" 1.5 s)")
targets+=("$(check "large, ModelSet 1, wall clock" "${WALL[large-1]}" 3 s)")
for m in 0 1; do
    ratio=$(awk -v a="${WALL[large-x2-$m]}" -v b="${WALL[large-$m]}" 'BEGIN { printf "%.2f", a / b }')
    targets+=("$(check "large-x2 / large, ModelSet $m, wall clock" "$ratio" 2.1 x)")
done
targets+=("$(atleast "LiDAR-layout reader, one core" "${reader_mbs:-0}" 400 MB/s)")
if [ "$same_threads" = yes ]; then verdict=met; else verdict="MISSED: $same_threads"; fi
targets+=("| the same files at 1, 2 and 8 threads (large) | ${same_threads%% *} | yes | $verdict |")
taper=$("$BUILD/bin/bench_tapervol" 2>/dev/null | grep '^BM_' || true)

{
    echo "# Performance"
    echo
    echo "Measured by \`bench/run.sh\` on $(date -u +%Y-%m-%d), $(nproc) cores, $(uname -m), load average"
    echo "$(cut -d' ' -f1-3 /proc/loadavg) when the table was written."
    echo
    echo "Whole run of steps 5 to 9 (\`orravant-cli run\` on all cores; median of 3, \"state\" once;"
    echo "wall-clock time and the CPU time of all threads) beside the time it takes only to read the"
    echo "same input files once: \`cat\` to /dev/null from the page cache, and the parse-only pass"
    echo "that splits and converts the tree file and both LiDAR files with the comma reader. Then"
    echo "peak resident memory and input size:"
    echo
    echo "| data set | ModelSet | run (s) | CPU (s) | cat (s) | parse only (s) | peak memory (MiB) | input (MiB) |"
    echo "|---|---|---|---|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
    echo
    echo "Targets:"
    echo
    echo "| target | measured | limit | |"
    echo "|---|---|---|---|"
    printf '%s\n' "${targets[@]}"
    echo
    echo "Steps 6 and 7 on \"large\" (ModelSet 0, MaxItern 100, all cores; median of 3) with the"
    echo "LiDAR trees drawn into their classes (LidarClasses=draws) and entering every class with"
    echo "its share (LidarClasses=expected):"
    echo
    echo "$lidar_classes"
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
