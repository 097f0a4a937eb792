#!/usr/bin/env bash
# check_upgrade.sh DIST VERSION TSW_SIM SCENARIO WORK
# An install of 0.2.0 as a player left it (a data file holding their badge and where it sits,
# settings they changed, 0.2.0's INSTALL.md and CHANGELOG.md), upgraded as a player does:
# each zip in DIST extracted over it with "Replace all". The data file stays the player's,
# byte for byte, after the first-install zip and after the update zip on top of it; the update
# alone keeps the settings too. Then the upgraded install is played under Wine (SCENARIO).
set -euo pipefail

dist=$1 version=$2 sim=$3 scenario=$4 work=$5
full_zip=$dist/TinStarWarden-$version.zip
update_zip=$dist/TinStarWarden-$version-update.zip
game=$work/game
PLAYER_DATA=$'badge=3\r\nrot_xxxxx=-10.000000\r\nrot_yyyyy=0\r\nrot_zzzzz=5.000000\r\n'\
$'xxxxx=0.020000\r\nyyyyy=0\r\nzzzzz=-0.010000\r\n'

failures=0
fail() {
    echo "$*"
    failures=$((failures + 1))
}

# The layout 0.2.0's zip left beside RDR2.exe, with the player's own files.
install_0_2_0() {
    rm -rf "$game"
    mkdir -p "$game/TinStarWarden"
    touch "$game/RDR2.exe"
    printf 'the 0.2.0 plug-in' >"$game/TinStarWarden.asi"
    printf '# TinStarWarden\n' >"$game/INSTALL.md"
    printf '# Changes\n' >"$game/CHANGELOG.md"
    printf '%s' "$PLAYER_DATA" >"$game/TinStarWarden/TinStarWarden.dat"
    sed -e 's/^GREETING_FREQUENCY=[0-9]*/GREETING_FREQUENCY=7/' \
        -e 's/^WRITE_LOG=[0-9]*/WRITE_LOG=1/' \
        "$dist/TinStarWarden/TinStarWarden.ini" >"$game/TinStarWarden/TinStarWarden.ini"
    cp "$game/TinStarWarden/TinStarWarden.ini" "$work/player.ini"
}

# unzip -o overwrites every file without asking, as "Replace all" does.
replace_all() {
    unzip -o -qq "$1" -d "$game"
    printf '%s' "$PLAYER_DATA" | cmp -s - "$game/TinStarWarden/TinStarWarden.dat" ||
        fail "$(basename "$1") over an install: the player's data file changed"
    cmp -s "$dist/TinStarWarden.asi" "$game/TinStarWarden.asi" ||
        fail "$(basename "$1") over an install: TinStarWarden.asi is not the new one"
}

for zip in "$full_zip" "$update_zip"; do
    [ -f "$zip" ] || { echo "$zip: missing (run ./tsw build)"; exit 1; }
done
mkdir -p "$work"

install_0_2_0
replace_all "$full_zip"
replace_all "$update_zip"

install_0_2_0
replace_all "$update_zip"
cmp -s "$work/player.ini" "$game/TinStarWarden/TinStarWarden.ini" ||
    fail "the update zip over an install: the player's settings changed"

if [ "$failures" -gt 0 ]; then
    exit 1
fi
exec "$sim" --wine --game-dir "$game" "$scenario"
