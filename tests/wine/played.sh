#!/usr/bin/env bash
# played.sh: what the scenario plays (tsw-sim --out-dir) left, checked one scenario at a time.
#   passed DIR NAME                        the scenario passed in that play
#   same TRACE_COMPARE DIR_A DIR_B NAME    it passed in both plays, with the same native calls
#   again TSW_SIM TRACE_COMPARE SCENARIO WORK DIR
#                                          played once more on its own, the same native calls
#                                          as in DIR's play (which played others before it)
set -euo pipefail

# The log's last line says whether the scenario passed; a failed one's log is shown.
passed() {
    local log=$1/$2.log
    if [ -f "$log" ] && tail -n 1 "$log" | grep -q ': passed$'; then
        return 0
    fi
    echo "the play of $2 in $1 did not pass:"
    tail -n 40 "$log" 2>/dev/null || echo "(no log: $log)"
    exit 1
}

mode=${1:-}
case $mode in
    passed)
        passed "$2" "$3"
        ;;
    same)
        compare=$2 first=$3 second=$4 name=$5
        passed "$first" "$name"
        passed "$second" "$name"
        exec "$compare" "$first/$name.trace" "$second/$name.trace"
        ;;
    again)
        sim=$2 compare=$3 scenario=$4 work=$5 played=$6
        name=$(basename "$scenario" .txt)
        passed "$played" "$name"
        mkdir -p "$work"
        if ! "$sim" --trace "$work/again.trace" "$scenario" >"$work/again.log" 2>&1; then
            echo "the run of $scenario on its own failed:"
            tail -n 40 "$work/again.log"
            exit 1
        fi
        exec "$compare" "$played/$name.trace" "$work/again.trace"
        ;;
    *)
        echo "usage: played.sh passed|same|again ..." >&2
        exit 2
        ;;
esac
