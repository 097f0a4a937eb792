#!/usr/bin/env bash
# wine_prefix.sh start|stop WINESERVER WINEBOOT, with WINEPREFIX set.
#   start  a persistent wineserver, then the prefix made or brought up to date
#   stop   the server and every Wine program of the prefix ended
set -uo pipefail

action=$1 wineserver=$2 wineboot=$3

case $action in
    start)
        # Started first, so that everything after (wineboot's services too) reuses it. A
        # server already up either lingers for its last 3 s or is another run's persistent one.
        # The server needs the prefix's folder: without it, a new prefix got only servers that
        # end 3 s after their last program, and a program starting just then lost its server.
        mkdir -p "$WINEPREFIX" || exit 1
        for _ in 1 2 3 4 5; do
            "$wineserver" -p 2>/dev/null && break
            sleep 1
        done
        # Away from ctest's output pipe: the services wineboot starts outlive it.
        if ! "$wineboot" -i </dev/null >/dev/null 2>&1; then
            echo "wineboot -i failed for $WINEPREFIX"
            exit 1
        fi
        echo "Wine prefix $WINEPREFIX ready"
        ;;
    stop)
        "$wineserver" -k 2>/dev/null
        exit 0
        ;;
    *)
        echo "usage: wine_prefix.sh start|stop WINESERVER WINEBOOT" >&2
        exit 2
        ;;
esac
