# The settings file a first install holds, package/TinStarWarden/TinStarWarden.ini, goes into
# the plug-in (which writes it when it is missing) and the simulator (whose fresh game folder
# starts with it) as one generated source: the bytes as the package ships them.
set(TSW_SHIPPED_SETTINGS_FILE ${PROJECT_SOURCE_DIR}/package/TinStarWarden/TinStarWarden.ini)
set(TSW_SHIPPED_SETTINGS_SOURCE ${PROJECT_BINARY_DIR}/generated/persist/shipped_settings.cpp)
# Written byte by byte ('\x3b', ...): a raw string literal would not keep the CR of each line end.
file(READ ${TSW_SHIPPED_SETTINGS_FILE} TSW_SHIPPED_SETTINGS_HEX HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," TSW_SHIPPED_SETTINGS_BYTES
    "${TSW_SHIPPED_SETTINGS_HEX}")
string(REGEX REPLACE "(('\\\\x..',){16})" "\\1\n    " TSW_SHIPPED_SETTINGS_BYTES
    "${TSW_SHIPPED_SETTINGS_BYTES}")
configure_file(${PROJECT_SOURCE_DIR}/src/persist/shipped_settings.cpp.in
    ${TSW_SHIPPED_SETTINGS_SOURCE} @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TSW_SHIPPED_SETTINGS_FILE})
