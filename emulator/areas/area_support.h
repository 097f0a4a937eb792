#pragma once
// What the areas share: the call context, the command helpers, and the entity arguments.
#include <iterator>

#include "emulator/area.h"
#include "emulator/atlas.h"
#include "emulator/call_context.h"
#include "emulator/control.h"
#include "emulator/emulator.h"
#include "emulator/json_writer.h"
#include "emulator/native_table.h"
#include "emulator/world.h"

// The entity an argument names, or null when there is none (a handle of 0, or of an entity
// that is gone, is no error in the game: the native does nothing and answers 0, and scripts
// rely on that, since a ped can vanish between two calls).
inline EntityState* entityArg(CallContext& call, std::size_t index) {
    EntityState* entity = call.world().find(call.arg<std::int32_t>(index));
    return (entity != nullptr && !entity->stale) ? entity : nullptr;
}
// The same for a ped; an object where a ped belongs is a loud failure.
EntityState* objectForPed(CallContext& call, std::size_t index);
inline EntityState* pedArg(CallContext& call, std::size_t index) {
    EntityState* entity = entityArg(call, index);
    return entity == nullptr || entity->type == EntityType::Ped ? entity
                                                                : objectForPed(call, index);
}
// The player id argument must be the local player's.
bool playerArg(CallContext& call, std::size_t index);
// Whether the player has control (player_area.cpp): the game takes it away and gives it back.
void setPlayerControl(World& world, bool on);

// "on"/"off" for the timeline.
inline const char* onOff(bool on) {
    return on ? "on" : "off";
}

// A law office by its number, as scenarios and docs/reference.md number them.
inline constexpr Placeholder OFFICE_NUMBER = {
    "N", Takes::WHOLE, "a law office", 1, static_cast<std::int64_t>(std::size(atlas::OFFICES)),
    "2"};
