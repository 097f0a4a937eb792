#include "persist/number_text.h"

#include <charconv>
#include <cmath>

namespace {

// White space as the C locale's isspace has it, whatever the process's locale.
std::string_view skipSpace(std::string_view text) {
    while (!text.empty() &&
           (text.front() == ' ' || (text.front() >= '\t' && text.front() <= '\r'))) {
        text.remove_prefix(1);
    }
    return text;
}

// from_chars takes a '-' but no '+', and after a '+' no second sign may follow ("+-5").
std::optional<std::string_view> withoutPlus(std::string_view text) {
    if (!text.starts_with('+')) {
        return text;
    }
    text.remove_prefix(1);
    if (text.starts_with('-')) {
        return std::nullopt;
    }
    return text;
}

// The number at the front of the text; unread, when given, gets what follows it.
template <typename Number>
std::optional<Number> numberPrefix(std::string_view text, std::string_view* unread = nullptr) {
    const auto number = withoutPlus(skipSpace(text));
    if (!number) {
        return std::nullopt;
    }
    Number value{};
    const auto result = std::from_chars(number->data(), number->data() + number->size(), value);
    if (result.ec != std::errc()) {
        return std::nullopt;
    }
    if (unread != nullptr) {
        *unread = number->substr(static_cast<std::size_t>(result.ptr - number->data()));
    }
    return value;
}

std::string_view withoutSpaceAtEnd(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || (text.back() >= '\t' && text.back() <= '\r'))) {
        text.remove_suffix(1);
    }
    return text;
}

// Six digits after the point (fixed) or six significant ones (general). The largest float
// takes 39 digits before the point.
std::string floatTextAs(float value, std::chars_format format) {
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, static_cast<double>(value), format, 6).ptr;
    return std::string(text, end);
}

}  // namespace

std::string intText(std::int32_t value) {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string floatText(float value) {
    return floatTextAs(value, std::chars_format::fixed);
}

std::string shortFloatText(float value) {
    return floatTextAs(value, std::chars_format::general);
}

std::optional<std::int32_t> intPrefix(std::string_view text) {
    return numberPrefix<std::int32_t>(text);
}

// from_chars also reads "inf", "infinity" and "nan" in any case; none of them is a place or an
// angle for the badge, so they read as no number, like a text that is no number at all.
std::optional<float> floatPrefix(std::string_view text) {
    const auto value = numberPrefix<float>(text);
    if (value && !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

std::string_view afterIntPrefix(std::string_view text) {
    std::string_view unread;
    return numberPrefix<std::int32_t>(text, &unread) ? withoutSpaceAtEnd(unread) : text;
}

std::string_view afterFloatPrefix(std::string_view text) {
    std::string_view unread;
    return numberPrefix<float>(text, &unread) ? withoutSpaceAtEnd(unread) : text;
}
