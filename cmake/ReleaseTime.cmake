# cmake -DSOURCE=REPOSITORY -DOUT=FILE -P ReleaseTime.cmake
# Writes the release's time into FILE, in seconds since 1970 (UTC), for the zips' entries:
# SOURCE_DATE_EPOCH when it is set (the reproducible-builds convention), otherwise the time of
# the commit built, so that every build of one commit dates them alike. Rounded down to even
# seconds, as a zip entry's time has no finer step. FILE is rewritten only when the time
# changes, so the zips are made again only then.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(time "$ENV{SOURCE_DATE_EPOCH}")
else()
    execute_process(COMMAND git -C "${SOURCE}" log -1 --format=%ct
        OUTPUT_VARIABLE time RESULT_VARIABLE failed ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(failed)
        set(time "")
    endif()
endif()
if(NOT time MATCHES "^[0-9]+$")
    # No commit to date them by (a copy of the sources without git): the zip format's first
    # day, 1980-01-01, still the same on every build.
    message(WARNING "the zips' entries are dated 1980-01-01: no git commit and no "
        "SOURCE_DATE_EPOCH to date them by")
    set(time 315532800)
endif()
math(EXPR time "${time} / 2 * 2")
file(WRITE "${OUT}.new" "${time}\n")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
