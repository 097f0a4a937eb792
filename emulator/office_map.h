#pragma once
// The law offices' rooms, made from the atlas (atlas.h): each a box around the office's
// menu spot, probe point, doors and door boxes, 2.5 units wider every way.
#include <array>
#include <cstdint>
#include <optional>

#include "emulator/atlas.h"
#include "emulator/vec3.h"

struct OfficeInterior {
    const char* town;
    std::int32_t id;  // the game's interior id, never 0
    Vec3 low;
    Vec3 high;

    bool contains(Vec3 p) const {
        return p.x >= low.x && p.x <= high.x && p.y >= low.y && p.y <= high.y && p.z >= low.z &&
               p.z <= high.z;
    }
};

// In the atlas's order (OFFICES).
using OfficeInteriors = std::array<OfficeInterior, atlas::LAW_OFFICE_COUNT>;
const OfficeInteriors& officeInteriors();

// The office (0 to 7) whose interior holds the point.
std::optional<std::size_t> officeContaining(Vec3 p);
// The office (0 to 7) whose menu spot is nearest: the town a door or a blip belongs to.
std::size_t nearestOffice(Vec3 p);
