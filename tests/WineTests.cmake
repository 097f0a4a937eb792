# Tests that run Windows programs under Wine share one prefix (build/wineprefix), prepared
# once per ctest run, with a persistent wineserver so that each program starts quickly.
find_program(TSW_WINE wine REQUIRED)
find_program(TSW_WINESERVER NAMES wineserver PATHS /usr/lib/wine /usr/lib/wine64 REQUIRED)
find_program(TSW_WINEBOOT wineboot REQUIRED)

set(TSW_WINE_ENV
    "WINEPREFIX=${TSW_WINE_PREFIX}"
    "WINEDEBUG=-all"
    "WINEDLLOVERRIDES=mscoree,mshtml=")

add_test(NAME wine_prefix_setup
    COMMAND ${CMAKE_COMMAND} -E env ${TSW_WINE_ENV}
            sh -c "'${TSW_WINEBOOT}' -i >/dev/null 2>&1; '${TSW_WINESERVER}' -p")
set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP WinePrefix)

add_test(NAME wine_server_stop
    COMMAND ${CMAKE_COMMAND} -E env ${TSW_WINE_ENV} ${TSW_WINESERVER} -k)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP WinePrefix)

# tsw_add_wine_test(NAME COMMAND...): a test that needs the Wine prefix.
function(tsw_add_wine_test name)
    add_test(NAME ${name} COMMAND ${ARGN})
    set_tests_properties(${name} PROPERTIES
        FIXTURES_REQUIRED WinePrefix
        ENVIRONMENT "${TSW_WINE_ENV}"
        LABELS wine)
endfunction()
