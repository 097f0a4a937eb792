#!/bin/sh
# stale_probe.sh TSW_SIM WORK SCENARIO [--wine]: the probe file the simulator makes to see
# whether the plug-in's folder is writable, left there by an earlier run cut short between its
# steps, must not stop the folder from being made read-only and writable again.
sim=$1 work=$2 scenario=$3
shift 3
rm -rf "$work"
mkdir -p "$work/TinStarWarden" || exit 1
: >"$work/TinStarWarden/.tsw-write-probe"
exec "$sim" "$@" --game-dir "$work" "$scenario"
