#!/usr/bin/env bash
# same_trace_without_log.sh TSW_SIM TRACE_COMPARE SCENARIO WORK
# The diagnostics log is written beside the game, never through it: the scenario played with
# the log switched on and again with it off (its WRITE_LOG setting and log expectations taken
# out) must make the same native calls, addresses aside.
set -euo pipefail

sim=$1 compare=$2 scenario=$3 work=$4
mkdir -p "$work"
grep -q '^ini DIAGNOSTICS WRITE_LOG 1' "$scenario" ||
    { echo "$scenario does not switch the log on"; exit 1; }
# The copy stands elsewhere: what it includes is named from the scenario's own folder.
grep -v -e '^ini DIAGNOSTICS WRITE_LOG' -e '^expect log' -e '^expect nolog' "$scenario" |
    sed "s|^include |include $(cd "$(dirname "$scenario")" && pwd)/|" >"$work/without_log.txt"

for run in with:"$scenario" without:"$work/without_log.txt"; do
    name=${run%%:*} file=${run#*:}
    if ! "$sim" --trace "$work/$name.trace" "$file" >"$work/$name.log" 2>&1; then
        echo "the run $name the log failed:"
        tail -n 40 "$work/$name.log"
        exit 1
    fi
done
grep -q '^\[.*\] log: ' "$work/with.log" || { echo "the log was never written"; exit 1; }
if grep -q '^\[.*\] log: ' "$work/without.log"; then
    echo "a log was written with the log off"
    exit 1
fi
exec "$compare" "$work/with.trace" "$work/without.trace"
