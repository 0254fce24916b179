#!/usr/bin/env bash
# Times whole runs of steps 5 to 9 on the generated data sets "large", "large-2dec" (large with
# LiDAR heights in hundredths of a foot), "large-x2" (both model sets and both ways of giving
# LiDAR trees their classes, median of 3; against large also in pairs of runs taken one after the
# other) and "state" (a million Phase 1 plots, once per way), beside the time the machine takes to
# read the same input files once, measured in the same run: cat to /dev/null, and a parse-only
# pass on one core and on all cores. Checks that 1, 2 and 8 threads write the same bytes; times
# steps 6 and 7 with random draws and with expected shares (bench/lidar_classes.sh); runs the
# micro-benchmarks; and writes the tables to docs/performance.md, each target marked met or
# missed.
#
#   bench/run.sh [--no-state]     --no-state leaves out the million-plot data set (several GB)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/bench"
DATA="$BUILD/data"
OUT="$ROOT/docs/performance.md"
PRESETS=(large large-2dec large-x2 state)
[ "${1:-}" = --no-state ] && PRESETS=(large large-2dec large-x2)
CORES=$(nproc)

command -v /usr/bin/time >/dev/null || apt-get install -y --no-install-recommends time >/dev/null
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# A unity build, as orravant.sh makes its trees (a third of the time from scratch). GCC 12 at -O3
# then inlines enough of std::string::insert to warn of overlapping copies of 2^63 bytes that no
# path can make (-Wrestrict, a known false alarm of that compiler): left out here.
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORRAVANT_TESTS=OFF \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 -DCMAKE_CXX_FLAGS=-Wno-restrict \
    -DORRAVANT_GUI=OFF -DORRAVANT_BENCH=ON "${launcher[@]}" >/dev/null
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

# run PRESET MODELSET THREADS APP [CLASSES]: one run of steps 5 to 9 with LidarClasses=CLASSES
# (draws unless given); prints "wall user sys peak-KiB".
run_once() {
    local dir="$DATA/$1" app="$4" classes="${5:-draws}"
    rm -rf "$app"
    mkdir -p "$app"
    local settings=()
    mapfile -t settings <"$dir/params.txt"
    local tip=()
    [ "$2" = 1 ] && tip=(PTIP=4)
    "$CLI" --app-dir "$app" params set "${settings[@]}" "ModelSet=$2" "${tip[@]}" \
        "LidarClasses=$classes" >/dev/null
    (cd "$dir" && /usr/bin/time -f '%e %U %S %M' "$CLI" --app-dir "$app" run --dataset BENCH \
        --seed 1 --threads "$3" --product-code drop --coeff coefficients.csv \
        --strata strata.csv --dbh dbh.csv --trees trees.csv --ds1 lidar-ds1.csv \
        --ds2 lidar-ds2.csv >/dev/null) 2>&1 | tail -1
}

# generate PRESET DIR: the data set of that name ("large-2dec": large in hundredths of a foot).
generate() {
    case "$1" in
        large-2dec) "$CLI" generate --out "$2" --preset large --height-decimals 2 --seed 1 ;;
        *) "$CLI" generate --out "$2" --preset "$1" --seed 1 ;;
    esac
}

