#!/usr/bin/env bash
# The Debian package as an IT department would use it: made by CPack in a Release build, checked
# by lintian, installed with apt-get, its programs run from the installed files (--version and
# steps 5 to 9 on the installed sample data, whose files must equal those the build tree's
# program writes for the same run), and purged again. Needs root; skipped (77) otherwise.
#
#   package_test.sh VERSION PACKAGE_BUILD_DIR SOURCE_DIR BUILD_CLI WORK_DIR
set -euo pipefail
VERSION="$1"
PKG_BUILD="$2"
SRC="$3"
BUILD_CLI="$4"
WORK="$5"
started=$SECONDS

skip() {
    echo "SKIPPED: $*"
    exit 77
}
fail() {
    echo "FAILED: $*"
    exit 1
}
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
[ -f "$PKG_BUILD/CMakeCache.txt" ] ||
    skip "no Release build in $PKG_BUILD; './orravant.sh package' or './orravant.sh test' makes it"
for tool in apt-get dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || fail "$tool is missing; './orravant.sh test' installs it"
done

rm -rf "$WORK"
mkdir -p "$WORK"
export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -y -q -o DPkg::Lock::Timeout=300)

# The package, from the Release build (whose programs ./orravant.sh has built just before).
deb="$PKG_BUILD/orravant_${VERSION}_$(dpkg --print-architecture).deb"
rm -f "$deb"
cmake --build "$PKG_BUILD" --target package >"$WORK/cpack.log" 2>&1 ||
    fail "the package could not be made:"$'\n'"$(cat "$WORK/cpack.log")"
[ -f "$deb" ] || fail "CPack did not write $deb"
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Section Installed-Size Depends

# lintian: no errors (warnings and notes are shown, not counted).
lintian --fail-on error --display-info "$deb" || fail "lintian reports errors on $deb"

# Installed from the file, with its dependencies from the archive; purged whatever happens next.
trap '"${apt[@]}" purge orravant >/dev/null 2>&1 || true' EXIT
"${apt[@]}" install "$deb" >"$WORK/install.log" 2>&1 ||
    fail "apt-get install $deb failed:"$'\n'"$(cat "$WORK/install.log")"

for file in /usr/bin/orravant /usr/bin/orravant-cli /usr/share/man/man1/orravant.1.gz \
    /usr/share/man/man1/orravant-cli.1.gz /usr/share/orravant/help/index.html \
    /usr/share/orravant/sample/params.txt /usr/share/applications/orravant.desktop \
    /usr/share/icons/hicolor/scalable/apps/orravant.svg \
    /usr/share/metainfo/org.orravant.Orravant.metainfo.xml /usr/share/doc/orravant/copyright \
    /usr/share/doc/orravant/changelog.gz; do
    [ -f "$file" ] || fail "the package did not install $file"
done
desktop-file-validate /usr/share/applications/orravant.desktop ||
    fail "desktop-file-validate finds errors in the desktop entry"
appstreamcli validate --no-net /usr/share/metainfo/org.orravant.Orravant.metainfo.xml ||
    fail "appstreamcli finds errors in the AppStream file"

[ "$(orravant-cli --version)" = "orravant-cli (Orravant) $VERSION" ] ||
    fail "the installed orravant-cli --version prints '$(orravant-cli --version)'"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY orravant --version)" = "orravant (Orravant) $VERSION" ] ||
    fail "the installed orravant --version prints '$(orravant --version)'"
orravant-cli --version

# sample_run CLI SAMPLE_DIR APP_DIR: the sample's parameters, then steps 5 to 9 into APP_DIR.
sample_run() {
    local cli="$1" sample="$2" app="$3"
    local settings=()
    mapfile -t settings <"$sample/params.txt"
    "$cli" --app-dir "$app" params set "${settings[@]}" >/dev/null
    "$cli" --app-dir "$app" run --dataset SAMPLE --seed 20261207 --product-code drop \
        --coeff "$sample/coefficients.csv" --strata "$sample/strata.csv" \
        --dbh "$sample/dbh.csv" --trees "$sample/trees.csv" \
        --ds1 "$sample/lidar-ds1.csv" --ds2 "$sample/lidar-ds2.csv" >"$app.log" 2>&1 ||
        fail "the sample run of $cli failed:"$'\n'"$(cat "$app.log")"
    sed -i "s#$app#APPDIR#g" "$app.log"
    # The minute of the run is in the report, and so in the report's SHA-256 in the run record:
    # two runs on either side of a minute differ only there.
    local report="$app/DATA FILES/SAMPLE_Report.html"
    local sha
    sha=$(sha256sum "$report" | cut -d' ' -f1)
    sed -i "s/$sha/REPORT-SHA-256/" "$app/DATA FILES/SAMPLE_Run.csv"
    sed -i 's#<dd class="run-time">[^<]*</dd>#<dd class="run-time">RUN TIME</dd>#' "$report"
}
sample_run /usr/bin/orravant-cli /usr/share/orravant/sample "$WORK/installed"
sample_run "$BUILD_CLI" "$SRC/examples/sample" "$WORK/build"
diff -r "$WORK/build/DATA FILES" "$WORK/installed/DATA FILES" ||
    fail "the installed program's files differ from the build tree's"
diff "$WORK/build.log" "$WORK/installed.log" ||
    fail "the installed program's log differs from the build tree's"
ls "$WORK/installed/DATA FILES" | grep -q '^SAMPLE_StratVol.txt$' ||
    fail "the installed program wrote no SAMPLE_StratVol.txt"
echo "the installed sample run wrote the same $(ls "$WORK/installed/DATA FILES" | wc -l) files"

trap - EXIT
"${apt[@]}" purge orravant >"$WORK/purge.log" 2>&1 ||
    fail "apt-get purge orravant failed:"$'\n'"$(cat "$WORK/purge.log")"
! dpkg-query -W -f='${Status}\n' orravant 2>/dev/null | grep -q 'ok installed' ||
    fail "orravant is still installed after the purge"
for left in /usr/bin/orravant /usr/bin/orravant-cli /usr/share/orravant /usr/share/doc/orravant; do
    [ ! -e "$left" ] || fail "$left is left after the purge"
done
echo "package built, checked, installed, run and purged in $((SECONDS - started)) s"
