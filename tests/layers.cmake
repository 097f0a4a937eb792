# Nothing includes upward. The plug-in's folders in src/ are layers: host/, then persist/ and
# game/, then badge/ and lawman/, then plugin/; a file may include from its own folder and from
# the layers below its own. The emulated world and the simulator take from src/ only the host
# interface, the native list, the list of the settings file's keys (an interface of the
# plug-in, which scenarios write) and the shipped settings file that the build puts into both;
# the emulator takes nothing from the simulator.
# cmake -DROOT=<repository> -P layers.cmake
set(rank_host 0)
set(rank_persist 1)
set(rank_game 1)
set(rank_badge 2)
set(rank_lawman 2)
set(rank_plugin 3)
set(host_interface host/host_api.h host/native_hashes.h host/native_list.inc
    host/platform_types.h persist/setting_list.inc persist/shipped_settings.h)

set(faults "")
file(GLOB_RECURSE sources RELATIVE ${ROOT}
    ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/src/*.inc
    ${ROOT}/emulator/*.h ${ROOT}/emulator/*.cpp ${ROOT}/emulator/*.inc
    ${ROOT}/sim/*.h ${ROOT}/sim/*.cpp)
foreach(source IN LISTS sources)
    file(STRINGS ${ROOT}/${source} includes REGEX "^#include \"[a-z_]+/")
    string(REGEX MATCH "^[a-z]+/[a-z_]+" place "${source}")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
        string(REGEX MATCH "^[a-z_]+" folder "${included}")
        set(allowed TRUE)
        if(place MATCHES "^src/([a-z_]+)")
            set(own ${CMAKE_MATCH_1})
            if(NOT DEFINED rank_${folder} OR NOT DEFINED rank_${own})
                set(allowed FALSE)
            elseif(NOT folder STREQUAL own AND NOT rank_${folder} LESS rank_${own})
                set(allowed FALSE)
            endif()
        elseif(DEFINED rank_${folder})
            list(FIND host_interface "${included}" at)
            if(at EQUAL -1)
                set(allowed FALSE)
            endif()
        elseif(source MATCHES "^emulator/" AND folder STREQUAL "sim")
            set(allowed FALSE)
        endif()
        if(NOT allowed)
            string(APPEND faults "${source} includes ${included}\n")
        endif()
    endforeach()
endforeach()
if(faults)
    message(FATAL_ERROR "includes against the layers:\n${faults}")
endif()
