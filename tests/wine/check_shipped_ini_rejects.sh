#!/usr/bin/env bash
# check_shipped_ini_rejects.sh CHECKER INI PROBE: the checker must refuse each of a few
# broken copies of the shipped settings file, so that its passing means something.
set -euo pipefail

checker=$1 ini=$2 probe=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -f "$ini" ] || { echo "$ini: missing (run ./tsw build)"; exit 1; }

failures=0
expect_rejected() {
    local what=$1 copy=$work/$2
    if bash "$checker" "$copy" "$probe" >"$copy.out" 2>&1; then
        echo "accepted a copy with $what:"
        cat "$copy.out"
        failures=$((failures + 1))
    fi
}

tr -d '\r' <"$ini" >"$work/lf.ini"
expect_rejected "Unix line ends" lf.ini

sed 's/^\(GO_UP_KEY=33\)\r$/\1 ; page up\r/' "$ini" >"$work/trailing_note.ini"
expect_rejected "a note after a value" trailing_note.ini

awk '/^RESET_KEY=/ { print "\r" } { print }' ORS='\n' "$ini" >"$work/unexplained.ini"
expect_rejected "a setting without a note right above it" unexplained.ini

sed 's/^GREETING_FREQUENCY=2\r$/GREETING_FREQUENCY=3\r/' "$ini" >"$work/changed.ini"
expect_rejected "a changed value" changed.ini

grep -v '^ROTATE_LEFT_KEY=' "$ini" >"$work/missing.ini"
expect_rejected "a missing setting" missing.ini

sed 's/^\[BADGE_ADJUSTING\]\r$/[BADGE_ADJUST]\r/' "$ini" >"$work/section.ini"
expect_rejected "a misspelt section" section.ini

[ "$failures" -eq 0 ] && echo "the settings check refused all 6 broken copies"
