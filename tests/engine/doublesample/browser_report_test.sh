#!/usr/bin/env bash
# Step 9's report for the browser, opened by a real browser: the command line runs steps 5 to 9 on
# the bundled sample and names the report on its last line; headless Chromium loads the file
# (offline, from a fresh profile) and the DOM it renders must hold one estimates row per row of
# _Estimates.csv, one scatter SVG per stratum index (0 to the largest stratum of the strata file),
# one allocation row per row of _Allocation.csv and one plan row per row of _Plan.csv. The run
# gives the sample's stratum areas, so the rows of the strata combined by area are among them. The
# page must not scroll sideways at the width of a laptop (1366 pixels) nor of a phone (412): the
# report is laid out by Chromium in a frame of each width and measured by the page around it.
# Without Chromium the test fails, unless the build opted out (ORRAVANT_SKIP_MISSING_BROWSER=ON),
# where it is skipped (77).
#
#   browser_report_test.sh CLI SOURCE_DIR WORK_DIR SKIP_MISSING_BROWSER
set -euo pipefail
CLI="$1"
SRC="$2"
WORK="$3"
SKIP_MISSING="${4:-OFF}"
fail() {
    echo "FAILED: $*"
    exit 1
}

browser="$(command -v chromium || command -v chromium-browser || true)"
if [ -z "$browser" ]; then
    [ "$SKIP_MISSING" = ON ] && { echo "SKIPPED: chromium is not installed"; exit 77; }
    fail "chromium is not installed; './orravant.sh test' installs it"
fi

rm -rf "$WORK"
mkdir -p "$WORK/app"
sample="$SRC/examples/sample"
settings=()
mapfile -t settings <"$sample/params.txt"
"$CLI" --app-dir "$WORK/app" params set "${settings[@]}" >/dev/null
"$CLI" --app-dir "$WORK/app" run --dataset SAMPLE --seed 20261207 --product-code drop \
    --coeff "$sample/coefficients.csv" --strata "$sample/strata.csv" --dbh "$sample/dbh.csv" \
    --trees "$sample/trees.csv" --ds1 "$sample/lidar-ds1.csv" --ds2 "$sample/lidar-ds2.csv" \
    --areas "$sample/areas.csv" >"$WORK/run.log" 2>&1 || fail "the sample run failed:"$'\n'"$(cat "$WORK/run.log")"
data="$WORK/app/DATA FILES"
report="$data/SAMPLE_Report.html"
[ "$(tail -n 1 "$WORK/run.log")" = "Report: $report" ] ||
    fail "the run's last line is '$(tail -n 1 "$WORK/run.log")', not 'Report: $report'"

# As root Chromium runs only without its sandbox; nothing may reach the network.
timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$WORK/profile" --dump-dom "file://${report// /%20}" \
    >"$WORK/dom.html" 2>"$WORK/browser.log" ||
    fail "chromium could not load the report:"$'\n'"$(tail -n 20 "$WORK/browser.log")"

count() { grep -o "$1" "$WORK/dom.html" | wc -l; }
rows=$(count '<tr class="estimate')
svgs=$(count '<svg class="scatter"')
classes=$(count '<tr class="class-line"')
estimates=$(($(wc -l <"$data/SAMPLE_Estimates.csv") - 1))
allocation=$(($(wc -l <"$data/SAMPLE_Allocation.csv") - 1))
strata=$(($(cut -d, -f1 "$sample/strata.csv" | sort -n | tail -n 1) + 1))
[ "$estimates" -gt 0 ] || fail "SAMPLE_Estimates.csv has no rows"
[ "$rows" -eq "$estimates" ] || fail "$rows estimate rows rendered, $estimates in the CSV file"
[ "$svgs" -eq "$strata" ] || fail "$svgs scatter SVGs rendered for $strata stratum indexes"
[ "$classes" -eq "$allocation" ] ||
    fail "$classes allocation rows rendered, $allocation in the CSV file"
plans=$(count '<tr class="plan-')
plan=$(($(wc -l <"$data/SAMPLE_Plan.csv") - 1))
[ "$plans" -eq "$plan" ] || fail "$plans plan rows rendered, $plan in SAMPLE_Plan.csv"
echo "the browser rendered $rows estimate rows, $svgs scatters, $classes allocation rows and" \
    "$plans plan rows"

grep -q '^combined-area,' "$data/SAMPLE_Estimates.csv" || fail "no combined-area rows with the areas"

# The page's own width against its viewport's, at a laptop's and a phone's width. Chromium keeps
# its window at least 500 pixels wide, so the report is laid out in a frame of the width wanted,
# which is the report's viewport (its media queries see that width); the page around it measures
# the report once everything is loaded (file access between the two pages allowed).
for width in 1366 412; do
    cat >"$WORK/frame-$width.html" <<HTML
<!DOCTYPE html><html><body style="margin:0">
<iframe id="report" src="file://${report// /%20}" style="width:${width}px;height:900px;border:0"></iframe>
<script>
window.addEventListener("load", function () {
  var frame = document.getElementById("report");
  var page = frame.contentDocument.documentElement;
  document.body.insertAdjacentHTML("beforeend", "<p id=\"page-width\">" + page.scrollWidth +
    " " + frame.contentWindow.innerWidth + "</p>");
});
</script></body></html>
HTML
    timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$WORK/profile-$width" --window-size=1400,1000 --hide-scrollbars \
        --allow-file-access-from-files --virtual-time-budget=5000 \
        --dump-dom "file://$WORK/frame-$width.html" >"$WORK/dom-$width.html" \
        2>"$WORK/browser-$width.log" || fail "chromium could not load the report at $width pixels"
    read -r page inner < <(sed -n 's#.*<p id="page-width">\([0-9]*\) \([0-9]*\)</p>.*#\1 \2#p' \
        "$WORK/dom-$width.html")
    [ -n "${page:-}" ] || fail "no width measured at $width pixels"
    [ "$inner" -eq "$width" ] || fail "the report was laid out $inner pixels wide, not $width"
    [ "$page" -le "$inner" ] ||
        fail "at $width pixels the page is $page pixels wide: it scrolls sideways"
    echo "at $width pixels: page $page, viewport $inner"
done
