#!/usr/bin/env bash
# Runs steps 5 to 9 with a fixed seed on the bundled sample and on the generated "large" data set
# (both model sets) and compares every file, and what the command line printed, with the
# fingerprints kept beside this script. They were taken from the program as it was before the
# code was reorganised; a change that alters any output must update them on purpose.
#
#   golden_run.sh CLI SOURCE_DIR WORK_DIR [update]
set -euo pipefail
CLI="$1"
SRC="$2"
WORK="$3"
MODE="${4:-check}"
HERE="$SRC/tests/golden"

rm -rf "$WORK"
mkdir -p "$WORK/large"
"$CLI" generate --out "$WORK/large" --preset large --seed 1 >/dev/null

# run NAME DATA_DIR THREADS [params...]
run() {
    local name="$1" data="$2" threads="$3"
    shift 3
    local app="$WORK/$name"
    mkdir -p "$app"
    local settings=()
    mapfile -t settings <"$data/params.txt"
    "$CLI" --app-dir "$app" params set "${settings[@]}" "$@" >/dev/null
    local status=0
    (cd "$data" && "$CLI" --app-dir "$app" run --dataset GOLD --seed 7 --threads "$threads" \
        --product-code drop --coeff coefficients.csv --strata strata.csv --dbh dbh.csv \
        --trees trees.csv --ds1 lidar-ds1.csv --ds2 lidar-ds2.csv \
        >"$app/stdout.txt" 2>"$app/stderr.txt") || status=$?
    echo "exit $status" >>"$app/stderr.txt"
    sed -i "s#$app#APPDIR#g" "$app/stdout.txt" "$app/stderr.txt"
    local manifest="$HERE/$name.sha256"
    if [ "$MODE" = update ]; then
        (cd "$app" && sha256sum stdout.txt stderr.txt DATA\ FILES/*) >"$manifest"
        echo "updated $manifest"
    elif ! (cd "$app" && sha256sum --quiet -c "$manifest"); then
        echo "FAILED: $name differs from $manifest (files kept in $app)"
        exit 1
    fi
}

run sample "$SRC/examples/sample" 8
run large-modelset1 "$WORK/large" 2 ModelSet=1 PTIP=4
run large-modelset0 "$WORK/large" 1
echo "every file as before"
