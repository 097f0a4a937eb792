#!/usr/bin/env bash
# make_zip.sh ZIP_PROGRAM ZIP STAGE ENTRY[=SOURCE]...
# Writes ZIP with the entries in the order given: SOURCE's bytes under the name ENTRY, or a
# folder for an ENTRY that ends in "/". The same inputs give the same bytes: every entry has
# one fixed time and mode, no owner or access-time fields, and times are read as UTC.
set -euo pipefail

[ $# -ge 4 ] || {
    echo "usage: make_zip.sh ZIP_PROGRAM ZIP STAGE ENTRY[=SOURCE]..." >&2
    exit 2
}
zip_program=$1 zip=$(realpath -m "$2") stage=$3
shift 3
# The zip format's first day: clearly no release date, and the same on every build.
ENTRY_TIME='1980-01-01 00:00:00'

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
find "$stage" -exec env TZ=UTC touch -h -d "$ENTRY_TIME" {} +
# -X: no extra fields (owner, access and change times); folders are named, never walked.
(cd "$stage" && TZ=UTC "$zip_program" -X -9 -q "$zip" "${entries[@]}")
