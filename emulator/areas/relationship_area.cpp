// Relationship groups: which group each ped is in, and what each group holds towards another.
#include <utility>

#include "emulator/areas/area_support.h"
#include "emulator/game_facts.h"

namespace {

struct RelationshipArea final : Area {
    PerEntity<std::uint32_t> groups;
    PerEntity<std::uint32_t> ownGroups;  // as the game put the ped in, before any script
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::int32_t> values;  // (a, b) -> value

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    std::span<const PedFlag> pedFlags() const override;
    void start(World& world) override { newPlayerPed(world); }
    void newPlayerPed(World& world) override {
        groups[world.player.ped] = world.hashName("PLAYER");
        ownGroups[world.player.ped] = world.hashName("PLAYER");
    }
    // Each ped is back in the group the game put it in; the values between groups are unset.
    void buildAnew(World&, const NewHandles& newHandles) override {
        ownGroups.renumber(newHandles);
        groups.clear();
        for (const auto& [handle, group] : ownGroups) {
            groups[handle] = group;
        }
        values.clear();
    }
    void facts(const Emulator& emu, GameFacts& facts) const override {
        const std::uint32_t* group = groups.find(emu.world.player.ped);
        facts.group = group != nullptr ? emu.world.nameOf(*group) : std::string("none");
    }
    void forget(std::int32_t handle) override {
        groups.erase(handle);
        ownGroups.erase(handle);
    }
    // Each ped's group, as [handle, group] pairs.
    void report(const World& world, JsonWriter& json) const override {
        json.key("groups").beginArray();
        for (const auto& [handle, group] : groups) {
            json.beginArray();
            json.value(handle);
            json.value(world.nameOf(group));
            json.endArray();
        }
        json.endArray();
    }
};

RelationshipArea& relationships(World& world) {
    return world.area<RelationshipArea>();
}

std::uint32_t groupOf(World& world, std::int32_t ped) {
    const std::uint32_t* group = relationships(world).groups.find(ped);
    return group != nullptr ? *group : 0;
}

// How a player reads a ped's move into a group.
std::string joining(const std::string& group) {
    if (group == "REL_CIVMALE" || group == "REL_CIVFEMALE") {
        return "is made a civilian";
    }
    if (group == "REL_GT_FFA") {
        return "turns free-for-all (REL_GT_FFA)";
    }
    return "joins " + group;
}

void setPedRelationshipGroupHash(CallContext& call) {
    const EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    World& world = call.world();
    const auto group = call.arg<std::uint32_t>(1);
    std::uint32_t& current = relationships(world).groups[ped->handle];
    if (current != group) {
        current = group;
        call.emulator().narrate(world.describe(*ped), joining(world.nameOf(group)), true);
    }
}

void getPedRelationshipGroupHash(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(groupOf(call.world(), ped->handle));
    }
}

void setRelationshipBetweenGroups(CallContext& call) {
    World& world = call.world();
    const auto value = call.arg<std::int32_t>(0);
    const auto a = call.arg<std::uint32_t>(1);
    const auto b = call.arg<std::uint32_t>(2);
    auto [it, added] = relationships(world).values.try_emplace({a, b}, value);
    if (added || it->second != value) {
        it->second = value;
        call.emulator().narrate("relationships", world.nameOf(a) + " towards " + world.nameOf(b) +
                                                     " " + std::to_string(value));
    }
}

ControlReply expectGroup(Emulator& emu, const Args& args) {
    ControlReply reply;
    const EntityState* ped = namedPed(emu.world, args.word(0), reply);
    if (ped == nullptr) {
        return reply;
    }
    const std::string& wanted = args.word(1);
    const std::uint32_t group = groupOf(emu.world, ped->handle);
    return group == emu.world.hashName(wanted)
               ? ok()
               : expectationFailed(args.word(0) + " in " + wanted,
                                   group == 0 ? "no group" : emu.world.nameOf(group));
}

ControlReply expectRelationship(Emulator& emu, const Args& args) {
    World& world = emu.world;
    const auto& values = relationships(world).values;
    const auto it = values.find({world.hashName(args.word(0)), world.hashName(args.word(1))});
    const bool held = args.is(2, "none")
                          ? it == values.end()
                          : it != values.end() && it->second == args.whole<std::int32_t>(2);
    if (held) {
        return ok();
    }
    return expectationFailed(args.word(0) + " towards " + args.word(1) + " " + args.word(2),
                             it == values.end() ? "no value set" : std::to_string(it->second));
}

void setGroup(World& world, std::int32_t ped, const FlagValue& value) {
    RelationshipArea& area = relationships(world);
    area.groups[ped] = world.hashName(value.word);
    area.ownGroups[ped] = area.groups[ped];
}

bool isWord(const std::string& word) {
    return !word.empty();
}

constexpr Placeholder GROUP = {"TEXT",    Takes::WORD, "a relationship group", 0, 0,
                               "REL_COP", isWord};
constexpr Placeholder GROUP_A = {"TEXT_A", Takes::WORD, "a relationship group", 0, 0, "REL_COP"};
constexpr Placeholder GROUP_B = {"TEXT_B", Takes::WORD, "a relationship group", 0, 0, "PLAYER"};
constexpr Placeholder VALUE = {"VALUE",
                               Takes::WHOLE,
                               "a relationship value",
                               placeholders::INT32_LOW,
                               placeholders::INT32_HIGH,
                               "0"};

// clang-format off
constexpr Verb VERBS[] = {
    {"expect group PED|player TEXT", expectGroup, DocTable::EXPECT,
     "the ped is in that relationship group", {&GROUP}},
    {"expect relationship TEXT_A TEXT_B VALUE|none", expectRelationship, DocTable::EXPECT,
     "what group A holds towards group B (none: never set)", {&GROUP_A, &GROUP_B, &VALUE}},
};

constexpr PedFlag PED_FLAGS[] = {
    {"group=", nullptr, &GROUP, setGroup},
};
// clang-format on

void RelationshipArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::SET_PED_RELATIONSHIP_GROUP_HASH, "ii",  setPedRelationshipGroupHash},
        {natives::GET_PED_RELATIONSHIP_GROUP_HASH, "i",   getPedRelationshipGroupHash},
        {natives::SET_RELATIONSHIP_BETWEEN_GROUPS, "iii", setRelationshipBetweenGroups},
    });
    // clang-format on
}

std::span<const Verb> RelationshipArea::verbs() const {
    return VERBS;
}

std::span<const PedFlag> RelationshipArea::pedFlags() const {
    return PED_FLAGS;
}

}  // namespace

void addRelationshipArea(World& world) {
    world.addArea<RelationshipArea>();
}
