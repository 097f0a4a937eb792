#include <string>

#include "emulator/file_path.h"

std::FILE* openFile(const std::string& utf8, const char* mode) {
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(pathOf(utf8).c_str(), wideMode.c_str());
}
