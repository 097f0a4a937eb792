#include "emulator/office_map.h"

#include <algorithm>

#include "badge/law_offices.h"
#include "lawman/office_doors.h"
#include "lawman/office_places.h"

namespace {

constexpr float MARGIN = 2.5f;

// clang-format off
constexpr const char* TOWNS[] = {
    "Strawberry", "Valentine", "Annesburg", "Rhodes",
    "Saint Denis", "Blackwater", "Armadillo", "Tumbleweed",
};
// clang-format on

Vec3 toVec(const Vector3& v) {
    return {v.x, v.y, v.z};
}

void include(OfficeInterior& office, Vec3 low, Vec3 high) {
    office.low = {std::min(office.low.x, low.x), std::min(office.low.y, low.y),
                  std::min(office.low.z, low.z)};
    office.high = {std::max(office.high.x, high.x), std::max(office.high.y, high.y),
                   std::max(office.high.z, high.z)};
}

void includePoint(std::array<OfficeInterior, 8>& offices, Vec3 p, Vec3 half = {}) {
    include(offices[nearestOffice(p)], p - half, p + half);
}

std::array<OfficeInterior, 8> buildInteriors() {
    std::array<OfficeInterior, 8> offices{};
    for (std::size_t i = 0; i < offices.size(); ++i) {
        const Vec3 spot = toVec(lawOffices[i]);
        offices[i] = {TOWNS[i], static_cast<std::int32_t>(0x51A0 + i), spot, spot};
    }
    for (const Vector3& probe : officeProbePoints) {
        includePoint(offices, toVec(probe));
    }
    for (const OfficeDoor& door : officeDoors) {
        includePoint(offices, toVec(door.spot));
    }
    // A door box reaches across; its height extent is the box test's business, not the room's.
    for (const DoorBox& box : doorBoxes) {
        includePoint(offices, toVec(box.centre), {box.halfSize.x, box.halfSize.y, 0.0f});
    }
    for (OfficeInterior& office : offices) {
        office.low = office.low - Vec3{MARGIN, MARGIN, MARGIN};
        office.high = office.high + Vec3{MARGIN, MARGIN, MARGIN};
    }
    return offices;
}

}  // namespace

const std::array<OfficeInterior, 8>& officeInteriors() {
    static const std::array<OfficeInterior, 8> offices = buildInteriors();
    return offices;
}

std::optional<std::size_t> officeContaining(Vec3 p) {
    const auto& offices = officeInteriors();
    for (std::size_t i = 0; i < offices.size(); ++i) {
        if (offices[i].contains(p)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t nearestOffice(Vec3 p) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < LAW_OFFICE_COUNT; ++i) {
        if (distance2d(toVec(lawOffices[i]), p) < distance2d(toVec(lawOffices[best]), p)) {
            best = i;
        }
    }
    return best;
}
