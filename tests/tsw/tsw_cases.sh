#!/usr/bin/env bash
# tsw_cases.sh TSW WORK CASE: one behaviour of the ./tsw script, tried with stand-ins for the
# tools it drives (cmake, dpkg-query, wineboot), which write down how they were called.
#   unknown_command   a mistyped command is refused with the nearest one named
#   wine_prefix_once  the Wine prefix is prepared, and "first time only" said, once
#   package_keeps     packaging replaces the release in dist/ and keeps the report beside it
#   run_builds_little ./tsw run builds the simulator and the release only, then plays
#   verdict_last      ./tsw test ends with one verdict for both runs, the failed tests named
set -euo pipefail

tsw=$1 work=$2 case=$3
rm -rf "$work"
mkdir -p "$work/bin"
calls=$work/calls.log
: >"$calls"

fail() {
    echo "$case: $*"
    echo "the stand-ins were called so:"
    sed 's/^/  /' "$calls"
    exit 1
}

# A stand-in program: its arguments go to calls.log, then it runs BODY.
stand_in() {
    local name=$1 body=${2:-}
    printf '#!/usr/bin/env bash\necho "%s $*" >>"%s"\n%s\n' "$name" "$calls" "$body" >"$work/bin/$name"
    chmod +x "$work/bin/$name"
}
export PATH=$work/bin:$PATH

# The script's parts, in a subshell of the caller's (it exits on a failure), its folders here.
tsw_in_work() {
    (
        # shellcheck source=/dev/null
        source "$tsw"
        ROOT=$work/repo LINUX_BUILD=$work/repo/build/linux WINDOWS_BUILD=$work/repo/build/windows
        DIST=$work/repo/dist WINE_PREFIX=$work/repo/build/wineprefix
        "$@"
    )
}

case $case in
    unknown_command)
        status=0
        "$tsw" tets >"$work/out" 2>&1 || status=$?
        [ "$status" -eq 1 ] || fail "exit status $status for a mistyped command"
        grep -q "unknown command: tets (did you mean test?)" "$work/out" || fail "$(cat "$work/out")"
        said=$("$tsw" bnech 2>&1 || true)
        [[ $said == *"(did you mean bench?)"* ]] || fail "for bnech: $said"
        said=$("$tsw" xyzzy 2>&1 || true)
        [[ $said == *"unknown command: xyzzy; "* ]] || fail "for xyzzy: $said"
        ;;
    wine_prefix_once)
        # Like Wine's, this wineboot leaves the registry files to its server, which writes
        # them seconds after it returns.
        stand_in wineboot 'mkdir -p "$WINEPREFIX/drive_c"'
        export WINEPREFIX=$work/prefix
        tsw_in_work prepare_wine_prefix 2>"$work/first"
        tsw_in_work prepare_wine_prefix 2>"$work/second"
        said=$(cat "$work/first" "$work/second" | grep -c "first time only" || true)
        [ "$said" -eq 1 ] || fail "\"first time only\" said $said times"
        [ "$(grep -c '^wineboot' "$calls")" -eq 1 ] || fail "wineboot run more than once"
        ;;
    package_keeps)
        stand_in cmake 'prefix=${@: -1}; mkdir -p "$prefix/TinStarWarden"
touch "$prefix/TinStarWarden.asi" "$prefix/TinStarWarden-0.4.0.zip" "$prefix/TinStarWarden-0.4.0.debug"'
        mkdir -p "$work/repo/dist/TinStarWarden"
        echo report >"$work/repo/dist/report.html"
        touch "$work/repo/dist/TinStarWarden-0.3.0.zip" "$work/repo/dist/TinStarWarden/old.txt"
        tsw_in_work package 2>/dev/null
        [ "$(cat "$work/repo/dist/report.html")" = report ] || fail "the report is gone"
        [ ! -e "$work/repo/dist/TinStarWarden-0.3.0.zip" ] || fail "an older version's zip stays"
        [ ! -e "$work/repo/dist/TinStarWarden/old.txt" ] || fail "an older release's file stays"
        [ -e "$work/repo/dist/TinStarWarden-0.4.0.zip" ] || fail "the release is not in dist/"
        ;;
    run_builds_little)
        stand_in dpkg-query 'printf "install ok installed"'
        # Configuring makes the build folder; building the simulator makes one that writes
        # its report; installing makes the release.
        stand_in cmake 'case "$1 $2" in
    "--preset "*) mkdir -p "build/$2"; touch "build/$2/build.ninja" ;;
    "--build --preset") if [ "$3" = linux ]; then mkdir -p build/linux/sim
        printf "#!/bin/sh\necho \"tsw-sim \$*\" >>%s\necho page >\"\$2\"\n" "'"$calls"'" >build/linux/sim/tsw-sim
        chmod +x build/linux/sim/tsw-sim; fi ;;
    "--install "*) mkdir -p "${@: -1}"; touch "${@: -1}/TinStarWarden-0.4.0.debug" ;;
esac'
        mkdir -p "$work/repo"
        echo "run 100" >"$work/story.txt"
        tsw_in_work cmd_run "$work/story.txt" 2>"$work/out" || fail "$(cat "$work/out")"
        builds=$(grep -- "--build" "$calls" | sed 's/^cmake //')
        expected=$'--build --preset linux --target tsw-sim\n--build --preset windows --target tsw_package_zip'
        [ "$builds" = "$expected" ] || fail "built: $builds"
        grep -q "^tsw-sim --report $work/repo/dist/report.html $work/story.txt$" "$calls" ||
            fail "the story was not played with its report in dist/"
        [ -f "$work/repo/dist/report.html" ] || fail "no report"
        ;;
    verdict_last)
        # The main run fails two tests; the sanitizer run, which ends later, passes them all.
        stand_in ctest 'if [ "$2" = linux ]; then mkdir -p build/linux/Testing/Temporary
    printf "12:wine.a\n40:scenario.b\n" >build/linux/Testing/Temporary/LastTestsFailed.log
    echo "98% tests passed, 2 tests failed out of 100"; exit 8
else sleep 0.2; echo "100% tests passed, 0 tests failed out of 90"; fi'
        mkdir -p "$work/repo/build/linux-asan" "$work/repo/build/linux/Testing/Temporary"
        echo "1:stale.from_before" >"$work/repo/build/linux/Testing/Temporary/LastTestsFailed.log"
        status=0
        tsw_in_work run_both_test_sets >"$work/out" 2>&1 || status=$?
        [ "$status" -eq 1 ] || fail "exit status $status with a failed run"
        [ "$(tail -n 1 "$work/out")" = "tsw: FAILED: the main run: wine.a, scenario.b" ] ||
            fail "it ended: $(cat "$work/out")"
        tsw_in_work verdict 0 0 >"$work/out" 2>&1 || fail "both passed: $(cat "$work/out")"
        grep -q "^tsw: PASSED" "$work/out" || fail "both passed: $(cat "$work/out")"
        ;;
    *)
        echo "usage: tsw_cases.sh TSW WORK unknown_command|wine_prefix_once|package_keeps|run_builds_little|verdict_last" >&2
        exit 2
        ;;
esac
