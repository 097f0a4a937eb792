// The door system: each door's lock state (0 unlocked, 1 locked, ...), whether it stands
// closed, and which doors a script registered.
#include <cstdio>
#include <set>

#include "emulator/areas/area_support.h"
#include "emulator/atlas.h"
#include "emulator/office_map.h"

namespace {

struct DoorState {
    std::int32_t state = 0;
    bool closed = true;
    std::uint32_t setsSinceMark = 0;  // state changes asked for, the same state included
};

struct DoorArea final : Area {
    std::map<std::uint32_t, DoorState> doors;
    std::set<std::uint32_t> registered;

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    void reportMap(const World& world, JsonWriter& json) const override;
    void report(const World& world, JsonWriter& json) const override;
    // Door states and registrations are back at the game's own.
    void buildAnew(World&, const NewHandles&) override {
        doors.clear();
        registered.clear();
    }
    void mark() override {
        for (auto& [hash, door] : doors) {
            door.setsSinceMark = 0;
        }
    }
};

DoorArea& doorSystem(World& world) {
    return world.area<DoorArea>();
}

std::string hashText(std::uint32_t door) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", door);
    return text;
}

// "door 0x1FE862E6 (Valentine)": the town of a law office door.
std::string doorName(std::uint32_t door) {
    const std::string name = "door " + hashText(door);
    for (const atlas::Door& office : atlas::OFFICE_DOORS) {
        if (office.hash == door) {
            return name + " (" + officeInteriors()[nearestOffice(office.at)].town + ")";
        }
    }
    return name;
}

// The door system's states, by their numbers.
constexpr const char* DOOR_STATES[] = {"unlocked", "locked", "locked but breakable",
                                       "held open one way", "held open the other way"};
constexpr std::int64_t LAST_DOOR_STATE = std::size(DOOR_STATES) - 1;

bool isDoorState(std::int32_t state) {
    return state >= 0 && state <= LAST_DOOR_STATE;
}

std::string stateText(std::int32_t state) {
    switch (state) {
        case 0:
            return "unlocked";
        case 1:
            return "locked";
        default:
            return "put in state " + std::to_string(state);
    }
}

void getDoorState(CallContext& call) {
    const auto& doors = doorSystem(call.world()).doors;
    const auto it = doors.find(call.arg<std::uint32_t>(0));
    call.result(it == doors.end() ? 0 : it->second.state);
}

void setDoorState(CallContext& call) {
    const auto door = call.arg<std::uint32_t>(0);
    const auto state = call.arg<std::int32_t>(1);
    if (!isDoorState(state)) {
        call.fail("state " + std::to_string(state) + " is no door state (0 to " +
                  std::to_string(LAST_DOOR_STATE) + ")");
        return;
    }
    DoorState& current = doorSystem(call.world()).doors[door];
    ++current.setsSinceMark;
    if (current.state != state) {
        current.state = state;
        call.event(doorName(door) + " " + stateText(state));
    }
}

void isDoorClosed(CallContext& call) {
    const auto& doors = doorSystem(call.world()).doors;
    const auto it = doors.find(call.arg<std::uint32_t>(0));
    call.result(it == doors.end() || it->second.closed);
}

void addDoorToSystemNew(CallContext& call) {
    const auto door = call.arg<std::uint32_t>(0);
    if (doorSystem(call.world()).registered.insert(door).second) {
        call.event(doorName(door) + " registered with the door system");
    }
}

// The game (or another script) locks, unlocks, opens or shuts a door.
ControlReply gameSetsDoorState(Emulator& emu, const Args& args) {
    const auto hash = args.whole<std::uint32_t>(0);
    const auto state = args.whole<std::int32_t>(1);
    doorSystem(emu.world).doors[hash].state = state;
    emu.event(doorName(hash) + " " + stateText(state) + " by the game");
    return ok();
}

ControlReply gameSetsDoorClosed(Emulator& emu, const Args& args) {
    const auto hash = args.whole<std::uint32_t>(0);
    const bool closed = args.is(1, "on");
    doorSystem(emu.world).doors[hash].closed = closed;
    emu.event(doorName(hash) + (closed ? " swings shut" : " stands open"));
    return ok();
}

