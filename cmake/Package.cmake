# The Windows build's layout and its installable package.

# tsw-sim.exe loads the emulated host from its own folder, as the game loads the real one
# from beside RDR2.exe.
set_target_properties(ScriptHookRDR2 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/sim)

# cmake --install build/windows --prefix dist: the .asi beside RDR2.exe, its folder beside it.
set(TSW_PACKAGE_DIR ${PROJECT_SOURCE_DIR}/package)
install(TARGETS TinStarWarden RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(FILES ${TSW_PACKAGE_DIR}/INSTALL.md DESTINATION .)
install(FILES
    ${TSW_PACKAGE_DIR}/TinStarWarden/TinStarWarden.ini
    ${TSW_PACKAGE_DIR}/TinStarWarden/TinStarWarden.dat
    DESTINATION TinStarWarden)
