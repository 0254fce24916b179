#!/usr/bin/env bash
# Runs steps 5 to 9 with a fixed seed on the bundled sample and on the generated "large" data set
# (both model sets) and compares every file, and what the command line printed, with the
# fingerprints kept beside this script. They were taken from the program as it was before the
# code was reorganised; a change that alters any output must update them on purpose.
#
# The report for the browser states when step 9 ran: that one field (the element of class
# "run-time", and nothing else) is replaced by a fixed text before the report is fingerprinted;
# the run fails when the report does not hold exactly one such field. The run record holds the
# report's SHA-256, which therefore changes with the time too: it must be the SHA-256 of the
# report as written, and only then is it replaced by a fixed text. A data set with stratum
# areas (areas.csv beside its files, as in the bundled sample) is run with --areas.
#
# The sample runs on CLI (the sanitized build of the tests). The two large runs take most of the
# time: they run on RELEASE_CLI when one is given and is at least as new as CLI (the optimized
# program as the package ships it, built from the same code by ./orravant.sh test), so that a
# build tree rebuilt without it never checks an older program.
#
#   golden_run.sh CLI SOURCE_DIR WORK_DIR [update|check] [RELEASE_CLI]
set -euo pipefail
CLI="$1"
SRC="$2"
WORK="$3"
MODE="${4:-check}"
LARGE_CLI="$CLI"
if [ -n "${5:-}" ] && [ -x "$5" ] && ! [ "$5" -ot "$1" ]; then
    LARGE_CLI="$5"
    echo "the large data set runs on $LARGE_CLI"
fi
HERE="$SRC/tests/golden"

rm -rf "$WORK"
mkdir -p "$WORK/large"
"$LARGE_CLI" generate --out "$WORK/large" --preset large --seed 1 >/dev/null

# run CLI NAME DATA_DIR THREADS [params...]
run() {
    local CLI="$1" name="$2" data="$3" threads="$4"
    shift 4
    local app="$WORK/$name"
    mkdir -p "$app"
    local settings=()
    mapfile -t settings <"$data/params.txt"
    local areas=()
    [ -f "$data/areas.csv" ] && areas=(--areas areas.csv)
    "$CLI" --app-dir "$app" params set "${settings[@]}" "$@" >/dev/null
    local status=0
    (cd "$data" && "$CLI" --app-dir "$app" run --dataset GOLD --seed 7 --threads "$threads" \
        --product-code drop --coeff coefficients.csv --strata strata.csv --dbh dbh.csv \
        --trees trees.csv --ds1 lidar-ds1.csv --ds2 lidar-ds2.csv "${areas[@]}" \
        >"$app/stdout.txt" 2>"$app/stderr.txt") || status=$?
    echo "exit $status" >>"$app/stderr.txt"
    sed -i "s#$app#APPDIR#g" "$app/stdout.txt" "$app/stderr.txt"
    local report="$app/DATA FILES/GOLD_Report.html"
    if [ -f "$report" ]; then
        local times
        times=$(grep -o '<dd class="run-time">[^<]*</dd>' "$report" | wc -l)
        [ "$times" -eq 1 ] || { echo "FAILED: $name: $times run-time fields in the report"; exit 1; }
        local sha
        sha=$(sha256sum "$report" | cut -d' ' -f1)
        grep -q "$sha" "$app/DATA FILES/GOLD_Run.csv" ||
            { echo "FAILED: $name: the run record does not hold the report's SHA-256"; exit 1; }
        sed -i "s/$sha/REPORT-SHA-256/" "$app/DATA FILES/GOLD_Run.csv"
        sed -i 's#<dd class="run-time">[^<]*</dd>#<dd class="run-time">RUN TIME</dd>#' "$report"
    fi
    local manifest="$HERE/$name.sha256"
    if [ "$MODE" = update ]; then
        (cd "$app" && sha256sum stdout.txt stderr.txt DATA\ FILES/*) >"$manifest"
        echo "updated $manifest"
    elif ! (cd "$app" && sha256sum --quiet -c "$manifest"); then
        echo "FAILED: $name differs from $manifest (files kept in $app)"
        exit 1
    fi
}

run "$CLI" sample "$SRC/examples/sample" 8
run "$LARGE_CLI" large-modelset1 "$WORK/large" 2 ModelSet=1 PTIP=4
run "$LARGE_CLI" large-modelset0 "$WORK/large" 1
echo "every file as before"
