#!/bin/bash
# unicode_paths.sh TSW_SIM WORK: plays a story under Wine from a folder whose name is outside
# the ANSI code page (Greek and Japanese), with its game folder, trace, report and the plays of
# --out-dir named there too: each lands where it was named, and the story's include and its
# read-only folder are found; the same from the C locale, whose character set is ASCII only.
sim=$1 work=$2
dir="$work/Ωmega ステージ"
rm -rf "$work"
mkdir -p "$dir/setup" || exit 1
printf 'data badge=1\n' >"$dir/setup/badge.txt"
cat >"$dir/story.txt" <<'STORY'
include setup/badge.txt
load
run 1000
folder readonly
run 100
folder writable
expect badge s_badgesherif01x
STORY
fail() {
    echo "unicode_paths: $*"
    exit 1
}
"$sim" --wine --game-dir "$dir/game" --trace "$dir/story.trace" --report "$dir/story.html" \
    "$dir/story.txt" || fail "the story did not pass"
for file in story.trace story.html game/TinStarWarden/TinStarWarden.dat; do
    [ -s "$dir/$file" ] || fail "no $dir/$file"
done
"$sim" --wine --out-dir "$dir/plays" "$dir/story.txt" | grep -q "^story: passed" ||
    fail "the story did not pass with --out-dir"
LC_ALL=C LANG=C "$sim" --wine --out-dir "$dir/plays in C" "$dir/story.txt" |
    grep -q "^story: passed" || fail "the story did not pass from the C locale"
for plays in "$dir/plays" "$dir/plays in C"; do
    [ -s "$plays/story.trace" ] && [ -s "$plays/story.log" ] || fail "no plays in $plays"
done
echo "unicode_paths: played in $dir"
