#!/usr/bin/env bash
# same_report.sh TSW_SIM SCENARIO WORK: the scenario report natively and under Wine (the world
# read across ScriptHookRDR2.dll's C interface) must be the same page, but for the scenario's
# path, which Wine spells with a drive letter.
set -euo pipefail

sim=$1 scenario=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
for run in native wine; do
    flag=()
    [ "$run" = wine ] && flag=(--wine)
    "$sim" "${flag[@]}" --report "$work/$run.html" "$scenario" >"$work/$run.log" 2>&1 || {
        echo "the $run run of $scenario failed:"
        tail -n 20 "$work/$run.log"
        exit 1
    }
    sed -e 's|<title>[^<]*</title>||' -e 's|"scenario":"[^"]*"||' "$work/$run.html" >"$work/$run.page"
done
diff -q "$work/native.page" "$work/wine.page" >/dev/null || {
    echo "the reports of $scenario differ natively and under Wine:"
    diff "$work/native.page" "$work/wine.page" | head -n 20
    exit 1
}
