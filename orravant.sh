#!/usr/bin/env bash
# Orravant: set-up, build, tests and the sample run, on a Debian machine.
#
#   ./orravant.sh demo            install what is missing, build, run steps 5 to 9 on the sample data
#   ./orravant.sh test            install what is missing, build with the sanitizers, run every test
#                                 (as root also the package test: build, install, run, purge)
#   ./orravant.sh build           install what is missing and build
#   ./orravant.sh package         build the Debian package build/package/orravant_VERSION_ARCH.deb
#   ./orravant.sh gui [--app-dir DIR]   build and start the desktop program
#   ./orravant.sh bench           build the benchmarks and time the large data sets
#   ./orravant.sh fuzz [SECONDS]  run every fuzz target for that long (default 60)
#   ./orravant.sh tsan            build with the thread sanitizer, run the tests of the threaded steps
#   ./orravant.sh tidy            run clang-tidy (.clang-tidy) over the program's code; fails on a finding
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BUILD="$ROOT/build"           # the program: build/bin/orravant, build/bin/orravant-cli
TEST_BUILD="$ROOT/build/test" # the same code with the address and undefined-behaviour sanitizers
PACKAGE_BUILD="$ROOT/build/package" # a Release build of the programs, and the .deb made from it
JOBS="$(nproc 2>/dev/null || echo 2)"

PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev
          qt6-base-dev qt6-qpa-plugins libgl-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
          libssl-dev)
# What the tests need besides: a browser that renders the report of step 9.
TEST_TOOLS=(chromium strace)
# What the benchmarks need besides.
BENCH_TOOLS=(libbenchmark-dev)
# What making and checking the Debian package needs besides.
PACKAGE_TOOLS=(dpkg-dev file lintian desktop-file-utils appstream man-db)

say() { printf '%s\n' "$*"; }

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        say "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update
        apt-get install -y --no-install-recommends "${missing[@]}"
    else
        say "These Debian packages are missing. Install them as root, then run this again:"
        say "  apt-get install -y --no-install-recommends ${missing[*]}"
        exit 1
    fi
}

# Every tree is built as a unity build: the sources of a target are compiled sixteen to a unit,
# so the Qt, standard and test headers are read once a unit instead of once a file. It halves the
# time of a build from scratch; a change then rebuilds its unit, not just its file.
configure_and_build() {  # dir, extra cmake options...
    local dir="$1"
    shift
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 \
        "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}

build_program() {
    configure_and_build "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORRAVANT_TESTS=OFF
}

run_demo() {
    local cli="$BUILD/bin/orravant-cli"
    local app="$BUILD/demo"
    local data="$app/DATA FILES"
    local sample="$ROOT/examples/sample"
    rm -rf "$app"
    mkdir -p "$data"
    say "Application directory: $app"
    # The sample's input files go into the data directory under the data-set name DEMO, where the
    # desktop program's file dialogs open.
    cp "$sample/coefficients.csv" "$data/DEMO_COEFFIC.csv"
    cp "$sample/strata.csv" "$data/DEMO_STRATA.csv"
    cp "$sample/dbh.csv" "$data/DEMO_DBH.csv"
    cp "$sample/trees.csv" "$data/DEMO_trees.csv"
    cp "$sample/lidar-ds1.csv" "$data/DEMO_lidar-ds1.csv"
    cp "$sample/lidar-ds2.csv" "$data/DEMO_lidar-ds2.csv"
    cp "$sample/areas.csv" "$data/DEMO_AREAS.csv"
    local settings=()
    while IFS= read -r line; do
        [ -n "$line" ] && settings+=("$line")
    done <"$sample/params.txt"
    "$cli" --app-dir "$app" params set "${settings[@]}"
    "$cli" --app-dir "$app" params
    (cd "$data" && "$cli" --app-dir "$app" run --dataset DEMO --seed 20261207 \
        --coeff DEMO_COEFFIC.csv --strata DEMO_STRATA.csv --dbh DEMO_DBH.csv \
        --trees DEMO_trees.csv --ds1 DEMO_lidar-ds1.csv --ds2 DEMO_lidar-ds2.csv \
        --areas DEMO_AREAS.csv --product-code drop)
    say ""
    say "Files in $data/:"
    ls -1 "$data"
    say ""
    for report in DEMO_VolSum.txt DEMO_Regress.txt DEMO_StratVol.txt DEMO_Report.html; do
        if [ -f "$data/$report" ]; then
            say "Report: $data/$report"
        fi
    done
    if [ -f "$data/DEMO_StratVol.txt" ]; then
        awk '/^combined/ { printf "Combined estimate: YbarLR %s cu.ft per acre, standard error %s, SE %s%%\n", $2, $3, $4 }' \
            "$data/DEMO_StratVol.txt"
    fi
    # The strata combined by their areas (the selected regression) and the total over the forest.
    if [ -f "$data/DEMO_Estimates.csv" ]; then
        awk -F, '$1 == "combined-area" && $3 == 1 {
            printf "Area-weighted mean: %.1f cu.ft per acre (95%% interval %.1f to %.1f)\n", $8, $12, $13
            printf "Total over %.1f acres: %.0f cu.ft (95%% interval %.0f to %.0f)\n", $17, $18, $20, $21 }' \
            "$data/DEMO_Estimates.csv"
    fi
}

