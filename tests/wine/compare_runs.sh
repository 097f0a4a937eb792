#!/usr/bin/env bash
# compare_runs.sh wine TSW_SIM TRACE_COMPARE SCENARIO WORK [GAME_FOLDER]
# The scenario natively, then under Wine against the packaged .asi: both runs must pass and
# their traces must show the same native calls, addresses aside.
# With GAME_FOLDER, each run plays in a fresh copy of it instead of an empty game folder.
set -euo pipefail

mode=$1 sim=$2 compare=$3 scenario=$4 work=$5 game=${6:-}
mkdir -p "$work"

play() {
    local name=$1 folder=()
    shift
    if [ -n "$game" ]; then
        rm -rf "$work/$name-game"
        cp -r "$game" "$work/$name-game"
        folder=(--game-dir "$work/$name-game")
    fi
    if ! "$sim" --trace "$work/$name.trace" "${folder[@]}" "$@" "$scenario" \
        >"$work/$name.log" 2>&1; then
        echo "the $name run of $scenario failed:"
        tail -n 40 "$work/$name.log"
        exit 1
    fi
}

play native
case $mode in
    wine) play wine --wine && second=wine ;;
    *) echo "usage: compare_runs.sh wine TSW_SIM TRACE_COMPARE SCENARIO WORK [GAME_FOLDER]" >&2 && exit 2 ;;
esac
exec "$compare" "$work/native.trace" "$work/$second.trace"
