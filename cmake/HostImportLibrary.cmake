# tsw_host_imports: the import library for ScriptHookRDR2.dll, made by dlltool from a .def
# that maps the plain names to the host's decorated ones.
set(TSW_HOST_DEF ${PROJECT_SOURCE_DIR}/cmake/host_imports.def)
set(TSW_HOST_IMPLIB ${CMAKE_BINARY_DIR}/libScriptHookRDR2_imports.a)
# dlltool names symbols after the library's path as given: a bare name keeps the build
# folder's path out of the plug-in.
add_custom_command(
    OUTPUT ${TSW_HOST_IMPLIB}
    COMMAND ${CMAKE_DLLTOOL} --input-def ${TSW_HOST_DEF} --output-lib libScriptHookRDR2_imports.a
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DEPENDS ${TSW_HOST_DEF}
    COMMENT "Import library for the host's decorated names")
add_custom_target(tsw_host_implib DEPENDS ${TSW_HOST_IMPLIB})
add_library(tsw_host_imports INTERFACE)
add_dependencies(tsw_host_imports tsw_host_implib)
target_link_libraries(tsw_host_imports INTERFACE ${TSW_HOST_IMPLIB})
