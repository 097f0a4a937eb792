// What the plug-in does to peds: config flags, weapons, keeping or letting go of them, their
// tasks (a pause, a walk along the road), where they look, and combat actions turned off.
#include <cstdio>
#include <set>

#include "emulator/areas/area_support.h"
#include "emulator/game_facts.h"
#include "emulator/office_map.h"

namespace {

enum class Task { None, Pause, Road };

struct PedOrders {
    std::map<std::int32_t, bool> configFlags;
    bool weaponsRemoved = false;
    bool missionEntity = false;
    bool noLongerNeeded = false;
    Task task = Task::None;
    std::uint32_t taskUntil = 0;  // a pause ends then
    std::int32_t pauseMs = 0;
    Vec3 roadTarget;
    std::int32_t lookAt = 0;
    std::uint32_t lookUntil = 0;
    std::set<std::int32_t> actionsDisabled;
};

struct PedTaskArea final : Area {
    PerEntity<PedOrders> orders;
    // Peds outside every office room that were disarmed or released: only the office sweep
    // takes a ped's weapons or lets it go, and only at an office.
    std::uint32_t treatedOutdoors = 0;

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    std::span<const PedFlag> pedFlags() const override;
    void forget(std::int32_t handle) override { orders.erase(handle); }
    // Every order is a script's.
    void buildAnew(World&, const NewHandles&) override { orders.clear(); }
    void report(const World& world, JsonWriter& json) const override;
    void facts(const Emulator&, GameFacts& facts) const override {
        facts.outdoortreated = treatedOutdoors;
    }
};

PedOrders& ordersOf(World& world, std::int32_t ped) {
    return world.area<PedTaskArea>().orders[ped];
}

bool running(std::uint32_t until, std::uint32_t now) {
    return static_cast<std::int32_t>(now - until) < 0;
}

// The task as it stands now: a pause is over once its time has run out.
Task currentTask(const PedOrders& orders, std::uint32_t now) {
    if (orders.task == Task::Pause && !running(orders.taskUntil, now)) {
        return Task::None;
    }
    return orders.task;
}

void countIfOutdoors(World& world, const EntityState& ped) {
    if (!officeContaining(world.positionOf(ped))) {
        ++world.area<PedTaskArea>().treatedOutdoors;
    }
}

void narrate(CallContext& call, const EntityState& ped, const std::string& change) {
    call.emulator().narrate(call.world().describe(ped), change);
}

void setPedConfigFlag(CallContext& call) {
    const EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    const auto flag = call.arg<std::int32_t>(1);
    const bool value = call.arg<bool>(2);
    auto [it, added] = ordersOf(call.world(), ped->handle).configFlags.try_emplace(flag, value);
    if (added ? value : it->second != value) {
        it->second = value;
        narrate(call, *ped, "flag " + std::to_string(flag) + " " + onOff(value));
    }
}

void removeAllPedWeapons(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        countIfOutdoors(call.world(), *ped);
        bool& removed = ordersOf(call.world(), ped->handle).weaponsRemoved;
        if (!removed) {
            removed = true;
            narrate(call, *ped, "weapons taken");
        }
    }
}

void setEntityAsMissionEntity(CallContext& call) {
    if (const EntityState* entity = entityArg(call, 0)) {
        PedOrders& orders = ordersOf(call.world(), entity->handle);
        if (!orders.missionEntity || orders.noLongerNeeded) {
            orders.missionEntity = true;
            orders.noLongerNeeded = false;
            narrate(call, *entity, "kept");
        }
    }
}

void taskPause(CallContext& call) {
    const EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    PedOrders& orders = ordersOf(call.world(), ped->handle);
    const auto ms = call.arg<std::int32_t>(1);
    const bool same = currentTask(orders, call.gameTime()) == Task::Pause && orders.pauseMs == ms;
    orders.task = Task::Pause;
    orders.pauseMs = ms;
    orders.taskUntil = call.gameTime() + static_cast<std::uint32_t>(ms);
    if (!same) {
        char text[48];
        std::snprintf(text, sizeof text, "paused %g s", ms / 1000.0);
        narrate(call, *ped, text);
    }
}

void setPedActionDisableFlag(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        const auto flag = call.arg<std::int32_t>(1);
        if (ordersOf(call.world(), ped->handle).actionsDisabled.insert(flag).second) {
            narrate(call, *ped, "action " + std::to_string(flag) + " disabled");
        }
    }
}

