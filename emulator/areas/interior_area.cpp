// Interiors: the law offices are rooms with an id each; outdoors is 0. A room the game has not
// loaded reads 0 as well.
#include <array>

#include "emulator/areas/area_support.h"
#include "emulator/atlas.h"
#include "emulator/office_map.h"

namespace {

struct InteriorArea final : Area {
    std::array<bool, atlas::LAW_OFFICE_COUNT> unloaded{};
    // Offices farther than this from the player read 0, as interiors the game has not loaded
    // (`interior reach`); 0 for none: every office is always loaded.
    float reach = 0.0f;

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    // The law offices: town, menu spot and room.
    void reportMap(const World&, JsonWriter& json) const override {
        json.key("offices").beginArray();
        for (std::size_t i = 0; i < officeInteriors().size(); ++i) {
            const OfficeInterior& office = officeInteriors()[i];
            json.beginObject();
            json.field("town", office.town);
            json.field("spot", atlas::OFFICES[i].spot);
            json.field("low", office.low);
            json.field("high", office.high);
            json.endObject();
        }
        json.endArray();
    }
    // The rooms the game has not loaded.
    void report(const World&, JsonWriter& json) const override {
        json.key("unloadedOffices").beginArray();
        for (std::size_t i = 0; i < unloaded.size(); ++i) {
            if (unloaded[i]) {
                json.value(officeInteriors()[i].town);
            }
        }
        json.endArray();
    }
};

bool beyondReach(const World& world, float reach, std::size_t office) {
    return reach > 0.0f &&
           distance3d(world.positionOf(world.playerPed()), atlas::OFFICES[office].spot) > reach;
}

std::int32_t interiorAt(World& world, Vec3 p) {
    const auto office = officeContaining(p);
    const InteriorArea& area = world.area<InteriorArea>();
    if (!office || area.unloaded[*office] || beyondReach(world, area.reach, *office)) {
        return 0;
    }
    return officeInteriors()[*office].id;
}

void getInteriorFromEntity(CallContext& call) {
    if (const EntityState* entity = entityArg(call, 0)) {
        call.result(interiorAt(call.world(), call.world().positionOf(*entity)));
    }
}

void getInteriorAtCoords(CallContext& call) {
    call.result(interiorAt(call.world(), call.vec(0)));
}

ControlReply interiorOffice(Emulator& emu, const Args& args) {
    const auto office = args.whole<std::size_t>(0) - 1;
    const bool on = args.is(1, "on");
    emu.world.area<InteriorArea>().unloaded[office] = !on;
    emu.event(std::string("the office at ") + officeInteriors()[office].town +
              (on ? " is loaded" : " is not loaded: its interior reads 0"));
    return ok();
}

ControlReply interiorReach(Emulator& emu, const Args& args) {
    emu.world.area<InteriorArea>().reach = args.is(0, "always") ? 0.0f : args.number(0);
    return ok();
}

ControlReply expectInterior(Emulator& emu, const Args& args) {
    ControlReply reply;
    const EntityState* ped = namedPed(emu.world, args.word(0), reply);
    if (ped == nullptr) {
        return reply;
    }
    const auto inside = officeContaining(emu.world.positionOf(*ped));
    const bool match =
        args.is(1, "none") ? !inside : inside && *inside + 1 == args.whole<std::size_t>(1);
    return match ? ok()
                 : expectationFailed(args.word(0) + " in " + args.word(1),
                                     inside ? officeInteriors()[*inside].town : "outdoors");
}

constexpr Placeholder REACH = {"D", Takes::NUMBER, "a distance", 0, 0, "200"};

// clang-format off
constexpr Verb VERBS[] = {
    {"interior office N on|off", interiorOffice, DocTable::OFFICES,
     "office N's interior is loaded (on at start) or reads 0, as the game answers for an "
     "interior it has not loaded", {&OFFICE_NUMBER}},
    {"interior reach D|always", interiorReach, DocTable::OFFICES,
     "an office's interior reads 0 while the player is farther than D from its spot, as the game "
     "loads interiors only near the player (always at start: every office always loaded)",
     {&REACH}},
    {"expect interior PED|player N|none", expectInterior, DocTable::EXPECT,
     "it stands in office N's room, or outdoors", {&OFFICE_NUMBER}},
};
// clang-format on

void InteriorArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::GET_INTERIOR_FROM_ENTITY, "i",   getInteriorFromEntity},
        {natives::GET_INTERIOR_AT_COORDS,   "fff", getInteriorAtCoords},
    });
    // clang-format on
}

std::span<const Verb> InteriorArea::verbs() const {
    return VERBS;
}

}  // namespace

void addInteriorArea(World& world) {
    world.addArea<InteriorArea>();
}
