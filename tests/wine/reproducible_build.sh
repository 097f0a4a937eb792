#!/usr/bin/env bash
# reproducible_build.sh SOURCE WORK VERSION NORMAL_BUILD
# Builds the shipped files (the .asi, its debug file and both zips) once more from the Windows
# preset, in a new build folder under WORK whose name and length differ from the normal
# build's, and checks that they are the same bytes as the normal build's: no time stamp or
# build path may reach them. Where bytes differ it says where: which section of the .asi or
# the debug file, which member of a zip, and which of the two build folders' paths (or other
# texts) only one of them holds. Shipped bytes already found reproducible are not built again.
set -euo pipefail

source_dir=$1 work=$2 version=$3 normal=$4
build=$work/clean-build-folder
checked=$work/reproducible.sha256
shipped=(src/TinStarWarden.asi "src/TinStarWarden-$version.debug" "TinStarWarden-$version.zip"
    "TinStarWarden-$version-update.zip")
tools=$(dirname "$(command -v x86_64-w64-mingw32-objdump)")/x86_64-w64-mingw32-

for file in "${shipped[@]}"; do
    [ -f "$normal/$file" ] || {
        echo "the normal build has no $file: build it first (./tsw build)"
        exit 1
    }
done

# What the normal build ships, and how it is built (every command that makes it, and the CMake
# modules and presets behind them): while these are as they were at the last check that passed,
# no Windows input has changed, and a clean build gives what it gave then. The zips count by
# their members, not by their time: that is the release commit's, new at every commit.
fingerprint() {
    (cd "$normal" && sha256sum "${shipped[@]:0:2}")
    local zip
    for zip in "${shipped[@]:2}"; do
        zip_members "$normal/$zip" timeless | sha256sum
    done
    ninja -C "$normal" -t commands tsw_package_zip | sha256sum
    (cd "$source_dir" && sha256sum CMakePresets.json cmake/*)
}

# The sections with bytes in the file (name, file offset, size) of a PE file, from objdump -h,
# in the order they lie in the file.
pe_sections() {
    "${tools}objdump" -h "$1" | awk '
        function number(hex, i, n) {
            for (i = 1; i <= length(hex); i++) n = n * 16 + index("0123456789abcdef", substr(tolower(hex), i, 1)) - 1
            return n
        }
        $1 ~ /^[0-9]+$/ && number($6) > 0 { print $2, number($6), number($3) }' | sort -k2 -n
}

# Which sections hold the bytes that differ, with a count for each.
differing_sections() {
    local a=$1 b=$2
    { cmp -l "$a" "$b" 2>/dev/null || true; } | awk -v sections="$(pe_sections "$a")" '
        BEGIN {
            n = split(sections, lines, "\n")
            for (i = 1; i <= n; i++) { split(lines[i], f, " "); name[i] = f[1]; from[i] = f[2]; size[i] = f[3] }
        }
        {
            at = $1 - 1; where = at < from[1] ? "the PE headers (time stamp, checksum)" : "past the sections"
            for (i = 1; i <= n; i++) if (at >= from[i] && at < from[i] + size[i]) { where = name[i]; break }
            count[where]++
        }
        END { for (w in count) printf "    %s: %d bytes\n", w, count[w] }' | sort
    local sa sb
    sa=$(stat -c %s "$a") sb=$(stat -c %s "$b")
    [ "$sa" = "$sb" ] || echo "    the sizes differ: $sa and $sb bytes"
}

# The texts only one file holds: a build path, a time, a name.
texts_of_one() {
    diff <(strings -a -n 8 "$1" | sort -u) <(strings -a -n 8 "$2" | sort -u) |
        sed -n 's/^< /    only the normal build: /p; s/^> /    only the clean build:  /p' | head -n 8 ||
        true
}

# The zips' entries are dated by the release commit, looked up at each build.
release_times() {
    local a b
    a=$(cat "$normal/release_time.txt" 2>/dev/null || echo none)
    b=$(cat "$build/release_time.txt" 2>/dev/null || echo none)
    [ "$a" = "$b" ] ||
        echo "    the release time differs: $a in the normal build, $b in the clean one (the commit changed since the normal build)"
}

# The build inputs that reached the file: either build folder's path, or the sources' path, as
# given or as the real path (through a symbolic link they differ).
paths_in() {
    local file=$1 label=$2 path count paths
    mapfile -t paths < <(for path in "$normal" "$build" "$source_dir"; do
        echo "$path" && realpath "$path"
    done | sort -u)
    for path in "${paths[@]}"; do
        count=$(grep -c -a -F -- "$path" "$file" || true)
        [ "$count" -gt 0 ] && echo "    $label holds $path ($count times)"
    done
    return 0
}

# The members of a zip, each with its size, CRC, time and attributes.
# With "timeless", the date and time columns are left out.
zip_members() {
    local time=(cat) crc_time=(cat)
    if [ "${2:-}" = timeless ]; then
        time=(awk '{ $8 = $9 = ""; print }') crc_time=(awk '{ $5 = $6 = ""; print }')
    fi
    unzip -Z -l "$1" | sed '1d;$d' | "${time[@]}"
    unzip -v "$1" | sed '1,3d;$d' | sed '$d' | "${crc_time[@]}"
}

explain() {
    local file=$1 a=$normal/$1 b=$build/$1
    echo "differs: $file"
    case $file in
        *.zip)
            diff <(zip_members "$a") <(zip_members "$b") |
                sed -n 's/^< /    normal: /p; s/^> /    clean:  /p' | head -n 12 || true
            release_times
            ;;
        *)
            differing_sections "$a" "$b"
            paths_in "$a" "the normal build's file"
            paths_in "$b" "the clean build's file"
            texts_of_one "$a" "$b"
            ;;
    esac
}

if [ -f "$checked" ] && [ "$(fingerprint)" = "$(cat "$checked")" ]; then
    echo "the shipped files and how they are built are as at the last check that passed: not built again"
    exit 0
fi

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
    if cmp -s "$normal/$file" "$build/$file"; then
        echo "same bytes: $file ($(stat -c %s "$build/$file") bytes)"
    else
        failures=$((failures + 1))
        explain "$file"
    fi
done
if [ "$failures" -gt 0 ]; then
    echo "$failures of ${#shipped[@]} shipped files differ between the normal build ($normal) and a"
    echo "clean one ($build)."
    # A normal build not made from these sources (or made with other settings) differs too. The
    # zips' dating runs at every build and may leave them as they are: only compiling and
    # linking count.
    stale=$(ninja -C "$normal" -n tsw_package_zip 2>/dev/null | grep -c '^\[.*\(Building\|Linking\)' || true)
    if [ "$stale" -gt 0 ]; then
        echo "The normal build is older than the sources ($stale steps to do): ./tsw build first."
    fi
    exit 1
fi
fingerprint >"$checked"
rm -rf "$build" "$build.log"
