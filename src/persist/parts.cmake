# The persistence code by job, with full paths: the plug-in's source list and the test, fuzz
# and Windows check programs that build a part on its own all take them from here.
set(TSW_PERSIST_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TSW_PERSIST_DATA_FILE_SOURCES
    ${TSW_PERSIST_DIR}/base_data_file.cpp
    ${TSW_PERSIST_DIR}/dict_data_file.cpp
    ${TSW_PERSIST_DIR}/number_text.cpp
    ${TSW_PERSIST_DIR}/unicode_text.cpp
)
# The opt-in log a player can send, and the plug-in's own use of both files: the shared data
# file and the settings read at load (made when missing), with the log's account of them.
set(TSW_PERSIST_PLUGIN_SOURCES
    ${TSW_PERSIST_DIR}/data_file.cpp
    ${TSW_PERSIST_DIR}/diagnostics_log.cpp
    ${TSW_PERSIST_DIR}/joined_text.cpp
    ${TSW_PERSIST_DIR}/meant_value.cpp
    ${TSW_PERSIST_DIR}/missing_settings.cpp
    ${TSW_PERSIST_DIR}/nearest_name.cpp
    ${TSW_PERSIST_DIR}/path_missing.cpp
    ${TSW_PERSIST_DIR}/settings_at_load.cpp
    ${TSW_PERSIST_DIR}/settings_report.cpp
)
set(TSW_PERSIST_SETTINGS_SOURCES
    ${TSW_PERSIST_DIR}/settings.cpp
)
# The stand-in for the Windows profile reader, plain C++ on every platform. The Windows build
# reads its settings with Windows' own, and the settings file's text for the log with this.
set(TSW_PERSIST_INI_SOURCES
    ${TSW_PERSIST_DIR}/ini_document.cpp
    ${TSW_PERSIST_DIR}/ini_file.cpp
    ${TSW_PERSIST_DIR}/ini_reader.cpp
    ${TSW_PERSIST_DIR}/ini_text.cpp
    ${TSW_PERSIST_DIR}/unicode_text.cpp
)
# The system's side of the data file and the log: the whole file read, files opened for writing
# through no link, the replacing move, flushes to disk. The data file sources need one of them.
set(TSW_PERSIST_FILE_POSIX_SOURCES
    ${TSW_PERSIST_DIR}/own_file_posix.cpp
    ${TSW_PERSIST_DIR}/read_file_posix.cpp
    ${TSW_PERSIST_DIR}/replace_file_posix.cpp
    ${TSW_PERSIST_DIR}/system_error_posix.cpp
)
set(TSW_PERSIST_FILE_WINDOWS_SOURCES
    ${TSW_PERSIST_DIR}/own_file_windows.cpp
    ${TSW_PERSIST_DIR}/read_file_windows.cpp
    ${TSW_PERSIST_DIR}/replace_file_windows.cpp
    ${TSW_PERSIST_DIR}/system_error_windows.cpp
)
set(TSW_PERSIST_POSIX_SOURCES
    ${TSW_PERSIST_DIR}/make_folder_posix.cpp
    ${TSW_PERSIST_DIR}/profile_reader_portable.cpp
    ${TSW_PERSIST_FILE_POSIX_SOURCES}
)
set(TSW_PERSIST_WINDOWS_SOURCES
    ${TSW_PERSIST_DIR}/make_folder_windows.cpp
    ${TSW_PERSIST_DIR}/profile_reader_windows.cpp
    ${TSW_PERSIST_FILE_WINDOWS_SOURCES}
)
