#pragma once
// How a setting's unsigned value, as the profile reader gives it, becomes its Settings field
// (setting_list.inc names one of these for each setting). A conversion's type is its field's.
#include <cstdint>

// On for any value but 0.
constexpr bool asSwitch(std::uint32_t value) {
    return value != 0;
}

// Compared with a draw from 0 to 10000: the value times 1000, wrapping modulo 2^32 as the
// profile reader's unsigned value does.
constexpr std::int32_t asChanceThreshold(std::uint32_t value) {
    return static_cast<std::int32_t>(value * 1000u);
}

// The steps are scaled in single precision on purpose: the float constant, not 0.01 as a
// double, fixes them. An offset step per poll...
constexpr float asOffsetStep(std::uint32_t value) {
    return static_cast<float>(value) * 0.00001f;
}

// ...a rotation step per poll, in degrees...
constexpr float asDegreeStep(std::uint32_t value) {
    return static_cast<float>(value) * 0.01f;
}

// ...and the wait after an edit step, in ms (the caller truncates it).
constexpr float asPauseMs(std::uint32_t value) {
    return static_cast<float>(value) * 0.01f;
}

// A Windows virtual-key code, as written; 0 names no key.
constexpr std::uint32_t asKeyCode(std::uint32_t value) {
    return value;
}
