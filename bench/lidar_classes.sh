#!/usr/bin/env bash
# Steps 6 and 7 with LidarClasses=draws and LidarClasses=expected on one data set (as bench/run.sh
# generates it), in the same run: step 5 once, then each step in each mode three times in turn,
# and the median wall-clock and CPU seconds of each. Prints a Markdown table.
#
#   bench/lidar_classes.sh CLI DATA_DIR WORK_DIR [THREADS]
set -euo pipefail
CLI="$1"
DATA="$2"
WORK="$3"
THREADS="${4:-0}"

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

app="$WORK/app-lidar-classes"
rm -rf "$app"
mkdir -p "$app"
settings=()
mapfile -t settings <"$DATA/params.txt"
"$CLI" --app-dir "$app" params set "${settings[@]}" >/dev/null

# step STEP MODE: one run of the step; prints "wall cpu".
step() {
    "$CLI" --app-dir "$app" params set "LidarClasses=$2" >/dev/null
    (cd "$DATA" && /usr/bin/time -f '%e %U %S' "$CLI" --app-dir "$app" run --dataset BENCH \
        --steps "$1" --seed 1 --threads "$THREADS" --product-code drop \
        --coeff coefficients.csv --strata strata.csv --dbh dbh.csv --trees trees.csv \
        --ds1 lidar-ds1.csv --ds2 lidar-ds2.csv >/dev/null) 2>&1 | tail -1 |
        awk '{ printf "%s %.2f\n", $1, $2 + $3 }'
}

step 5 draws >/dev/null
declare -A WALL CPU
for s in 6 7; do
    for mode in draws expected; do
        WALL[$s-$mode]=""
        CPU[$s-$mode]=""
    done
    for _ in 1 2 3; do
        for mode in draws expected; do
            # Step 7 reads the species counts of step 6: run it after a step 6 of the same mode.
            [ "$s" = 7 ] && step 6 "$mode" >/dev/null
            read -r wall cpu <<<"$(step "$s" "$mode")"
            WALL[$s-$mode]+="$wall "
            CPU[$s-$mode]+="$cpu "
        done
    done
done

echo "| step | LidarClasses | wall (s) | CPU (s) |"
echo "|---|---|---|---|"
for s in 6 7; do
    for mode in draws expected; do
        wall=$(tr ' ' '\n' <<<"${WALL[$s-$mode]}" | grep . | median)
        cpu=$(tr ' ' '\n' <<<"${CPU[$s-$mode]}" | grep . | median)
        echo "| $s | $mode | $wall | $cpu |"
    done
done
