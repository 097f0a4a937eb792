# GNU ld gives every DLL an export directory, even an empty one. The plug-in must have none,
# so it links with ld's own default script with the .edata section discarded.
# The probe links an empty DLL: it goes into the build folder, not the folder cmake ran in.
execute_process(
    COMMAND ${CMAKE_CXX_COMPILER} -shared -Wl,--verbose -o ld-verbose-probe.dll
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    OUTPUT_VARIABLE TSW_LD_VERBOSE ERROR_QUIET)
string(REGEX MATCH "==================================================\n(.*)\n==================================================" _ "${TSW_LD_VERBOSE}")
set(TSW_LD_SCRIPT "${CMAKE_MATCH_1}")
string(REGEX REPLACE "\\.edata[^\n]*\n[ \t]*{[ \t\n]*\\*\\(\\.edata\\)[ \t\n]*}" "/DISCARD/ : { *(.edata) }" TSW_LD_SCRIPT_NO_EDATA "${TSW_LD_SCRIPT}")
if(TSW_LD_SCRIPT_NO_EDATA STREQUAL TSW_LD_SCRIPT OR TSW_LD_SCRIPT STREQUAL "")
    message(FATAL_ERROR "could not derive a linker script without .edata from ld --verbose")
endif()
set(TSW_NO_EDATA_SCRIPT ${CMAKE_BINARY_DIR}/dll-without-exports.ld)
file(WRITE ${TSW_NO_EDATA_SCRIPT} "${TSW_LD_SCRIPT_NO_EDATA}\n")

function(tsw_without_export_table target)
    target_link_options(${target} PRIVATE -Wl,--exclude-all-symbols -Wl,-T,${TSW_NO_EDATA_SCRIPT})
endfunction()
