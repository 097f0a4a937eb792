#!/usr/bin/env bash
# Checks what a player downloads, in dist/ after ./tsw build. BINUTILS is the MinGW tools'
# prefix (.../x86_64-w64-mingw32-); VERSION is the one the build read from the VERSION file.
# (The version resource is read under Wine, as Windows shows it: tests/windows/version_check.)
#   check_release.sh zip BINUTILS DIST VERSION SOURCE both zips: their entries, in order,
#                                                     install the plug-in beside RDR2.exe and
#                                                     put nothing else there; each file equals
#                                                     its copy in DIST; every entry is dated
#                                                     with the time of SOURCE's commit; the
#                                                     texts end lines in CR LF; the read-me
#                                                     carries the licence
#   check_release.sh debug BINUTILS DIST VERSION      the .asi is stripped and links to its debug
#                                                     file, which resolves an address to a line
#   check_release.sh changelog BINUTILS DIST VERSION  the change log's latest entry is VERSION
set -euo pipefail

kind=$1 binutils=$2 dist=$3 version=$4 source=${5:-}
asi=$dist/TinStarWarden.asi
full_zip=$dist/TinStarWarden-$version.zip
update_zip=$dist/TinStarWarden-$version-update.zip
debug_file=TinStarWarden-$version.debug
changelog=$dist/TinStarWarden/ChangeLog.txt
# A first install, and an update that never holds the settings; neither holds the data file.
FULL_ENTRIES=(
    TinStarWarden.asi
    TinStarWarden/
    TinStarWarden/TinStarWarden.ini
    TinStarWarden/ReadMe.txt
)
UPDATE_ENTRIES=(
    TinStarWarden.asi
    TinStarWarden/
    TinStarWarden/ReadMe.txt
    TinStarWarden/ChangeLog.txt
)
TEXTS=(TinStarWarden/ReadMe.txt TinStarWarden/ChangeLog.txt)

failures=0
fail() {
    echo "$*"
    failures=$((failures + 1))
}
for file in "$asi" "$full_zip" "$update_zip"; do
    [ -f "$file" ] || { echo "$file: missing (run ./tsw build)"; exit 1; }
done

# check_zip ZIP ENTRY...
check_zip() {
    local zip=$1
    shift
    unzip -tqq "$zip" || fail "$zip: damaged"
    if ! diff <(printf '%s\n' "$@") <(unzip -Z1 "$zip") >/dev/null; then
        fail "$zip: entries differ from the package (< missing, > unexpected or out of order):"
        diff <(printf '%s\n' "$@") <(unzip -Z1 "$zip") | grep '^[<>]' || true
    fi
    # Extracted as a player does, into the folder that holds RDR2.exe.
    local game entry
    game=$(mktemp -d)
    trap 'rm -rf "$game"' RETURN
    touch "$game/RDR2.exe"
    unzip -qq "$zip" -d "$game"
    [ "$(ls "$game")" = "$(printf '%s\n' RDR2.exe TinStarWarden TinStarWarden.asi)" ] ||
        fail "$zip: puts more than TinStarWarden.asi and TinStarWarden/ beside RDR2.exe"
    for entry in "$@"; do
        case $entry in
            */) [ -d "$game/$entry" ] || fail "$zip: $entry is not a folder beside RDR2.exe" ;;
            *)
                cmp -s "$game/$entry" "$dist/$entry" ||
                    fail "$zip: $entry differs from $dist/$entry"
                ;;
        esac
    done
}

# Explorer shows an entry's date: the release commit's (UTC, to the even second a zip entry
# keeps), or SOURCE_DATE_EPOCH's when the build was given one.
check_dates() {
    local zip=$1 time expected dates
    time=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct)}
    expected=$(TZ=UTC date -d "@$((time / 2 * 2))" +%Y%m%d.%H%M%S)
    dates=$(TZ=UTC unzip -Z -T "$zip" | awk '$1 ~ /^[d-]/ { print $7 }' | sort -u)
    [ "$dates" = "$expected" ] ||
        fail "$zip: entries dated $(paste -sd ' ' <<<"$dates"), not the release commit's $expected"
}

# The MIT licence goes with every copy: the read-me, in both zips, ends with LICENSE.
check_licence() {
    local readme=$dist/TinStarWarden/ReadMe.txt
    [ -n "$source" ] && tr -d '\r' <"$readme" | grep -qzF "$(cat "$source/LICENSE")" ||
        fail "$readme: does not carry the licence of $source/LICENSE"
}

# Notepad shows a text well with CR LF line ends: every line ends so, none in LF alone.
check_texts() {
    local text lines
    for text in "${TEXTS[@]}"; do
        lines=$(wc -l <"$dist/$text")
        [ "$lines" -gt 0 ] && [ "$(grep -c $'\r$' "$dist/$text")" -eq "$lines" ] &&
            [ "$(tail -c 2 "$dist/$text" | od -An -c | tr -d ' ')" = '\r\n' ] ||
            fail "$dist/$text: not every line ends in CR LF"
    done
}

check_debug() {
    local sections
    sections=$("${binutils}objdump" -h "$asi")
    ! grep -qE ' \.(debug_|zdebug_|stab)' <<<"$sections" || fail "$asi: has debug sections"
    ! "${binutils}objdump" -f "$asi" | grep -q HAS_SYMS || fail "$asi: has a symbol table"
    "${binutils}objdump" -Wk "$asi" 2>/dev/null |
        grep -qF "Separate debug info file: $debug_file" ||
        fail "$asi: no debug link to $debug_file"
    [ -f "$dist/$debug_file" ] || { fail "$dist/$debug_file: missing"; return; }
    # The plug-in's entry point, looked up through the link (which also checks its CRC).
    local address line
    address=$("${binutils}nm" "$dist/$debug_file" | awk '$3 == "DllMain" { print $1 }')
    [ -n "$address" ] || { fail "$dist/$debug_file: no DllMain symbol"; return; }
    line=$("${binutils}addr2line" -f -e "$asi" "0x$address" | paste -sd ' ')
    [[ $line == "DllMain /TinStarWarden/src/plugin/dll_main.cpp:"[0-9]* ]] ||
        fail "$asi: 0x$address resolves to \"$line\", not to DllMain in src/plugin/dll_main.cpp"
}

check_changelog() {
    local heading
    heading=$(grep -m1 '^TinStarWarden [0-9]' "$changelog" | tr -d '\r' || true)
    [[ $heading == "TinStarWarden $version" ]] ||
        fail "$changelog: the latest entry is \"$heading\", not $version"
}

case $kind in
    zip)
        check_zip "$full_zip" "${FULL_ENTRIES[@]}"
        check_zip "$update_zip" "${UPDATE_ENTRIES[@]}"
        check_dates "$full_zip"
        check_dates "$update_zip"
        check_licence
        check_texts
        ;;
    debug) check_debug ;;
    changelog) check_changelog ;;
    *)
        echo "usage: check_release.sh zip|debug|changelog BINUTILS DIST VERSION" >&2
        exit 2
        ;;
esac

if [ "$failures" -gt 0 ]; then
    exit 1
fi
echo "$kind checks passed for $version"
