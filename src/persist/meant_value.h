#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// What a player meant by a setting's value, to tell a value the reader reads as written from
// one it reads otherwise.

// A whole number as written: its size beyond 32 bits and its sign are kept apart, since the
// reader wraps both round.
struct MeantNumber {
    std::uint32_t value = 0;
    bool negative = false;  // and not 0
    bool tooLarge = false;  // beyond 4294967295
};

// The number before any note on the line (after ';' or '#'), in decimal or, after "0x", in
// hexadecimal, with quotes round it aside: "102 ; numpad 6" means 102, "0x60" 96. None when
// that text is no whole number ("0.5", "yes", "F5").
std::optional<MeantNumber> meantNumber(std::string_view value);

// The key code whose name (as keyName gives it, case and blanks aside) the value is: "F5" is
// 116, "NUMPAD6" 102; 0 when it names no key. A note after it is no part of it.
std::uint32_t keyCodeNamed(std::string_view value);
