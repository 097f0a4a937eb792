# The plug-in's version, written once in the repository's VERSION file. Everything that shows
# a version (the .asi's version resource, the package's name, the change log, the diagnostics
# log) takes it from here.
file(STRINGS ${PROJECT_SOURCE_DIR}/VERSION TSW_VERSION LIMIT_COUNT 1)
if(NOT TSW_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "VERSION must hold MAJOR.MINOR.PATCH, found \"${TSW_VERSION}\"")
endif()
set(TSW_VERSION_MAJOR ${CMAKE_MATCH_1})
set(TSW_VERSION_MINOR ${CMAKE_MATCH_2})
set(TSW_VERSION_PATCH ${CMAKE_MATCH_3})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/VERSION)
configure_file(${PROJECT_SOURCE_DIR}/src/host/version.h.in
    ${PROJECT_BINARY_DIR}/generated/host/version.h @ONLY)