# The programs of the package, without the tests; `cmake --build ... --target package` (the package
# test does it) then makes the .deb.
# They are compiled as Debian compiles its packages: -O2 and the hardening flags (without -g: the
# package strips the programs anyway, and the debug information doubles the build time).
build_package_programs() {
    local flags=(env DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get)
    local cxxflags
    cxxflags="$("${flags[@]}" CPPFLAGS) $("${flags[@]}" CXXFLAGS | sed 's/\(^\| \)-g\( \|$\)/ /')"
    configure_and_build "$PACKAGE_BUILD" -DCMAKE_BUILD_TYPE=Release -DORRAVANT_TESTS=OFF \
        -DORRAVANT_SANITIZE=OFF -DORRAVANT_GUI=ON -DCMAKE_CXX_FLAGS="$cxxflags" \
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DCMAKE_EXE_LINKER_FLAGS="$("${flags[@]}" LDFLAGS)"
}

build_package() {
    build_package_programs
    rm -f "$PACKAGE_BUILD"/orravant_*.deb
    cmake --build "$PACKAGE_BUILD" --target package
    local deb
    deb="$(ls "$PACKAGE_BUILD"/orravant_*.deb)"
    say ""
    say "Package: $deb"
    say "Install it (as root) with: apt-get install $deb"
}

run_tests() {
    configure_and_build "$TEST_BUILD" -DCMAKE_BUILD_TYPE=Debug -DORRAVANT_SANITIZE=ON \
        -DORRAVANT_PACKAGE_BUILD="$PACKAGE_BUILD"
    # The package test (as root) installs the .deb of the Release build made here, and the golden
    # runs check the large data set on its program; built after the tests, so that it is never
    # older than the program they test.
    [ "$(id -u)" -ne 0 ] || build_package_programs
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$TEST_BUILD" --output-on-failure -j "$JOBS"
}

# The tests of the code that runs on several threads: the parallel-for, steps 6 to 9 (steps 8 and
# 9 read their two Phase 1 files at once), and the runner that gathers the warnings of every
# thread of a step.
run_tsan() {
    local dir="$ROOT/build/tsan"
    local tests=(core_tests phase2_tests engine_distribution_tests engine_phase1_tests
                 combine_tests engine_doublesample_tests workflow_tests step_declaration_tests)
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORRAVANT_TSAN=ON \
        -DORRAVANT_GUI=OFF >/dev/null
    # Only these tests and the command-line program they may run, not the whole tree.
    cmake --build "$dir" -j "$JOBS" --target "${tests[@]}" orravant-cli
    TSAN_OPTIONS="halt_on_error=1" ctest --test-dir "$dir" --output-on-failure -j "$JOBS" \
        -R "^($(IFS='|' && echo "${tests[*]}"))\$"
}

# clang-tidy with the checks of .clang-tidy over every source file of the program (not the tests),
# on the compile database of a tree of its own that lists each source file (the other trees are
# unity builds); any finding fails.
run_tidy() {
    local dir="$ROOT/build/tidy"
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORRAVANT_SANITIZE=ON \
        -DCMAKE_UNITY_BUILD=OFF >/dev/null
    local log
    log="$(mktemp)"
    run-clang-tidy -quiet -p "$dir" -j "$JOBS" -extra-arg=-fno-color-diagnostics \
        -header-filter="^$ROOT/(core|files|engine|model|gui|cli|app|tools)/" \
        "^$ROOT/(core|files|engine|model|gui|cli|app|tools)/.*\.cpp\$" 2>&1 | tee "$log" |
        grep -v '^\(clang-tidy\|[0-9]* warnings\? generated\|Suppressed\|Use -header-filter\)' ||
        true
    # clang-tidy may colour its findings whatever it is asked: the colours are taken out first.
    if sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -q ': \(warning\|error\): '; then
        rm -f "$log"
        say "clang-tidy: findings above"
        exit 1
    fi
    rm -f "$log"
    say "clang-tidy: no findings"
}

command="${1:-}"
[ $# -gt 0 ] && shift
case "$command" in
demo)
    install_missing
    build_program
    run_demo
    ;;
test)
    # Only root can run the package test, and only root can install its tools.
    if [ "$(id -u)" -eq 0 ]; then
        install_missing "${PACKAGE_TOOLS[@]}" "${TEST_TOOLS[@]}"
    else
        install_missing "${TEST_TOOLS[@]}"
    fi
    run_tests
    ;;
build)
    install_missing
    build_program
    ;;
package)
    install_missing "${PACKAGE_TOOLS[@]}"
    build_package
    ;;
gui)
    install_missing
    build_program
    if [ $# -eq 0 ]; then
        # Without an application directory the program starts on the sample data's.
        [ -f "$BUILD/demo/DATA FILES/DEMO_COEFFIC.csv" ] || run_demo
        set -- --app-dir "$BUILD/demo"
    fi
    exec "$BUILD/bin/orravant" "$@"
    ;;
bench)
    install_missing "${BENCH_TOOLS[@]}"
    exec "$ROOT/bench/run.sh" "$@"
    ;;
tsan)
    install_missing
    run_tsan
    ;;
tidy)
    install_missing clang-tidy
    run_tidy
    ;;
fuzz)
    install_missing clang libclang-rt-14-dev
    exec "$ROOT/tests/fuzz/run.sh" "${1:-60}"
    ;;
*)
    sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'
    [ -z "$command" ] || [ "$command" = "help" ] || [ "$command" = "--help" ] || exit 2
    ;;
esac
