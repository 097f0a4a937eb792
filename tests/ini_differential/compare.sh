#!/bin/sh
# compare.sh NATIVE_PROGRAM WINDOWS_PROGRAM WINE CASES_FOLDER
# Reads every case file (and one that does not exist) with the portable settings reader and
# with the Windows profile reader under Wine, and fails on any difference.
set -u
native=$1 windows=$2 wine=$3 cases=$4

if [ ! -f "$windows" ]; then
    echo "The Windows build of print_settings is missing: $windows"
    echo "Build the windows preset first (cmake --preset windows && cmake --build build/windows)."
    exit 1
fi

out=$(mktemp -d) || exit 1
trap 'rm -rf "$out"' EXIT
cd "$cases" || exit 1
set -- $(ls *.ini | sed 's|^|./|') ./absent.ini

"$native" "$@" > "$out/native.txt" || { echo "native reader failed"; exit 1; }
"$wine" "$windows" "$@" > "$out/wine.txt" || { echo "Windows reader failed under Wine"; exit 1; }
tr -d '\r' < "$out/wine.txt" > "$out/windows.txt"

if ! grep -q "^== ./absent.ini" "$out/windows.txt"; then
    echo "no output from the Windows reader"
    exit 1
fi
if diff -u --label windows --label portable "$out/windows.txt" "$out/native.txt"; then
    echo "$# files read alike"
    exit 0
fi
exit 1
