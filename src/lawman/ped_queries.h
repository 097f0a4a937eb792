#pragma once
#include <cstdint>
#include <vector>

#include "host/native_invoker.h"

// The largest scan the plug-in asks for (the off-duty reset's).
constexpr std::int32_t MAX_SCAN_CAPACITY = 1024;

// Peds near the centre ped in the game's order: existing ones, dead ones only with
// includeFlagged, within maxDistance (-1.0 keeps every distance). At most capacity peds.
std::vector<Ped> collectNearbyPeds(Ped centre, std::int32_t capacity, float maxDistance,
                                   std::int32_t scanMode, bool includeFlagged);
// The same into the caller's list (emptied first), which keeps its room: for a list a script
// holds across a wait, in storage that outlives the script's run.
void collectNearbyPeds(std::vector<Ped>& peds, Ped centre, std::int32_t capacity, float maxDistance,
                       std::int32_t scanMode, bool includeFlagged);

// The closest living human within the radius, or 0; on equal distances the game's first.
Ped closestPed(Ped centre, float radius);

float entityDistance(Entity a, Entity b);
