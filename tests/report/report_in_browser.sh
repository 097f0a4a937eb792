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
    cp "$scenario" "$story"
    echo "expect blips 9" >>"$story"
fi
status=0
"$sim" --report "$work/report.html" "$story" >"$work/sim.log" 2>&1 || status=$?
expected_status=0
[ -n "$failing" ] && expected_status=1
[ "$status" -eq "$expected_status" ] || fail "tsw-sim exited $status (see $work/sim.log)"
lines=$(grep -c '^\[' "$work/sim.log")
[ -n "$failing" ] && lines=$((lines + 1)) # the failure is a timeline entry too

# Without the background-networking switches Chromium's own connections are refused here.
timeout 120 "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --window-size=1400,1000 \
    --screenshot="$work/page.png" --dump-dom "file://$work/report.html" \
    >"$work/dom.html" 2>"$work/chromium.log" || fail "Chromium failed (see $work/chromium.log)"

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
