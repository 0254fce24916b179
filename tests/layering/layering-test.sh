#!/usr/bin/env bash
# The layering test: the real source tree passes check-layering.sh; and the check itself is
# checked: on small trees made here, each with one include that breaks one rule, it must fail,
# and on a tree whose includes all point down it must pass.
set -uo pipefail

source_dir="${1:?usage: layering-test.sh SOURCE_DIR}"
check="$source_dir/tests/layering/check-layering.sh"
failures=0

if ! bash "$check" "$source_dir"; then
    echo "FAIL: the source tree has includes that point up the layers"
    failures=$((failures + 1))
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# tree NAME FILE INCLUDE: a tree with the allowed includes below, plus FILE holding INCLUDE.
tree() {
    local dir="$scratch/$1"
    mkdir -p "$dir"/{core,files,engine/phase1,model/session,gui,cli,app,tools/generator}
    printf '#include <vector>\n' >"$dir/core/Numbers.h"
    printf '#include "core/Numbers.h"\n' >"$dir/files/StrataFile.h"
    printf '#include "files/StrataFile.h"\n#include "core/Numbers.h"\n' \
        >"$dir/engine/phase1/Step.cpp"
    printf '#include "engine/phase1/Step.h"\n' >"$dir/model/session/Session.cpp"
    printf '#include "model/session/Session.h"\n#include <QWidget>\n' >"$dir/gui/MainWindow.cpp"
    printf '#include "model/session/Session.h"\n#include "tools/generator/Gen.h"\n' \
        >"$dir/cli/Main.cpp"
    printf '#include "gui/MainWindow.h"\n#include <QtWidgets/QApplication>\n' >"$dir/app/main.cpp"
    [ -z "${2:-}" ] || printf '%s\n' "$3" >>"$dir/$2"
    printf '%s' "$dir"
}

expect() {  # pass|fail NAME FILE INCLUDE
    local want="$1" dir out
    dir="$(tree "$2" "${3:-}" "${4:-}")"
    if out="$(bash "$check" "$dir" 2>&1)"; then got=pass; else got=fail; fi
    if [ "$got" != "$want" ]; then
        echo "FAIL: check-layering.sh should $want on $2 (${4:-no extra include}), it did not:"
        printf '%s\n' "$out"
        failures=$((failures + 1))
    fi
}

expect pass clean
expect fail core-files core/Numbers.h '#include "files/StrataFile.h"'
expect fail core-engine core/Numbers.cpp '#include "engine/phase1/Step.h"'
expect fail core-gui core/Numbers.h '#include <gui/MainWindow.h>'
expect fail files-engine files/StrataFile.h '#include "engine/phase1/Step.h"'
expect fail files-model files/StrataFile.h '  #  include "model/session/Session.h"'
expect fail engine-model engine/phase1/Step.cpp '#include "model/session/Session.h"'
expect fail engine-cli engine/phase1/Step.cpp '#include "cli/Main.h"'
expect fail model-gui model/session/Session.cpp '#include "gui/MainWindow.h"'
expect fail model-widgets model/session/Session.cpp '#include <QtWidgets/QDialog>'
expect fail engine-widget engine/phase1/Step.cpp '#include <QWidget>'
expect fail files-qt files/StrataFile.h '#include <QString>'
expect fail cli-qt cli/Main.cpp '#include <QtCore/qstring.h>'
expect pass comment-only engine/phase1/Step.cpp '// #include "model/session/Session.h"'
if bash "$check" "$scratch/no-such-tree" >/dev/null 2>&1; then
    echo "FAIL: check-layering.sh should refuse a folder without core/"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "layering: every include points down" 
exit $((failures > 0))
