#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Number texts of the data file, the same in every locale and on both toolchains.

// Decimal, "-" first when negative.
std::string intText(std::int32_t value);

// printf "%f" of the value widened to double: fixed, six digits after the point.
std::string floatText(float value);

// A float as a person writes it, six significant digits at most: 0.001, 1, 360.
std::string shortFloatText(float value);

// Leading white space, an optional sign and decimal digits, the rest ignored ("12abc" is 12,
// "3.7" is 3). Empty when there is no digit or the number does not fit 32 bits.
std::optional<std::int32_t> intPrefix(std::string_view text);

// Leading white space and the longest decimal float ("0.5xyz" is 0.5). Empty when there is
// none, when it is an infinity or not-a-number in any spelling, or when it overflows the float
// range or underflows to zero: the result is always finite.
std::optional<float> floatPrefix(std::string_view text);

// What intPrefix or floatPrefix leaves unread of the text, white space at its end aside:
// empty when the whole text is the number ("0,02" leaves ",02").
std::string_view afterIntPrefix(std::string_view text);
std::string_view afterFloatPrefix(std::string_view text);
