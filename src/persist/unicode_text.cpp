#include "persist/unicode_text.h"

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendUtf8(std::string& text, char32_t c) {
    const auto byte = [&](char32_t bits) { text += static_cast<char>(bits); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | (c >> 6));
        byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | (c >> 12));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | (c >> 18));
        byte(0x80 | ((c >> 12) & 0x3F));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

std::string utf8FromUnits(const std::u16string& units) {
    std::string text;
    text.reserve(units.size());
    for (std::size_t at = 0; at < units.size(); ++at) {
        const char16_t unit = units[at];
        if (isHighSurrogate(unit) && at + 1 < units.size() && isLowSurrogate(units[at + 1])) {
            appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (units[++at] - 0xDC00));
        } else {
            const bool lone = isHighSurrogate(unit) || isLowSurrogate(unit);
            appendUtf8(text, lone ? REPLACEMENT : unit);
        }
    }
    return text;
}

}  // namespace

std::u16string utf16Units(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        units += static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return units;
}

std::optional<Utf16Decoded> decodeMarkedUtf16(std::string_view bytes) {
    const bool little = bytes.starts_with(UTF16LE_MARK);
    if (!little && !bytes.starts_with(UTF16BE_MARK)) {
        return std::nullopt;
    }
    const std::u16string units = utf16Units(bytes.substr(UTF16LE_MARK.size()), !little);
    return Utf16Decoded{utf8FromUnits(units), little ? "UTF-16 LE" : "UTF-16 BE"};
}
