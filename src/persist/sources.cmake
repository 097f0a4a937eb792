# Persistence sources, added to the plug-in's source list by src/CMakeLists.txt.
include(${CMAKE_CURRENT_LIST_DIR}/parts.cmake)
list(APPEND TSW_PLUGIN_SOURCES
    ${TSW_PERSIST_DATA_FILE_SOURCES}
    ${TSW_PERSIST_SETTINGS_SOURCES}
    ${TSW_PERSIST_DIR}/data_file.cpp
)
if(WIN32)
    list(APPEND TSW_PLUGIN_SOURCES ${TSW_PERSIST_WINDOWS_SOURCES})
else()
    list(APPEND TSW_PLUGIN_SOURCES ${TSW_PERSIST_POSIX_SOURCES})
endif()
