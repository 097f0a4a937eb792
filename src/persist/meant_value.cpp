#include "persist/meant_value.h"

#include "host/key_names.h"
#include "host/key_state.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The value without a note after it, the blanks round it, or matching quotes.
std::string_view beforeNote(std::string_view value) {
    value = value.substr(0, value.find_first_of(";#"));
    while (!value.empty() && isBlank(value.back())) {
        value.remove_suffix(1);
    }
    while (!value.empty() && isBlank(value.front())) {
        value.remove_prefix(1);
    }
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

int digitOf(char c, unsigned base) {
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    return digit >= 0 && static_cast<unsigned>(digit) < base ? digit : -1;
}

// Letters and digits only, in lower case: "Numpad 6" and "NUMPAD6" are alike.
bool sameKeyName(std::string_view written, std::string_view name) {
    const auto next = [](std::string_view& text) {
        while (!text.empty() && isBlank(text.front())) {
            text.remove_prefix(1);
        }
        const char c = text.empty() ? '\0' : text.front();
        if (!text.empty()) {
            text.remove_prefix(1);
        }
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    char a = 0;
    do {
        a = next(written);
        if (a != next(name)) {
            return false;
        }
    } while (a != '\0');
    return true;
}

}  // namespace

std::optional<MeantNumber> meantNumber(std::string_view value) {
    std::string_view text = beforeNote(value);
    MeantNumber meant;
    const bool minus = text.starts_with('-');
    if (minus || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    // Only a lower-case "0x" is hexadecimal to the reader.
    const unsigned base = text.starts_with("0x") ? 16 : 10;
    if (base == 16) {
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t total = 0;
    for (const char c : text) {
        const int digit = digitOf(c, base);
        if (digit < 0) {
            return std::nullopt;
        }
        total = total * base + static_cast<unsigned>(digit);
        if (total > UINT32_MAX) {
            meant.tooLarge = true;
            total = UINT32_MAX;
        }
    }
    meant.value = static_cast<std::uint32_t>(total);
    meant.negative = minus && total != 0;
    return meant;
}

std::uint32_t keyCodeNamed(std::string_view value) {
    const std::string_view text = beforeNote(value);
    if (text.empty()) {
        return 0;
    }
    for (std::uint32_t code = 1; code < KEY_CODE_COUNT; ++code) {
        if (sameKeyName(text, keyName(code))) {
            return code;
        }
    }
    return 0;
}