// Takes the ped by reference and clears the caller's variable, as the game's DELETE_* do.
void setPedAsNoLongerNeeded(CallContext& call) {
    auto* variable = call.ptr<std::int32_t>(0);
    if (variable == nullptr) {
        call.fail("the ped pointer is null");
        return;
    }
    World& world = call.world();
    const EntityState* ped = world.find(*variable);
    if (ped != nullptr && !ped->stale && ped->type == EntityType::Ped) {
        countIfOutdoors(world, *ped);
        PedOrders& orders = ordersOf(world, ped->handle);
        if (!orders.noLongerNeeded) {
            orders.noLongerNeeded = true;
            orders.missionEntity = false;
            narrate(call, *ped, "no longer needed");
        }
    } else if (ped != nullptr && ped->type != EntityType::Ped) {
        call.fail("the variable holds an object, not a ped");
        return;
    }
    *variable = 0;
}

void taskMoveFollowRoadUsingNavmesh(CallContext& call) {
    const EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    PedOrders& orders = ordersOf(call.world(), ped->handle);
    const Vec3 target = call.vec(2);
    const bool same = currentTask(orders, call.gameTime()) == Task::Road &&
                      distance3d(orders.roadTarget, target) == 0.0f;
    orders.task = Task::Road;
    orders.roadTarget = target;
    if (!same) {
        char text[96];
        std::snprintf(text, sizeof text, "walks off along the road to %g %g %g",
                      static_cast<double>(target.x), static_cast<double>(target.y),
                      static_cast<double>(target.z));
        narrate(call, *ped, text);
    }
}

void taskLookAtEntity(CallContext& call) {
    const EntityState* ped = pedArg(call, 0);
    const EntityState* target = entityArg(call, 1);
    if (ped == nullptr || target == nullptr) {
        return;
    }
    PedOrders& orders = ordersOf(call.world(), ped->handle);
    const auto ms = call.arg<std::int32_t>(2);
    const bool same = orders.lookAt == target->handle && running(orders.lookUntil, call.gameTime());
    orders.lookAt = target->handle;
    orders.lookUntil = call.gameTime() + static_cast<std::uint32_t>(ms);
    if (!same) {
        char text[96];
        std::snprintf(text, sizeof text, "looks at %s for %g s",
                      call.world().describe(*target).c_str(), ms / 1000.0);
        narrate(call, *ped, text);
    }
}

// The orders of a named ped, for the expectations.
const PedOrders* namedOrders(Emulator& emu, const std::string& name, ControlReply& reply) {
    const EntityState* ped = namedPed(emu.world, name, reply);
    return ped != nullptr ? &ordersOf(emu.world, ped->handle) : nullptr;
}

ControlReply expectFlag(Emulator& emu, const Args& args) {
    ControlReply reply;
    const PedOrders* orders = namedOrders(emu, args.word(0), reply);
    if (orders == nullptr) {
        return reply;
    }
    const auto it = orders->configFlags.find(args.whole<std::int32_t>(1));
    const bool value = it != orders->configFlags.end() && it->second;
    return value == args.is(2, "on")
               ? ok()
               : expectationFailed(args.word(0) + "'s flag " + args.word(1) + " " + args.word(2),
                                   onOff(value));
}

// expect disarmed|kept|released PED yes|no.
ControlReply expectYesNo(Emulator& emu, const Args& args, const char* what,
                         bool PedOrders::*field) {
    ControlReply reply;
    const PedOrders* orders = namedOrders(emu, args.word(0), reply);
    if (orders == nullptr) {
        return reply;
    }
    const bool value = orders->*field;
    return value == args.is(1, "yes")
               ? ok()
               : expectationFailed(args.word(0) + " " + what + " " + args.word(1),
                                   value ? "yes" : "no");
}

ControlReply expectDisarmed(Emulator& emu, const Args& args) {
    return expectYesNo(emu, args, "disarmed", &PedOrders::weaponsRemoved);
}

ControlReply expectKept(Emulator& emu, const Args& args) {
    return expectYesNo(emu, args, "kept", &PedOrders::missionEntity);
}

ControlReply expectReleased(Emulator& emu, const Args& args) {
    return expectYesNo(emu, args, "released", &PedOrders::noLongerNeeded);
}

const char* taskName(Task task) {
    switch (task) {
        case Task::Pause:
            return "pause";
        case Task::Road:
            return "road";
        case Task::None:
            break;
    }
    return "none";
}

ControlReply expectTask(Emulator& emu, const Args& args) {
    ControlReply reply;
    const PedOrders* orders = namedOrders(emu, args.word(0), reply);
    if (orders == nullptr) {
        return reply;
    }
    const char* task = taskName(currentTask(*orders, emu.clock.gameTime));
    return args.word(1) == task ? ok()
                                : expectationFailed(args.word(0) + "'s task " + args.word(1), task);
}

