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

// The door system's states: 0 unlocked, 1 locked, 2 locked but breakable, 3 and 4 held open
// one way or the other.
bool isDoorState(std::int32_t state) {
    return state >= 0 && state <= 4;
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
        call.fail("state " + std::to_string(state) + " is no door state (0 to 4)");
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
ControlReply door(Emulator& emu, const Words& words) {
    std::uint32_t hash = 0;
    std::int32_t state = 0;
    bool closed = false;
    const bool valid = words.size() == 4 && parseUnsigned(words[1], hash) &&
                       ((words[2] == "state" && parseInt(words[3], state) && isDoorState(state)) ||
                        (words[2] == "closed" && parseOnOff(words[3], closed)));
    if (!valid) {
        return usage();
    }
    DoorState& current = doorSystem(emu.world).doors[hash];
    if (words[2] == "state") {
        current.state = state;
        emu.event(doorName(hash) + " " + stateText(state) + " by the game");
    } else {
        current.closed = closed;
        emu.event(doorName(hash) + (closed ? " swings shut" : " stands open"));
    }
    return ok();
}

ControlReply expectDoorSets(Emulator& emu, const Words& words, std::uint32_t hash) {
    std::uint32_t wanted = 0;
    if (!parseUnsigned(words[4], wanted)) {
        return usage();
    }
    const auto& doors = doorSystem(emu.world).doors;
    const auto it = doors.find(hash);
    const std::uint32_t sets = it == doors.end() ? 0 : it->second.setsSinceMark;
    return sets == wanted ? ok()
                          : expectationFailed(
                                doorName(hash) + " set " + words[4] + " times since the last mark",
                                std::to_string(sets));
}

// expect door HASH state N, registered yes|no, or sets N.
ControlReply expectDoor(Emulator& emu, const Words& words) {
    std::uint32_t hash = 0;
    std::int32_t state = 0;
    bool registered = false;
    const bool valid =
        words.size() == 5 && parseUnsigned(words[2], hash) &&
        ((words[3] == "state" && parseInt(words[4], state)) ||
         (words[3] == "registered" && parseYesNo(words[4], registered)) || words[3] == "sets");
    if (!valid) {
        return usage();
    }
    if (words[3] == "sets") {
        return expectDoorSets(emu, words, hash);
    }
    DoorArea& area = doorSystem(emu.world);
    if (words[3] == "registered") {
        const bool found = area.registered.count(hash) != 0;
        return found == registered ? ok()
                                   : expectationFailed(doorName(hash) + " registered " + words[4],
                                                       found ? "yes" : "no");
    }
    const auto it = area.doors.find(hash);
    const std::int32_t current = it == area.doors.end() ? 0 : it->second.state;
    return current == state ? ok()
                            : expectationFailed(doorName(hash) + " in state " + words[4],
                                                std::to_string(current));
}

// clang-format off
constexpr Verb VERBS[] = {
    {"door",        "door HASH state N\n"
                    "door HASH closed on|off",             door},
    {"expect door", "expect door HASH state N\n"
                    "expect door HASH registered yes|no\n"
                    "expect door HASH sets N",             expectDoor},
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
