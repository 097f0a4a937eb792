#!/bin/sh
# run_under_wine.sh WINE PROGRAM [ARGUMENTS...]: runs a program of the Windows build, or says
# plainly that the build is missing.
wine=$1 program=$2
shift 2
if [ ! -f "$program" ]; then
    echo "The Windows build is missing $program: build the windows preset first."
    exit 1
fi
exec "$wine" "$program" "$@"
