#!/bin/sh
# long_game_folder.sh TSW_SIM SCENARIO WORK LENGTH: plays SCENARIO under Wine in a game folder
# made inside WORK whose Windows path (Z: and all) is LENGTH characters long.
sim=$1 scenario=$2 work=$3 length=$4
rm -rf "$work"
mkdir -p "$work" || exit 1
trap 'rm -rf "$work"' EXIT
folder=$work
# Each step adds "/" and up to 60 characters; the last one makes the length exact.
while [ $((length - 2 - ${#folder})) -gt 1 ]; do
    left=$((length - 2 - ${#folder} - 1))
    step=$((left > 60 ? 60 : left))
    [ $((left - step)) -eq 1 ] && step=$((step - 1))
    folder=$folder/$(printf "%${step}s" | tr ' ' g)
done
if [ $((${#folder} + 2)) -ne "$length" ]; then
    echo "cannot make a folder path of $length characters inside $work"
    exit 1
fi
echo "game folder: Z:$folder ($length characters)"
"$sim" --wine --game-dir "$folder" "$scenario"