rows=()
declare -A WALL CPU PEAK INPUT CAT PARSE PARSEALL
for preset in "${PRESETS[@]}"; do
    dir="$DATA/$preset"
    # A data set is made again whenever the generator's code has changed since it was made.
    made_by=$(cat "$ROOT"/tools/generator/*.cpp "$ROOT"/tools/generator/*.h | sha256sum | cut -c1-16)
    if [ "$(cat "$dir/.made-by" 2>/dev/null)" != "$made_by" ]; then
        rm -rf "$dir"
        mkdir -p "$dir"
        echo "generating $preset ..."
        generate "$preset" "$dir" >/dev/null
        echo "$made_by" >"$dir/.made-by"
    fi
    inputs=("$dir"/coefficients.csv "$dir"/strata.csv "$dir"/dbh.csv "$dir"/trees.csv
            "$dir"/lidar-ds1.csv "$dir"/lidar-ds2.csv)
    INPUT[$preset]=$(cat "${inputs[@]}" | wc -c)
    # Reading the inputs once: from the page cache to nowhere, and through the comma reader on
    # one core and on all cores.
    cats=()
    parse=()
    parseall=()
    for _ in 1 2 3; do
        cats+=("$(seconds_of cat "${inputs[@]}")")
        for threads in 1 "$CORES"; do
            seconds=$("$BUILD/bin/orravant-parse-inputs" --threads "$threads" "$dir/trees.csv" 8 \
                "$dir/lidar-ds1.csv" 2 "$dir/lidar-ds2.csv" 2 | awk '{ print $1 }')
            if [ "$threads" = 1 ]; then parse+=("$seconds"); else parseall+=("$seconds"); fi
        done
    done
    CAT[$preset]=$(printf '%s\n' "${cats[@]}" | median)
    PARSE[$preset]=$(printf '%s\n' "${parse[@]}" | median)
    PARSEALL[$preset]=$(printf '%s\n' "${parseall[@]}" | median)
    runs=3
    kinds=("0 draws" "1 draws" "0 expected")
    if [ "$preset" = state ]; then
        runs=1
        kinds=("0 draws" "0 expected")
    fi
    for kind in "${kinds[@]}"; do
        read -r modelset classes <<<"$kind"
        app="$BUILD/app-$preset-$modelset-$classes"
        times=()
        cpus=()
        peak=0
        for _ in $(seq "$runs"); do
            read -r wall user sys kb <<<"$(run_once "$preset" "$modelset" 0 "$app" "$classes")"
            times+=("$wall")
            cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')")
            [ "$kb" -gt "$peak" ] && peak=$kb
        done
        key=$preset-$modelset-$classes
        WALL[$key]=$(printf '%s\n' "${times[@]}" | median)
        CPU[$key]=$(printf '%s\n' "${cpus[@]}" | median)
        PEAK[$key]=$peak
        rows+=("| $preset | $modelset | $classes | ${WALL[$key]} | ${CPU[$key]} | ${CAT[$preset]} | ${PARSE[$preset]} | ${PARSEALL[$preset]} | $((peak / 1024)) | $((INPUT[$preset] / 1048576)) |")
        echo "$preset ModelSet $modelset $classes: ${WALL[$key]} s (cpu ${CPU[$key]} s; cat ${CAT[$preset]} s, parse ${PARSE[$preset]} s, on $CORES cores ${PARSEALL[$preset]} s), peak $peak KiB"
    done
done

# large-x2 against large in runs taken one after the other, three pairs a kind: this machine's
# speed drifts by a quarter and more within minutes, which medians measured minutes apart (the
# table's) would put into the ratio.
declare -A PAIRED
for kind in "0 draws" "1 draws" "0 expected"; do
    read -r modelset classes <<<"$kind"
    single=()
    double=()
    for _ in 1 2 3; do
        single+=("$(run_once large "$modelset" 0 "$BUILD/pair-large" "$classes" | awk '{ print $1 }')")
        double+=("$(run_once large-x2 "$modelset" 0 "$BUILD/pair-large-x2" "$classes" |
            awk '{ print $1 }')")
    done
    PAIRED[$modelset-$classes]="$(printf '%s\n' "${double[@]}" | median)"
    PAIRED[$modelset-$classes]+=" $(printf '%s\n' "${single[@]}" | median)"
done

# The same bytes whatever the number of threads ("large" under both model sets and both ways of
# giving LiDAR trees their classes, and in hundredths of a foot).
same_threads=yes
for kind in "large 0 draws" "large 1 draws" "large 0 expected" "large-2dec 0 draws" \
    "large-2dec 0 expected"; do
    read -r preset modelset classes <<<"$kind"
    for threads in 1 2 8; do
        run_once "$preset" "$modelset" "$threads" "$BUILD/threads-$threads" "$classes" >/dev/null
    done
    for threads in 2 8; do
        diff -r "$BUILD/threads-1/DATA FILES" "$BUILD/threads-$threads/DATA FILES" \
            -I 'run-time' -I 'Report.html' >/dev/null ||
            same_threads="NO ($preset, ModelSet $modelset, $classes, $threads threads)"
    done
done
echo "1, 2 and 8 threads write the same files: $same_threads"

# Steps 6 and 7 with random draws and with expected shares on "large" and "large-2dec"
# (MaxItern 100).
lidar_classes=""
for preset in large large-2dec; do
    lidar_classes+="$preset:"$'\n\n'"$("$ROOT/bench/lidar_classes.sh" "$CLI" "$DATA/$preset" "$BUILD")"$'\n\n'
done
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
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
targets=()
if [ -n "${WALL[state-0-draws]:-}" ]; then
    for classes in draws expected; do
        key=state-0-$classes
        targets+=("$(check "state, $classes, wall clock" "${WALL[$key]}" 8 s)")
        targets+=("$(check "state, $classes, run / parse only on $CORES cores" \
            "$(ratio "${WALL[$key]}" "${PARSEALL[state]}")" 3 x)")
        # 500 MB are 476.8 MiB.
        targets+=("$(check "state, $classes, peak memory (under 500 MB)" \
            "$((PEAK[$key] / 1024))" 476 MiB)")
    done
fi
for preset in large large-2dec; do
    for classes in draws expected; do
        targets+=("$(check "$preset, ModelSet 0, $classes, wall clock" \
            "${WALL[$preset-0-$classes]}" 0.6 s)")
    done
done
targets+=("$(check "large, ModelSet 1, wall clock" "${WALL[large-1-draws]}" 3 s)")
for kind in "0 draws" "1 draws" "0 expected"; do
    read -r m classes <<<"$kind"
    read -r double single <<<"${PAIRED[$m-$classes]}"
    targets+=("$(check "large-x2 / large, ModelSet $m, $classes, wall clock (runs in pairs)" \
        "$(ratio "$double" "$single")" 2.1 x)")
done
targets+=("$(atleast "LiDAR-layout reader, one core" "${reader_mbs:-0}" 400 MB/s)")
if [ "$same_threads" = yes ]; then verdict=met; else verdict="MISSED: $same_threads"; fi
targets+=("| the same files at 1, 2 and 8 threads (large, large-2dec) | ${same_threads%% *} | yes | $verdict |")
taper=$("$BUILD/bin/bench_tapervol" 2>/dev/null | grep '^BM_' || true)

{
    echo "# Performance"
    echo
    echo "Measured by \`bench/run.sh\` on $(date -u +%Y-%m-%d), $(nproc) cores, $(uname -m), load average"
    echo "$(cut -d' ' -f1-3 /proc/loadavg) when the table was written."
    echo
    echo "Whole run of steps 5 to 9 (\`orravant-cli run\` on all cores; median of 3, \"state\" once;"
    echo "wall-clock time and the CPU time of all threads), with the LiDAR trees drawn into their"
    echo "classes (LidarClasses=draws) or entering every class with its share (expected), beside"
    echo "the time it takes only to read the same input files once, measured in the same run:"
    echo "\`cat\` to /dev/null from the page cache, and the parse-only pass that splits and"
    echo "converts the tree file and both LiDAR files with the comma reader, on one core and on"
    echo "all $CORES. Then peak resident memory and input size:"
    echo
    echo "| data set | ModelSet | LidarClasses | run (s) | CPU (s) | cat (s) | parse only, 1 core (s) | parse only, $CORES cores (s) | peak memory (MiB) | input (MiB) |"
    echo "|---|---|---|---|---|---|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
    echo
    echo "Targets (large-x2 / large from three pairs of runs a kind, one of each taken one after"
    echo "the other, apart from the table's runs):"
    echo
    echo "| target | measured | limit | |"
    echo "|---|---|---|---|"
    printf '%s\n' "${targets[@]}"
    echo
    echo "Steps 6 and 7 on \"large\" and \"large-2dec\" (ModelSet 0, MaxItern 100, all cores;"
    echo "median of 3) with the LiDAR trees drawn into their classes (LidarClasses=draws) and"
    echo "entering every class with its share (LidarClasses=expected):"
    echo
    printf '%s' "$lidar_classes"
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
