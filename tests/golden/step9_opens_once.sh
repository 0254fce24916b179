#!/usr/bin/env bash
# Step 9 run alone on the bundled sample under strace: each file it reads (the strata and tree
# files, the five files of the data set that steps 5, 7 and 8 wrote) is opened exactly once; the
# fingerprints of its run record are taken while the step reads, not by reading again.
#
#   step9_opens_once.sh CLI SOURCE_DIR WORK_DIR      (exit 77 when strace is not installed)
set -euo pipefail
CLI="$1"
SAMPLE="$2/examples/sample"
WORK="$3"
command -v strace >/dev/null || { echo "strace is not installed"; exit 77; }
export ASAN_OPTIONS=detect_leaks=0
rm -rf "$WORK"
mkdir -p "$WORK/app"
mapfile -t settings <"$SAMPLE/params.txt"
"$CLI" --app-dir "$WORK/app" params set "${settings[@]}" >/dev/null
cd "$SAMPLE"
"$CLI" --app-dir "$WORK/app" run --dataset S --seed 7 --product-code drop --coeff coefficients.csv \
    --strata strata.csv --dbh dbh.csv --trees trees.csv --ds1 lidar-ds1.csv --ds2 lidar-ds2.csv \
    --steps 5,6,7,8 >/dev/null
strace -f -e trace=open,openat -o "$WORK/strace.txt" \
    "$CLI" --app-dir "$WORK/app" run --dataset S --steps 9 --strata strata.csv --trees trees.csv \
    >/dev/null
status=0
data="$WORK/app/DATA FILES"
for file in "$SAMPLE/strata.csv" "$SAMPLE/trees.csv" "$data/S_Phase1DS1.csv" \
    "$data/S_Phase1DS2.csv" "$data/S_Phase2.csv" "$data/S_PH2Plot.csv" "$data/S_PH2Sum.csv"; do
    opened="$(grep -v ENOENT "$WORK/strace.txt" | grep -cF "\"$(realpath -s "$file")\"" || true)"
    if [ "$opened" != 1 ]; then
        echo "FAILED: $file opened $opened times by step 9"
        status=1
    fi
done
[ "$status" = 0 ] && echo "step 9 opened each input once"
exit "$status"
