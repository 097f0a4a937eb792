#!/usr/bin/env bash
# reproducible_build.sh SOURCE WORK VERSION NORMAL_BUILD
# Builds the shipped files (the .asi, its debug file and both zips) once more from the Windows
# preset, in a new build folder under WORK whose name and length differ from the normal
# build's, and checks that they are the same bytes as the normal build's: no time stamp or
# build path may reach them.
set -euo pipefail

source_dir=$1 work=$2 version=$3 normal=$4
build=$work/clean-build-folder
shipped=(src/TinStarWarden.asi "src/TinStarWarden-$version.debug" "TinStarWarden-$version.zip"
    "TinStarWarden-$version-update.zip")

for file in "${shipped[@]}"; do
    [ -f "$normal/$file" ] || {
        echo "the normal build has no $file: build it first (./tsw build)"
        exit 1
    }
done

cd "$source_dir"
rm -rf "$build"
mkdir -p "$build"
if ! { cmake --preset windows -B "$build" &&
    cmake --build "$build" --target tsw_package_zip; } >"$build.log" 2>&1; then
    tail -n 30 "$build.log"
    echo "building in $build failed (log: $build.log)"
    exit 1
fi

failures=0
for file in "${shipped[@]}"; do
    if cmp "$normal/$file" "$build/$file"; then
        echo "same bytes: $file ($(stat -c %s "$build/$file") bytes)"
    else
        failures=$((failures + 1))
    fi
done
if [ "$failures" -gt 0 ]; then
    echo "$failures of ${#shipped[@]} shipped files differ between the normal build and a clean"
    echo "one (a normal build older than the sources differs too: ./tsw build first)"
    exit 1
fi
rm -rf "$build" "$build.log"