ControlReply expectLooking(Emulator& emu, const Args& args) {
    ControlReply reply;
    const PedOrders* orders = namedOrders(emu, args.word(0), reply);
    if (orders == nullptr) {
        return reply;
    }
    const bool looking = orders->lookAt != 0 && running(orders->lookUntil, emu.clock.gameTime);
    const std::string found = looking ? emu.world.describe(orders->lookAt) : "none";
    return found == args.word(1)
               ? ok()
               : expectationFailed(args.word(0) + " looking at " + args.word(1), found);
}

ControlReply expectActionDisabled(Emulator& emu, const Args& args) {
    ControlReply reply;
    const PedOrders* orders = namedOrders(emu, args.word(0), reply);
    if (orders == nullptr) {
        return reply;
    }
    const bool disabled = orders->actionsDisabled.count(args.whole<std::int32_t>(1)) != 0;
    return disabled == args.is(2, "yes")
               ? ok()
               : expectationFailed(
                     args.word(0) + "'s action " + args.word(1) + " disabled " + args.word(2),
                     disabled ? "yes" : "no");
}

void setArmed(World& world, std::int32_t ped, bool on) {
    ordersOf(world, ped).weaponsRemoved = !on;
}

constexpr Placeholder CONFIG_FLAG = {
    "N", Takes::WHOLE, "a config flag's number", placeholders::INT32_LOW, placeholders::INT32_HIGH,
    "44"};
constexpr Placeholder COMBAT_ACTION = {"N",
                                       Takes::WHOLE,
                                       "a combat action's number",
                                       placeholders::INT32_LOW,
                                       placeholders::INT32_HIGH,
                                       "1"};
constexpr Placeholder TARGET = {"TARGET", Takes::WORD, "whom it looks at", 0, 0, "player"};

// clang-format off
constexpr Verb VERBS[] = {
    {"expect flag PED|player N on|off", expectFlag, DocTable::EXPECT,
     "the ped's numbered config flag (off unless set)", {&CONFIG_FLAG}},
    {"expect disarmed PED yes|no", expectDisarmed, DocTable::EXPECT, "its weapons were taken"},
    {"expect kept PED yes|no", expectKept, DocTable::EXPECT,
     "it is a mission entity (kept by the game)"},
    {"expect released PED yes|no", expectReleased, DocTable::EXPECT,
     "it was marked no longer needed (since it was last kept)"},
    {"expect task PED pause|road|none", expectTask, DocTable::EXPECT,
     "its task now: a pause still running, walking along the road, or none"},
    {"expect looking PED TARGET|none", expectLooking, DocTable::EXPECT,
     "whom it is looking at now (`player` for the player)", {&TARGET}},
    {"expect action PED N disabled yes|no", expectActionDisabled, DocTable::EXPECT,
     "its combat action N was disabled", {&COMBAT_ACTION}},
};

constexpr PedFlag PED_FLAGS[] = {
    {"armed", setArmed},
};
// clang-format on

void PedTaskArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::SET_PED_CONFIG_FLAG,                 "iib",    setPedConfigFlag},
        {natives::REMOVE_ALL_PED_WEAPONS,              "ibb",    removeAllPedWeapons},
        {natives::SET_ENTITY_AS_MISSION_ENTITY,        "ibb",    setEntityAsMissionEntity},
        {natives::TASK_PAUSE,                          "ii",     taskPause},
        {natives::SET_PED_ACTION_DISABLE_FLAG,         "ii",     setPedActionDisableFlag},
        {natives::SET_PED_AS_NO_LONGER_NEEDED,         "p",      setPedAsNoLongerNeeded},
        {natives::TASK_MOVE_FOLLOW_ROAD_USING_NAVMESH, "iffffi", taskMoveFollowRoadUsingNavmesh},
        {natives::TASK_LOOK_AT_ENTITY,                 "iiiiii", taskLookAtEntity},
    });
    // clang-format on
}

std::span<const Verb> PedTaskArea::verbs() const {
    return VERBS;
}

std::span<const PedFlag> PedTaskArea::pedFlags() const {
    return PED_FLAGS;
}

// What was done to each ped: weapons, kept or let go, its task now, the flags set on it.
void PedTaskArea::report(const World& world, JsonWriter& json) const {
    json.key("orders").beginArray();
    for (const auto& [handle, ped] : orders) {
        json.beginObject();
        json.field("h", handle);
        json.field("disarmed", ped.weaponsRemoved);
        json.field("kept", ped.missionEntity);
        json.field("released", ped.noLongerNeeded);
        json.field("task", taskName(currentTask(ped, world.emulator->clock.gameTime)));
        json.key("flags").beginObject();
        for (const auto& [flag, on] : ped.configFlags) {
            json.field(std::to_string(flag), on);
        }
        json.endObject();
        json.endObject();
    }
    json.endArray();
}

}  // namespace

void addPedTaskArea(World& world) {
    world.addArea<PedTaskArea>();
}
