#!/usr/bin/env bash
# The manual pages against the programs: each page renders without a warning from man, carries
# the version that --version prints, and names every option and command that --help prints.
#
#   man_pages.sh VERSION MAN_DIR CLI [DESKTOP_PROGRAM]
set -euo pipefail
VERSION="$1"
MAN_DIR="$2"
CLI="$3"
DESKTOP="${4:-}"
status=0
fail() {
    echo "FAILED: $*"
    status=1
}

# check PAGE PROGRAM HELP_TEXT: the page PAGE.1 against the program's --version and HELP_TEXT.
check() {
    local page="$MAN_DIR/$1.1" program="$2" help="$3"
    local warnings
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)" ||
        fail "man cannot show $page"
    [ -z "$warnings" ] || fail "$1(1) draws warnings from man:"$'\n'"$warnings"

    local version
    version="$("$program" --version)" || fail "$1 --version exits with $?"
    [ "$version" = "$1 (Orravant) $VERSION" ] || fail "$1 --version prints '$version'"
    grep -q "^\.TH .* \"Orravant $VERSION\"" "$page" || fail "$1(1) is not of version $VERSION"

    # The page's text with roff's escaped minus signs as plain ones.
    local text
    text="$(sed 's/\\-/-/g' "$page")"
    local word
    for word in $(grep -oE -- '--[a-z][a-z0-9-]*' <<<"$help" | sort -u); do
        grep -qF -- "$word" <<<"$text" || fail "$1(1) does not describe $word"
    done
}

cli_help="$("$CLI" --help)" || fail "orravant-cli --help exits with $?"
for command in params run generate spread; do
    grep -q "^  $command" <<<"$cli_help" || fail "orravant-cli --help does not list $command"
    grep -q "^\.SS \"\?$command" "$MAN_DIR/orravant-cli.1" ||
        fail "orravant-cli(1) has no section on $command"
done
run_help="$("$CLI" run --help)" || fail "orravant-cli run --help exits with $?"
generate_help="$("$CLI" generate --help)" || fail "orravant-cli generate --help exits with $?"
spread_help="$("$CLI" spread --help)" || fail "orravant-cli spread --help exits with $?"
check orravant-cli "$CLI" "$cli_help"$'\n'"$run_help"$'\n'"$generate_help"$'\n'"$spread_help"

if [ -n "$DESKTOP" ]; then
    # No display is needed: --help and --version are answered before any window opens.
    desktop_help="$(env -u DISPLAY -u WAYLAND_DISPLAY "$DESKTOP" --help)" ||
        fail "orravant --help exits with $?"
    check orravant "$DESKTOP" "$desktop_help"
fi

[ $status -eq 0 ] && echo "the manual pages agree with --help and --version"
exit $status
