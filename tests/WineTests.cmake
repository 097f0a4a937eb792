# Tests that run Windows programs under Wine share one prefix (build/wineprefix), prepared
# once per ctest run, with a persistent wineserver so that each program starts quickly.
find_program(TSW_WINE wine REQUIRED)
find_program(TSW_WINESERVER NAMES wineserver PATHS /usr/lib/wine /usr/lib/wine64 REQUIRED)
find_program(TSW_WINEBOOT wineboot REQUIRED)

set(TSW_WINE_ENV
    "WINEPREFIX=${TSW_WINE_PREFIX}"
    "WINEDEBUG=-all"
    "WINEDLLOVERRIDES=mscoree,mshtml=")
set(TSW_WINE_PREFIX_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/wine/wine_prefix.sh)

add_test(NAME wine.prefix_setup
    COMMAND bash ${TSW_WINE_PREFIX_SCRIPT} start ${TSW_WINESERVER} ${TSW_WINEBOOT})
# A first wineboot builds the whole prefix.
set_tests_properties(wine.prefix_setup PROPERTIES
    FIXTURES_SETUP WinePrefix ENVIRONMENT "${TSW_WINE_ENV}" TIMEOUT 300)

add_test(NAME wine.prefix_stop
    COMMAND bash ${TSW_WINE_PREFIX_SCRIPT} stop ${TSW_WINESERVER} ${TSW_WINEBOOT})
set_tests_properties(wine.prefix_stop PROPERTIES
    FIXTURES_CLEANUP WinePrefix ENVIRONMENT "${TSW_WINE_ENV}")

# tsw_add_wine_test(NAME COMMAND...): a test that needs the Wine prefix.
function(tsw_add_wine_test name)
    add_test(NAME ${name} COMMAND ${ARGN})
    set_tests_properties(${name} PROPERTIES
        FIXTURES_REQUIRED WinePrefix
        ENVIRONMENT "${TSW_WINE_ENV}"
        LABELS wine
        TIMEOUT 120)
endfunction()
