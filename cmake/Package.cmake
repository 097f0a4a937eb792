# The Windows build's layout and its installable package.

# tsw-sim.exe loads the emulated host from its own folder, as the game loads the real one
# from beside RDR2.exe.
set_target_properties(ScriptHookRDR2 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/sim)

set(TSW_PACKAGE_DIR ${PROJECT_SOURCE_DIR}/package)
set(TSW_CHANGELOG ${PROJECT_BINARY_DIR}/generated/CHANGELOG.md)
configure_file(${TSW_PACKAGE_DIR}/CHANGELOG.md.in ${TSW_CHANGELOG} @ONLY)

# The zip a player downloads: extracted into the folder that holds RDR2.exe, it installs the
# plug-in. The entries in this order; the debug information stays out.
set(TSW_ZIP_NAME TinStarWarden-${TSW_VERSION}.zip)
set(TSW_ZIP ${CMAKE_BINARY_DIR}/${TSW_ZIP_NAME})
set(TSW_ZIP_ENTRIES
    TinStarWarden.asi=$<TARGET_FILE:TinStarWarden>
    TinStarWarden/
    TinStarWarden/TinStarWarden.ini=${TSW_PACKAGE_DIR}/TinStarWarden/TinStarWarden.ini
    TinStarWarden/TinStarWarden.dat=${TSW_PACKAGE_DIR}/TinStarWarden/TinStarWarden.dat
    INSTALL.md=${TSW_PACKAGE_DIR}/INSTALL.md
    CHANGELOG.md=${TSW_CHANGELOG})
set(TSW_MAKE_ZIP ${PROJECT_SOURCE_DIR}/cmake/make_zip.sh)
find_program(TSW_ZIP_PROGRAM zip REQUIRED)
add_custom_command(
    OUTPUT ${TSW_ZIP}
    COMMAND bash ${TSW_MAKE_ZIP} ${TSW_ZIP_PROGRAM} ${TSW_ZIP} ${CMAKE_BINARY_DIR}/package_stage
            ${TSW_ZIP_ENTRIES}
    DEPENDS TinStarWarden ${TSW_MAKE_ZIP} ${TSW_CHANGELOG}
            ${TSW_PACKAGE_DIR}/TinStarWarden/TinStarWarden.ini
            ${TSW_PACKAGE_DIR}/TinStarWarden/TinStarWarden.dat
            ${TSW_PACKAGE_DIR}/INSTALL.md
    COMMENT "Packaging ${TSW_ZIP_NAME}"
    VERBATIM)
add_custom_target(tsw_package_zip ALL DEPENDS ${TSW_ZIP})

# cmake --install build/windows --prefix dist: the package as it is installed (the .asi beside
# RDR2.exe, its folder beside it), then the zip and, beside them, the debug information.
install(TARGETS TinStarWarden RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(FILES ${TSW_PACKAGE_DIR}/INSTALL.md ${TSW_CHANGELOG} DESTINATION .)
install(FILES
    ${TSW_PACKAGE_DIR}/TinStarWarden/TinStarWarden.ini
    ${TSW_PACKAGE_DIR}/TinStarWarden/TinStarWarden.dat
    DESTINATION TinStarWarden)
install(FILES ${TSW_ZIP} $<TARGET_FILE_DIR:TinStarWarden>/${TSW_DEBUG_FILE_NAME} DESTINATION .)
