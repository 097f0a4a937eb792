#include "emulator/office_map.h"

#include <algorithm>

namespace {

constexpr float MARGIN = 2.5f;

void include(OfficeInterior& office, Vec3 low, Vec3 high) {
    office.low = {std::min(office.low.x, low.x), std::min(office.low.y, low.y),
                  std::min(office.low.z, low.z)};
    office.high = {std::max(office.high.x, high.x), std::max(office.high.y, high.y),
                   std::max(office.high.z, high.z)};
}

void includePoint(OfficeInteriors& offices, Vec3 p, Vec3 half = {}) {
    include(offices[nearestOffice(p)], p - half, p + half);
}

OfficeInteriors buildInteriors() {
    OfficeInteriors offices{};
    for (std::size_t i = 0; i < offices.size(); ++i) {
        const atlas::Office& office = atlas::OFFICES[i];
        offices[i] = {office.town, office.interior, office.spot, office.spot};
        include(offices[i], office.probe, office.probe);
    }
    for (const atlas::Door& door : atlas::OFFICE_DOORS) {
        includePoint(offices, door.at);
    }
    // A door box reaches across; its height extent is the box test's business, not the room's.
    for (const atlas::DoorBox& box : atlas::DOOR_BOXES) {
        includePoint(offices, box.centre, {box.halfSize.x, box.halfSize.y, 0.0f});
    }
    for (OfficeInterior& office : offices) {
        office.low = office.low - Vec3{MARGIN, MARGIN, MARGIN};
        office.high = office.high + Vec3{MARGIN, MARGIN, MARGIN};
    }
    return offices;
}

}  // namespace

const OfficeInteriors& officeInteriors() {
    static const OfficeInteriors offices = buildInteriors();
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
    for (std::size_t i = 1; i < atlas::LAW_OFFICE_COUNT; ++i) {
        if (distance2d(atlas::OFFICES[i].spot, p) < distance2d(atlas::OFFICES[best].spot, p)) {
            best = i;
        }
    }
    return best;
}
