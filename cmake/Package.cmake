# The Windows build's layout and its installable package.

# tsw-sim.exe loads the emulated host from its own folder, as the game loads the real one
# from beside RDR2.exe.
set_target_properties(ScriptHookRDR2 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/sim)

set(TSW_PACKAGE_DIR ${PROJECT_SOURCE_DIR}/package)
set(TSW_SETTINGS_FILE ${TSW_PACKAGE_DIR}/TinStarWarden/TinStarWarden.ini)
# Plain text with CR LF line ends, as Notepad shows it well, the version filled in.
set(TSW_README ${PROJECT_BINARY_DIR}/generated/ReadMe.txt)
set(TSW_CHANGELOG ${PROJECT_BINARY_DIR}/generated/ChangeLog.txt)
configure_file(${TSW_PACKAGE_DIR}/ReadMe.txt.in ${TSW_README} @ONLY NEWLINE_STYLE CRLF)
configure_file(${TSW_PACKAGE_DIR}/ChangeLog.txt.in ${TSW_CHANGELOG} @ONLY NEWLINE_STYLE CRLF)

# The zips a player downloads: extracted into the folder that holds RDR2.exe, each puts only
# TinStarWarden.asi and the TinStarWarden folder there. Neither holds the data file, which the
# plug-in makes at its first start, so no extraction can overwrite a player's badge.
set(TSW_MAKE_ZIP ${PROJECT_SOURCE_DIR}/cmake/make_zip.sh)
find_program(TSW_ZIP_PROGRAM zip REQUIRED)
set(TSW_ZIPS)

# tsw_add_zip(NAME ENTRY[=SOURCE]...): the zip NAME in the build folder, entries in that order.
function(tsw_add_zip name)
    set(zip ${CMAKE_BINARY_DIR}/${name})
    get_filename_component(stage ${name} NAME_WLE)
    set(sources)
    # A file the zip takes, but not a generator expression (the .asi, a dependency anyway).
    # The source is kept before the second match, which clears CMAKE_MATCH_1.
    foreach(entry ${ARGN})
        if(entry MATCHES "^[^=]+=(.+)$")
            set(source ${CMAKE_MATCH_1})
            if(NOT source MATCHES "^\\$<")
                list(APPEND sources ${source})
            endif()
        endif()
    endforeach()
    add_custom_command(
        OUTPUT ${zip}
        COMMAND bash ${TSW_MAKE_ZIP} ${TSW_ZIP_PROGRAM} ${zip}
                ${CMAKE_BINARY_DIR}/package_stage/${stage} ${ARGN}
        DEPENDS TinStarWarden ${TSW_MAKE_ZIP} ${sources}
        COMMENT "Packaging ${name}"
        VERBATIM)
    set(TSW_ZIPS ${TSW_ZIPS} ${zip} PARENT_SCOPE)
endfunction()

set(TSW_ASI_ENTRY TinStarWarden.asi=$<TARGET_FILE:TinStarWarden>)
set(TSW_README_ENTRY TinStarWarden/ReadMe.txt=${TSW_README})
# A first install: the plug-in, its settings and the read-me.
tsw_add_zip(TinStarWarden-${TSW_VERSION}.zip
    ${TSW_ASI_ENTRY}
    TinStarWarden/
    TinStarWarden/TinStarWarden.ini=${TSW_SETTINGS_FILE}
    ${TSW_README_ENTRY})
# An update over any install: never the settings, so "Replace all" keeps the player's.
tsw_add_zip(TinStarWarden-${TSW_VERSION}-update.zip
    ${TSW_ASI_ENTRY}
    TinStarWarden/
    ${TSW_README_ENTRY}
    TinStarWarden/ChangeLog.txt=${TSW_CHANGELOG})
add_custom_target(tsw_package_zip ALL DEPENDS ${TSW_ZIPS})

# cmake --install build/windows --prefix dist: the package as it is installed (the .asi beside
# RDR2.exe, its folder beside it), then the zips and, beside them, the debug information.
install(TARGETS TinStarWarden RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(FILES ${TSW_SETTINGS_FILE} ${TSW_README} ${TSW_CHANGELOG} DESTINATION TinStarWarden)
install(FILES ${TSW_ZIPS} $<TARGET_FILE_DIR:TinStarWarden>/${TSW_DEBUG_FILE_NAME} DESTINATION .)
