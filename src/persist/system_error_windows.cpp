#include <windows.h>

#include "persist/system_error.h"

// One line without the closing full stop, as the C library words its errors.
bool systemFailed(std::string& error) {
    const DWORD code = GetLastError();
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, text, sizeof text, nullptr);
    error.assign(text, length);
    while (!error.empty() &&
           (error.back() == '\n' || error.back() == '\r' || error.back() == '.')) {
        error.pop_back();
    }
    if (error.empty()) {
        error = "system error " + std::to_string(code);
    }
    return false;
}
