#include "persist/ini_reader.h"

#include "persist/ini_text.h"

namespace {

// The reader copies a value into 30 characters, terminator included, before converting it.
constexpr std::size_t VALUE_BUFFER_CHARS = 30;

// Matching quotes around a value are dropped, but only the opening one when the value did
// not fit the buffer; at exactly the buffer's size the last kept character goes instead.
std::string_view bufferedValue(std::string_view value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (quoted) {
        value.remove_prefix(1);
    }
    std::string_view kept = value.substr(0, VALUE_BUFFER_CHARS - 1);
    if (quoted && value.size() <= VALUE_BUFFER_CHARS) {
        kept.remove_suffix(1);
    }
    return kept;
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return -1;
}

// "0b", "0o" and "0x" (lower case only) choose the base; the prefix is taken even when no
// digit follows it.
unsigned takeBase(std::string_view& text) {
    if (text.size() < 2 || text[0] != '0') {
        return 10;
    }
    const unsigned base = text[1] == 'b' ? 2 : text[1] == 'o' ? 8 : text[1] == 'x' ? 16 : 10;
    if (base != 10) {
        text.remove_prefix(2);
    }
    return base;
}

// Windows' own text-to-integer step: control characters and blanks skipped, one sign, the
// longest run of digits, and unsigned 32-bit arithmetic that wraps rather than fails.
std::uint32_t unicodeStringToInteger(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
        text.remove_prefix(1);
    }
    bool minus = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        minus = text.front() == '-';
        text.remove_prefix(1);
    }
    const unsigned base = takeBase(text);
    std::uint32_t total = 0;
    for (const char c : text) {
        const int digit = digitValue(c);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) {
            break;
        }
        total = total * base + static_cast<unsigned>(digit);
    }
    return minus ? 0u - total : total;
}

}  // namespace

std::uint32_t profileIntFromValue(std::string_view value, std::int32_t defaultValue) {
    const std::string_view kept = bufferedValue(value);
    if (kept.empty()) {
        return static_cast<std::uint32_t>(defaultValue);
    }
    return unicodeStringToInteger(kept);
}

ProfileText profileTextForm(std::string_view value) {
    std::string_view kept = bufferedValue(value);
    if (kept.empty()) {
        return ProfileText::Empty;
    }
    const bool minus = kept.front() == '-';
    if (kept.front() == '+' || minus) {
        kept.remove_prefix(1);
    }
    if (kept.empty() || kept.find_first_not_of("0123456789") != std::string_view::npos) {
        return ProfileText::NotWhole;
    }
    const auto digits = kept.find_first_not_of('0');
    const std::string_view significant =
        digits == std::string_view::npos ? std::string_view() : kept.substr(digits);
    if (minus && !significant.empty()) {
        return ProfileText::Negative;
    }
    constexpr std::string_view LARGEST = "4294967295";
    const bool tooLarge = significant.size() > LARGEST.size() ||
                          (significant.size() == LARGEST.size() && significant > LARGEST);
    return tooLarge ? ProfileText::TooLarge : ProfileText::Number;
}

std::vector<IniSection> parseIniFile(std::string_view fileBytes) {
    return parseIniText(decodeIniText(fileBytes));
}

std::uint32_t profileInt(const std::vector<IniSection>& sections, std::string_view section,
                         std::string_view key, std::int32_t defaultValue) {
    const IniKey* found = findIniKey(sections, section, key);
    if (found == nullptr || !found->value) {
        return static_cast<std::uint32_t>(defaultValue);
    }
    return profileIntFromValue(*found->value, defaultValue);
}
