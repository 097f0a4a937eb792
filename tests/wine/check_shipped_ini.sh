#!/usr/bin/env bash
# check_shipped_ini.sh INI PROBE: the shipped settings file, read strictly. Windows line
# ends throughout; every line a section, a ';' note, a KEY=NUMBER setting or blank; a note
# right above every setting; exactly the settings the plug-in reads, each in its section with
# the value it ships with (as `PROBE --list` gives them from the plug-in's own list).
set -euo pipefail

ini=$1 probe=$2
[ -f "$ini" ] || { echo "$ini: missing (run ./tsw build)"; exit 1; }
expected=$(mktemp)
trap 'rm -f "$expected"' EXIT
"$probe" --list >"$expected"

status=0
report=$(LC_ALL=C awk -v expected="$expected" '
    function fail(message) { print FILENAME ":" FNR ": " message; failed = 1 }
    BEGIN {
        while ((getline line < expected) > 0) {
            split(line, word, " ")
            want[word[1] " " word[2]] = word[3]
            wanted++
        }
    }
    {
        if (sub(/\r$/, "") == 0) fail("line does not end in CR LF")
        if ($0 ~ /\r/) fail("stray CR inside the line")
        if ($0 ~ /^;/) { previous = "note"; next }
        if ($0 == "") { previous = "blank"; next }
        if ($0 ~ /^\[[A-Z_]+\]$/) { section = substr($0, 2, length($0) - 2); previous = "section"; next }
        if ($0 !~ /^[A-Z_]+=[0-9]+$/) { fail("not a section, note or KEY=NUMBER: " $0); previous = ""; next }
        if (previous != "note") fail("no note line right above " $0)
        previous = "setting"
        split($0, pair, "=")
        id = section " " pair[1]
        if (id in seen) fail("[" section "] " pair[1] " set twice")
        seen[id] = 1
        if (!(id in want)) fail("[" section "] " pair[1] " is not a setting of the plug-in")
        else if (want[id] != pair[2] + 0) fail("[" section "] " pair[1] "=" pair[2] ", expected " want[id])
        else found++
    }
    END {
        for (id in want) if (!(id in seen)) { split(id, w, " "); print FILENAME ": [" w[1] "] " w[2] " missing"; failed = 1 }
        if (wanted == 0) { print "the plug-in'"'"'s list of settings came out empty"; failed = 1 }
        if (!failed) print FILENAME ": " found " settings as expected"
        exit failed
    }' "$ini") || status=$?
echo "$report"
exit $status