// The door as the door system holds it: one nothing has touched is as the game starts it.
DoorState doorNow(World& world, std::uint32_t hash) {
    const auto& doors = doorSystem(world).doors;
    const auto it = doors.find(hash);
    return it == doors.end() ? DoorState{} : it->second;
}

ControlReply expectDoorState(Emulator& emu, const Args& args) {
    const auto hash = args.whole<std::uint32_t>(0);
    const std::int32_t current = doorNow(emu.world, hash).state;
    return current == args.whole<std::int32_t>(1)
               ? ok()
               : expectationFailed(doorName(hash) + " in state " + args.word(1),
                                   std::to_string(current));
}

ControlReply expectDoorRegistered(Emulator& emu, const Args& args) {
    const auto hash = args.whole<std::uint32_t>(0);
    const bool found = doorSystem(emu.world).registered.count(hash) != 0;
    return found == args.is(1, "yes")
               ? ok()
               : expectationFailed(doorName(hash) + " registered " + args.word(1),
                                   found ? "yes" : "no");
}

ControlReply expectDoorSets(Emulator& emu, const Args& args) {
    const auto hash = args.whole<std::uint32_t>(0);
    const std::uint32_t sets = doorNow(emu.world, hash).setsSinceMark;
    return sets == args.whole<std::uint32_t>(1)
               ? ok()
               : expectationFailed(
                     doorName(hash) + " set " + args.word(1) + " times since the last mark",
                     std::to_string(sets));
}

constexpr Placeholder DOOR_STATE = {"N", Takes::WHOLE, "a door state", 0, LAST_DOOR_STATE, "1"};

// clang-format off
constexpr Verb VERBS[] = {
    {"door HASH state N", gameSetsDoorState, DocTable::OFFICES,
     "the game (or another script) puts the door in state N, {N} (0 unlocked, 1 locked)",
     {&DOOR_STATE}},
    {"door HASH closed on|off", gameSetsDoorClosed, DocTable::OFFICES,
     "the door stands closed or open"},
    {"expect door HASH state N", expectDoorState, DocTable::EXPECT, "the door's state",
     {&DOOR_STATE}},
    {"expect door HASH registered yes|no", expectDoorRegistered, DocTable::EXPECT,
     "the door was registered with the door system"},
    {"expect door HASH sets N", expectDoorSets, DocTable::EXPECT,
     "the door's state was set N times since the last `mark` (the same state included)"},
};
// clang-format on

void DoorArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::DOOR_SYSTEM_GET_DOOR_STATE, "i",       getDoorState},
        {natives::DOOR_SYSTEM_SET_DOOR_STATE, "ii",      setDoorState},
        {natives::IS_DOOR_CLOSED,             "i",       isDoorClosed},
        {natives::ADD_DOOR_TO_SYSTEM_NEW,     "ibbbiib", addDoorToSystemNew},
    });
    // clang-format on
}

std::span<const Verb> DoorArea::verbs() const {
    return VERBS;
}

// Where the law office doors are.
void DoorArea::reportMap(const World&, JsonWriter& json) const {
    json.key("doorSpots").beginArray();
    for (const atlas::Door& office : atlas::OFFICE_DOORS) {
        json.beginObject();
        json.field("door", hashText(office.hash));
        json.field("at", office.at);
        json.endObject();
    }
    json.endArray();
}

// Every door the game was asked about or told of: its state, closed or not, registered or not.
void DoorArea::report(const World&, JsonWriter& json) const {
    std::set<std::uint32_t> known = registered;
    for (const auto& [hash, door] : doors) {
        known.insert(hash);
    }
    json.key("doors").beginArray();
    for (std::uint32_t hash : known) {
        const auto it = doors.find(hash);
        const DoorState state = it == doors.end() ? DoorState{} : it->second;
        json.beginObject();
        json.field("door", hashText(hash));
        json.field("name", doorName(hash));
        json.field("state", state.state);
        json.field("closed", state.closed);
        json.field("registered", registered.count(hash) != 0);
        json.endObject();
    }
    json.endArray();
}

}  // namespace

void addDoorArea(World& world) {
    world.addArea<DoorArea>();
}
