#pragma once
// The emulator's command language: one verb table assembled from the areas (area.h,
// verb_table.h), and what the verbs' handlers share beyond the typed values they are given.
#include <cstdint>
#include <string>
#include <vector>

#include "emulator/area.h"
#include "emulator/control_api.h"
#include "emulator/emulator.h"
#include "emulator/verb_table.h"

// A native's name from the native list, or its hash.
bool parseNative(const std::string& text, std::uint64_t& hash);
// "unknown native NAME", with the nearest names of the native list.
std::string unknownNative(const std::string& text);

// A ped by its scenario name ("player" is the player's ped); the reply says what is wrong.
EntityState* namedPed(World& world, const std::string& name, ControlReply& reply);

// Runs one command as written; a command no verb takes is a bad command.
ControlReply runCommand(Emulator& emu, const std::string& command);

// The world as JSON for the scenario report: the fixed places (map), or the state now with the
// game time. Every area writes its own part, in area order.
std::string worldReport(const Emulator& emu, bool map);
