#!/usr/bin/env bash
# make_zip.sh ZIP_PROGRAM ZIP STAGE TIME_FILE ENTRY[=SOURCE]...
# Writes ZIP with the entries in the order given: SOURCE's bytes under the name ENTRY, or a
# folder for an ENTRY that ends in "/". The same inputs give the same bytes: every entry has
# the one time TIME_FILE holds (seconds since 1970, the release's) and one fixed mode, no owner
# or access-time fields, and times are written as UTC.
set -euo pipefail

[ $# -ge 5 ] || {
    echo "usage: make_zip.sh ZIP_PROGRAM ZIP STAGE TIME_FILE ENTRY[=SOURCE]..." >&2
    exit 2
}
zip_program=$1 zip=$(realpath -m "$2") stage=$3 time_file=$4
shift 4
entry_time=$(<"$time_file")
[[ $entry_time =~ ^[0-9]+$ ]] || {
    echo "make_zip.sh: $time_file holds no time: \"$entry_time\"" >&2
    exit 2
}

rm -rf "$stage" "$zip"
mkdir -p "$stage"
entries=()
for argument in "$@"; do
    entry=${argument%%=*}
    case $entry in
        */) mkdir -p "$stage/$entry" ;;
        *)
            mkdir -p "$(dirname "$stage/$entry")"
            cp "${argument#*=}" "$stage/$entry"
            chmod 644 "$stage/$entry"
            ;;
    esac
    entries+=("$entry")
done
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -exec env TZ=UTC touch -h -d "@$entry_time" {} +
# -X: no extra fields (owner, access and change times); folders are named, never walked.
(cd "$stage" && TZ=UTC "$zip_program" -X -9 -q "$zip" "${entries[@]}")
