#include "lawman/ped_queries.h"

#include <algorithm>
#include <array>

#include "host/natives/entity.h"
#include "host/natives/misc.h"
#include "host/natives/ped.h"

namespace {

constexpr float NO_DISTANCE_LIMIT = -1.0f;

// 8-byte slots: the capacity in slot 0, then one handle per slot. One buffer serves every
// scan: the scripts take turns and never wait inside a scan.
std::array<std::uint64_t, MAX_SCAN_CAPACITY + 1> pedScanBuffer;

bool keepPed(Ped centre, Ped ped, float maxDistance, bool includeFlagged) {
    if (!doesEntityExist(ped)) {
        return false;
    }
    if (isEntityDead(ped) && !includeFlagged) {
        return false;
    }
    return maxDistance == NO_DISTANCE_LIMIT || entityDistance(centre, ped) <= maxDistance;
}

}  // namespace

// A count above the capacity is held to it and a negative one means none: the game's answer
// is never trusted to reach past the buffer.
void collectNearbyPeds(std::vector<Ped>& peds, Ped centre, std::int32_t capacity, float maxDistance,
                       std::int32_t scanMode, bool includeFlagged) {
    peds.clear();
    capacity = std::clamp(capacity, 0, MAX_SCAN_CAPACITY);
    pedScanBuffer[0] = static_cast<std::uint32_t>(capacity);
    const std::int32_t count =
        std::min(getPedNearbyPeds(centre, pedScanBuffer.data(), scanMode), capacity);
    if (count <= 0) {
        return;
    }
    peds.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const auto ped = static_cast<Ped>(static_cast<std::uint32_t>(pedScanBuffer[i + 1]));
        if (keepPed(centre, ped, maxDistance, includeFlagged)) {
            peds.push_back(ped);
        }
    }
}

std::vector<Ped> collectNearbyPeds(Ped centre, std::int32_t capacity, float maxDistance,
                                   std::int32_t scanMode, bool includeFlagged) {
    std::vector<Ped> peds;
    collectNearbyPeds(peds, centre, capacity, maxDistance, scanMode, includeFlagged);
    return peds;
}

Ped closestPed(Ped centre, float radius) {
    float best = radius + 1.0f;
    Ped closest = 0;
    for (Ped ped : collectNearbyPeds(centre, 40, radius, -1, true)) {
        if (!isPedHuman(ped) || isEntityDead(ped)) {
            continue;
        }
        const float distance = entityDistance(centre, ped);
        if (distance < best) {
            best = distance;
            closest = ped;
        }
    }
    return closest;
}

float entityDistance(Entity a, Entity b) {
    const Vector3 pa = getEntityCoords(a, {.alive = true, .realCoords = false});
    const Vector3 pb = getEntityCoords(b, {.alive = true, .realCoords = false});
    return getDistanceBetweenCoords(pa, pb);
}
