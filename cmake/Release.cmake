# What the shipped .asi needs beyond compiling: a version resource, no time stamps and no
# build paths (two builds of one commit give the same bytes), and its debug information in a
# file of its own that the stripped .asi links to.

enable_language(RC)

# Build paths leave the objects: the sources appear under /TinStarWarden, the build folder
# under /TinStarWarden/build whatever its name. GCC uses the last map that matches, so the
# build folder (often inside the sources) comes second. Each folder is mapped by the path CMake
# was given and by its real one: reached through a symbolic link they differ, and the
# compiler's working folder, which the debug information records, is the real one.
foreach(folder SOURCE BINARY)
    file(REAL_PATH ${PROJECT_${folder}_DIR} real_${folder})
endforeach()
add_compile_options(
    $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=/TinStarWarden>
    $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${real_SOURCE}=/TinStarWarden>
    $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=/TinStarWarden/build>
    $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${real_BINARY}=/TinStarWarden/build>)

configure_file(${PROJECT_SOURCE_DIR}/src/host/version.rc.in
    ${PROJECT_BINARY_DIR}/generated/host/version.rc @ONLY)

set(TSW_DEBUG_FILE_NAME TinStarWarden-${TSW_VERSION}.debug)

# tsw_release_binary(TARGET OBJECTS): TARGET gets the version resource, is linked without a
# time stamp, and is stripped after linking, its debug information (its own code's too, from
# -g on TARGET and on the object library OBJECTS) left in TSW_DEBUG_FILE_NAME beside it.
function(tsw_release_binary target objects)
    target_sources(${target} PRIVATE ${PROJECT_BINARY_DIR}/generated/host/version.rc)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-g>)
    target_compile_options(${objects} PRIVATE -g)
    target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
    set(debug_file $<TARGET_FILE_DIR:${target}>/${TSW_DEBUG_FILE_NAME})
    # objcopy stamps the time of day into what it writes unless SOURCE_DATE_EPOCH says
    # otherwise; 0 is what the linker writes without a time stamp.
    set(objcopy ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY})
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${objcopy} --only-keep-debug $<TARGET_FILE:${target}> ${debug_file}
        COMMAND ${objcopy} --strip-all --add-gnu-debuglink=${debug_file} $<TARGET_FILE:${target}>
        COMMENT "Debug information of ${target} into ${TSW_DEBUG_FILE_NAME}, stripped"
        VERBATIM)
    set_property(TARGET ${target} APPEND PROPERTY ADDITIONAL_CLEAN_FILES ${debug_file})
endfunction()
