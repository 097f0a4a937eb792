#pragma once
// What a checker of the game's rules needs to know after a frame (`query facts`): one list of
// typed facts (game_facts.inc), which the emulated game's areas fill and the simulator's rules
// read, so that a fact renamed on one side does not compile. Across the control interface it
// travels as "name=value" words in the list's order.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A ped that has greeted: its handle, its greetings so far, how far it stands from the player.
struct FactGreeting {
    std::int32_t ped = 0;
    std::uint32_t greetings = 0;
    float distance = 0.0f;
};

using FactNames = std::vector<std::string>;
using FactCounts = std::vector<std::uint32_t>;
using FactGreetings = std::vector<FactGreeting>;

struct GameFacts {
#define TSW_FACT(Type, name, about) Type name{};
#include "emulator/game_facts.inc"
#undef TSW_FACT
};

// "time=1008 loaded=1 ... blips=8 ": every fact, in the list's order.
std::string factsText(const GameFacts& facts);

// Sets each fact the words name ("chest=2 worn=0"), in any order. False, with the reason, at a
// word that names no fact or whose value does not read as the fact's type.
bool readFacts(std::string_view words, GameFacts& facts, std::string& error);
