#!/usr/bin/env bash
# report_in_browser.sh TSW_SIM CHROMIUM SCREENSHOT_CHECK SCENARIO WORK [failing]
# Writes the scenario's report and opens it in headless Chromium, which runs the page's script;
# then checks the page as the browser left it (the story's end): a blip at each of the eight
# law offices (a plug-in loaded again makes its own beside the old ones: as many blips as the
# world holds), the player's track, one timeline entry for every line the simulator printed,
# the failure shown at the top and on the timeline when the run failed (with "failing", the
# story gets a last expectation that fails), and a picture of the page that is not blank.
set -euo pipefail

sim=$1 chromium=$2 check=$3 scenario=$4 work=$5 failing=${6:-}
fail() {
    echo "$scenario: $*"
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
story=$scenario
if [ -n "$failing" ]; then
    story=$work/story.txt
    printf 'include %s\nexpect blips 9\n' "$scenario" >"$story"
fi
status=0
"$sim" --report "$work/report.html" "$story" >"$work/sim.log" 2>&1 || status=$?
expected_status=0
[ -n "$failing" ] && expected_status=1
[ "$status" -eq "$expected_status" ] || fail "tsw-sim exited $status (see $work/sim.log)"
lines=$(grep -c '^\[' "$work/sim.log")
[ -n "$failing" ] && lines=$((lines + 1)) # the failure is a timeline entry too

# The page as a person uses it, acted out by a script put in after the page's own: a click on
# the timeline line of the first blip made moves the slider there (blips on the map, not yet
# the end), the slider moved to the start shows the world before anything happened, and back
# at the end. What it saw goes into the page.
probe='<pre id="probe"></pre><script>
const lines = [...document.querySelectorAll("#timeline li")];
const blips = () => document.querySelectorAll("#map .blip").length;
const slider = document.getElementById("slider");
lines.find((line) => line.textContent.includes("map: sheriff blip")).click();
const clicked = "clicked " + slider.value + " of " + slider.max + ", blips " + blips();
slider.value = 0;
slider.dispatchEvent(new Event("input"));
const start = "start blips " + blips();
slider.value = slider.max;
slider.dispatchEvent(new Event("input"));
document.getElementById("probe").textContent = clicked + "; " + start;
</script>'
awk -v probe="$probe" '/^<\/body>/ { print probe } { print }' "$work/report.html" >"$work/probed.html"

# Without the background-networking switches Chromium's own connections are refused here.
timeout 120 "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --window-size=1400,1000 \
    --screenshot="$work/page.png" --dump-dom "file://$work/probed.html" \
    >"$work/dom.html" 2>"$work/chromium.log" || fail "Chromium failed (see $work/chromium.log)"

probed=$(grep -o '<pre id="probe">[^<]*' "$work/dom.html" | sed 's/.*>//')
[[ "$probed" =~ ^clicked\ ([0-9]+)\ of\ ([0-9]+),\ blips\ ([0-9]+)\;\ start\ blips\ 0$ ]] ||
    fail "the slider and the timeline do not work together: '$probed'"
[ "${BASH_REMATCH[1]}" -lt "${BASH_REMATCH[2]}" ] && [ "${BASH_REMATCH[3]}" -ge 1 ] ||
    fail "a click on the first blip's line did not show that moment: '$probed'"

count() { grep -o "$1" "$work/dom.html" | wc -l; }
towns=$(grep -o 'class="blip" data-town="[^"]*"' "$work/dom.html" | sort -u | wc -l)
[ "$towns" -eq 8 ] || fail "blips at $towns law offices, not 8"
blips=$(count 'class="blip"')
made=$(grep -c '^\[ *[0-9.]*\] map: sheriff blip at' "$work/sim.log" || true)
removed=$(grep -c '^\[ *[0-9.]*\] the game removes the blip at' "$work/sim.log" || true)
world_blips=$((made - removed))
[ "$blips" -eq "$world_blips" ] || fail "$blips blips on the map, $world_blips made"
track=$(grep -o 'id="track" points="[^"]*"' "$work/dom.html" || true)
[ "$(echo "$track" | wc -w)" -ge 4 ] || fail "no track of the player: '$track'"
entries=$(count '<li class="line')
[ "$entries" -eq "$lines" ] || fail "$entries timeline entries for $lines timeline lines"
if [ -n "$failing" ]; then
    grep -q 'id="failures"><div><a class="failure"[^>]*>At [0-9.]* s: line [0-9]*: expected 9 blips' \
        "$work/dom.html" || fail "the failure is not shown at the top"
    [ "$(count '<li class="line failed')" -eq 1 ] || fail "the failure is not on the timeline"
else
    [ "$(count 'class="failure"')" -eq 0 ] || fail "a failure shown for a run that passed"
fi
"$check" "$work/page.png" || fail "the page's picture is blank"
