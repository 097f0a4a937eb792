#!/usr/bin/env bash
# Checks what a Windows binary of the build imports and exports, from objdump -p.
#   check_pe.sh OBJDUMP plugin  FILE   the .asi: a PE32+ DLL, no export table, imports from
#                                      exactly ScriptHookRDR2.dll (the eight host functions),
#                                      KERNEL32.dll and the C runtime (msvcrt.dll)
#   check_pe.sh OBJDUMP host    FILE   the emulated ScriptHookRDR2.dll: exports the eight
#   check_pe.sh OBJDUMP program FILE   tsw-sim.exe: needs nothing beside it but ScriptHookRDR2.dll
set -euo pipefail -f  # no globbing: the decorated names hold "?"

objdump=$1 kind=$2 file=$3
HOST_FUNCTIONS=(
    '?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z'
    '?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z'
    '?scriptWait@@YAXK@Z'
    '?nativeInit@@YAX_K@Z'
    '?nativePush64@@YAX_K@Z'
    '?nativeCall@@YAPEA_KXZ'
    '?keyboardHandlerRegister@@YAXP6AXKGEHHHH@Z@Z'
    '?keyboardHandlerUnregister@@YAXP6AXKGEHHHH@Z@Z'
)

failures=0
fail() {
    echo "$file: $*"
    failures=$((failures + 1))
}

[ -f "$file" ] || { echo "$file: missing (run ./tsw build)"; exit 1; }
dump=$("$objdump" -p "$file")
sections=$("$objdump" -h "$file")

# Names listed under one "DLL Name:" block of the import table.
imported_from() {
    awk -v dll="$1" '
        /^\tDLL Name: / { inside = (tolower($3) == tolower(dll)); next }
        inside && /^\t[0-9a-f]+\t/ { print $NF }
        inside && /^$/ { inside = 0 }' <<<"$dump" | sort
}
expected_host_functions() { printf '%s\n' "${HOST_FUNCTIONS[@]}" | sort; }

# Only the system's own DLLs (and the host, where allowed): a MinGW runtime DLL
# (libstdc++, libgcc, winpthread) would have to sit beside the game.
check_dlls() {
    local allowed_host=$1 dll
    while read -r dll; do
        case "${dll,,}" in
            kernel32.dll | msvcrt.dll | api-ms-win-crt-*.dll) ;;
            scripthookrdr2.dll) [ "$allowed_host" = yes ] || fail "imports from $dll" ;;
            *) fail "needs $dll" ;;
        esac
    done < <(sed -n 's/^\tDLL Name: //p' <<<"$dump")
}

grep -q 'file format pei-x86-64' <<<"$dump" || fail "not a pei-x86-64 image"
grep -qE '^Magic[[:space:]]+020b' <<<"$dump" || fail "not PE32+ (Magic 020b)"

case $kind in
    plugin)
        grep -qE '^[[:space:]]+DLL$' <<<"$dump" || fail "not a DLL"
        grep -qE '^Entry 0 0+ 0+ Export Directory' <<<"$dump" ||
            fail "has an export directory: $(grep '^Entry 0 ' <<<"$dump")"
        ! grep -q ' \.edata ' <<<"$sections" || fail "has an .edata section"
        dlls=$(sed -n 's/^\tDLL Name: //p' <<<"$dump" | tr '[:upper:]' '[:lower:]' | sort |
            paste -sd ' ')
        [ "$dlls" = "kernel32.dll msvcrt.dll scripthookrdr2.dll" ] ||
            fail "imports from $dlls, not exactly KERNEL32.dll, msvcrt.dll and ScriptHookRDR2.dll"
        if ! diff <(expected_host_functions) <(imported_from ScriptHookRDR2.dll) >/dev/null; then
            fail "imports from ScriptHookRDR2.dll differ from the eight host functions" \
                "(< missing, > unexpected):"
            diff <(expected_host_functions) <(imported_from ScriptHookRDR2.dll) | grep '^[<>]'
        fi
        ;;
    host)
        grep -qE '^[[:space:]]+DLL$' <<<"$dump" || fail "not a DLL"
        exported=$(sed -n 's/^\t\[ *[0-9]*\] //p' <<<"$dump" | sort)
        missing=$(comm -23 <(expected_host_functions) <(echo "$exported"))
        [ -z "$missing" ] || fail "does not export:" $missing
        check_dlls no
        ;;
    program)
        check_dlls yes
        ;;
    *)
        echo "usage: check_pe.sh OBJDUMP plugin|host|program FILE" >&2
        exit 2
        ;;
esac

if [ "$failures" -gt 0 ]; then
    exit 1
fi
echo "$file: $kind checks passed"
