#include "persist/ini_text.h"

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";
constexpr std::string_view UTF16LE_BOM = "\xFF\xFE";
constexpr std::string_view UTF16BE_BOM = "\xFE\xFF";
constexpr char NON_ASCII = '\x80';

// One char per UTF-16 unit; an odd last byte is dropped, as Windows does.
std::string fromUtf16(std::string_view bytes, bool bigEndian) {
    std::string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto low = static_cast<unsigned char>(bytes[at + (bigEndian ? 1 : 0)]);
        const auto high = static_cast<unsigned char>(bytes[at + (bigEndian ? 0 : 1)]);
        const unsigned unit = high * 256u + low;
        text += unit < 0x80 ? static_cast<char>(unit) : NON_ASCII;
    }
    return text;
}

}  // namespace

std::string decodeIniText(std::string_view bytes) {
    // UTF-8 and the ANSI code page keep ASCII bytes as they are and never make ASCII out of
    // other bytes, so their text can stay byte for byte.
    if (bytes.starts_with(UTF8_BOM)) {
        return std::string(bytes.substr(UTF8_BOM.size()));
    }
    if (bytes.starts_with(UTF16LE_BOM)) {
        return fromUtf16(bytes.substr(UTF16LE_BOM.size()), false);
    }
    if (bytes.starts_with(UTF16BE_BOM)) {
        return fromUtf16(bytes.substr(UTF16BE_BOM.size()), true);
    }
    return std::string(bytes);
}
