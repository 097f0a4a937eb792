#pragma once
#include <cstdint>
#include <string_view>

// The game's name hash: Jenkins one-at-a-time over the lower-cased text.
constexpr std::uint32_t jenkinsHash(std::string_view text) {
    std::uint32_t hash = 0;
    for (char c : text) {
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        hash += static_cast<std::uint8_t>(lower);
        hash += hash << 10;
        hash ^= hash >> 6;
    }
    hash += hash << 3;
    hash ^= hash >> 11;
    hash += hash << 15;
    return hash;
}

static_assert(jenkinsHash("s_badgeusmarshal01x") == 0x215299EB);
static_assert(jenkinsHash("s_badgesherif01x") == 0xB8EB9CA8);
static_assert(jenkinsHash("PLAYER") == 0x6F0783F5);
static_assert(jenkinsHash("0x164B178F") == 0x51A85746);
static_assert(jenkinsHash("BADGES") == 0x3F7F3587);
