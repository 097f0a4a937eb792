#include "persist/ini_text.h"

#include "persist/unicode_text.h"

namespace {

constexpr char NON_ASCII = '\x80';

// One char per UTF-16 unit, as the profile reader counts them.
std::string fromUtf16(std::string_view bytes, bool bigEndian) {
    std::string text;
    for (const char16_t unit : utf16Units(bytes, bigEndian)) {
        text += unit < 0x80 ? static_cast<char>(unit) : NON_ASCII;
    }
    return text;
}

}  // namespace

std::string decodeIniText(std::string_view bytes) {
    // UTF-8 and the ANSI code page keep ASCII bytes as they are and never make ASCII out of
    // other bytes, so their text can stay byte for byte.
    if (bytes.starts_with(UTF8_MARK)) {
        return std::string(bytes.substr(UTF8_MARK.size()));
    }
    if (bytes.starts_with(UTF16LE_MARK)) {
        return fromUtf16(bytes.substr(UTF16LE_MARK.size()), false);
    }
    if (bytes.starts_with(UTF16BE_MARK)) {
        return fromUtf16(bytes.substr(UTF16BE_MARK.size()), true);
    }
    return std::string(bytes);
}
