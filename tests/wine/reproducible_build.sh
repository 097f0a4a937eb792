#!/usr/bin/env bash
# reproducible_build.sh SOURCE WORK VERSION
# Builds the shipped files (the .asi, its debug file and both zips) twice from the Windows
# preset, in two new build folders of different names and lengths under WORK, and checks that
# both give the same bytes: no time stamp or build path may reach them.
set -euo pipefail

source_dir=$1 work=$2 version=$3
builds=("$work/first" "$work/second-build-folder")
shipped=(src/TinStarWarden.asi "src/TinStarWarden-$version.debug" "TinStarWarden-$version.zip"
    "TinStarWarden-$version-update.zip")

cd "$source_dir"
for build in "${builds[@]}"; do
    rm -rf "$build"
    mkdir -p "$build"
    if ! { cmake --preset windows -B "$build" &&
        cmake --build "$build" --target tsw_package_zip; } >"$build.log" 2>&1; then
        tail -n 30 "$build.log"
        echo "building in $build failed (log: $build.log)"
        exit 1
    fi
done

failures=0
for file in "${shipped[@]}"; do
    if cmp "${builds[0]}/$file" "${builds[1]}/$file"; then
        echo "same bytes: $file ($(stat -c %s "${builds[0]}/$file") bytes)"
    else
        failures=$((failures + 1))
    fi
done
if [ "$failures" -gt 0 ]; then
    echo "$failures of ${#shipped[@]} shipped files differ between the two builds"
    exit 1
fi
rm -rf "${builds[@]}"
