#!/usr/bin/env bash
# Checks that every include of the program's code points down the layers:
#   core/    nothing from files/, engine/, model/, gui/, cli/, app/, tools/
#   files/   nothing from engine/, model/, gui/, cli/, app/, tools/
#   engine/  nothing from model/, gui/, cli/, app/, tools/
#   model/   nothing from gui/, cli/, app/
# and that nothing outside gui/ and app/ includes a Qt header (they build without Qt).
#
#   tests/layering/check-layering.sh ROOT    ROOT: the source tree (the folder holding core/)
#
# Prints every include that breaks a rule as FILE:LINE: and exits 1 when there is one.
set -euo pipefail

root="${1:?usage: check-layering.sh ROOT}"
if [ ! -d "$root/core" ]; then
    echo "$root: no core/ folder here; give the source tree" >&2
    exit 2
fi
cd "$root"

broken=0
# forbid FOLDER PATTERN WHAT: no source file below FOLDER has an include whose name matches the
# extended regular expression PATTERN (the text after the opening < or ").
forbid() {
    local folder="$1" pattern="$2" what="$3" hits
    [ -d "$folder" ] || return 0
    hits="$(grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' \
        "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($pattern)" "$folder" || true)"
    [ -n "$hits" ] || return 0
    while IFS= read -r hit; do
        printf '%s  (%s/ may not include %s)\n' "$hit" "$folder" "$what"
    done <<<"$hits"
    broken=1
}

forbid core '(files|engine|model|gui|cli|app|tools)/' 'files, engine, model, gui, cli, app or tools'
forbid files '(engine|model|gui|cli|app|tools)/' 'engine, model, gui, cli, app or tools'
forbid engine '(model|gui|cli|app|tools)/' 'model, gui, cli, app or tools'
forbid model '(gui|cli|app)/' 'gui, cli or app'
qt='Q[A-Za-z0-9_]*(/|>|\.h)'
for folder in core files engine model cli tools; do
    forbid "$folder" "$qt" 'Qt: only gui/ and app/ use Qt'
done

if [ "$broken" -ne 0 ]; then
    echo "Includes that point up the layers (see DESIGN.md, Shape)." >&2
    exit 1
fi
