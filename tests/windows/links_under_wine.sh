#!/bin/sh
# links_under_wine.sh WINE SAVE_ONCE: links planted natively where the Windows build writes
# (a symbolic or a hard link at the save's temporary file's name, or at the log's name). The
# file a link leads to must stay as it was. A hard link's name is removed and replaced by a
# file of the plug-in's own. Wine shows a symbolic link as the file it leads to (and would
# delete that one for it), so there the save refuses to touch it and fails, saying so, and the
# log stays off.
wine=$1 program=$2
if [ ! -f "$program" ]; then
    echo "The Windows build is missing $program: build the windows preset first."
    exit 1
fi
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAILED ($case): $1"
    failures=$((failures + 1))
}

# The bytes of a file, CR and LF spelled out.
bytes() {
    od -An -c "$1" | tr -d ' \n'
}

# A plain file of its own, no link.
plain() {
    [ -f "$1" ] && [ ! -L "$1" ] && [ "$(stat -c %h "$1")" = 1 ]
}

# plantAndSave CASE LINK NAME: plants the link at NAME in a new game folder, then saves once.
plantAndSave() {
    case=$1
    game=$work/$case/game outside=$work/$case/outside.txt
    mkdir -p "$game"
    printf 'outside\n' >"$outside"
    printf 'badge=1\r\n' >"$game/TinStarWarden.dat"
    $2 "$outside" "$game/$3"
    "$wine" "$program" "Z:$game" >"$work/$case/said.txt"
    saved=$?
    [ "$(cat "$outside")" = outside ] || fail "the file the link led to changed"
}

expectSaved() {
    [ "$saved" = 0 ] || fail "the save failed: $(cat "$work/$case/said.txt")"
    plain "$game/TinStarWarden.dat" || fail "the data file is no plain file of its own"
    [ "$(bytes "$game/TinStarWarden.dat")" = 'badge=2\r\n' ] ||
        fail "the data file does not hold badge=2 with a CR LF"
    [ ! -e "$game/TinStarWarden.dat.tmp" ] || fail "the temporary name is still taken"
}

expectLogged() {
    plain "$game/TinStarWarden.log" || fail "the log is no plain file of its own"
    [ "$(bytes "$game/TinStarWarden.log")" = 'savingonce\r\n' ] || fail "the log lacks its line"
}

plantAndSave hard_temporary ln TinStarWarden.dat.tmp
expectSaved
expectLogged
[ "$(stat -c %h "$outside")" = 1 ] || fail "the temporary name still leads to the outside file"

plantAndSave hard_log ln TinStarWarden.log
expectSaved
expectLogged
[ "$(stat -c %h "$outside")" = 1 ] || fail "the log's name still leads to the outside file"

plantAndSave symbolic_temporary "ln -s" TinStarWarden.dat.tmp
[ "$saved" != 0 ] && grep -q "it is a link" "$work/$case/said.txt" ||
    fail "the save did not refuse the link: $(cat "$work/$case/said.txt")"
[ "$(bytes "$game/TinStarWarden.dat")" = 'badge=1\r\n' ] || fail "the data file changed"
expectLogged

plantAndSave symbolic_log "ln -s" TinStarWarden.log
expectSaved
[ -L "$game/TinStarWarden.log" ] || fail "the link at the log's name was replaced"

[ "$failures" -eq 0 ] && echo "no link was written through" || exit 1
