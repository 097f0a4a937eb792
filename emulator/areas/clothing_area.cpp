// What the player's ped wears: meta-ped items by clothing category.
#include <set>

#include "emulator/areas/area_support.h"
#include "emulator/jenkins.h"

namespace {

// A drawable this world knows, with the albedo and normal maps that belong to it.
struct MetaPedItem {
    std::uint32_t drawable;
    std::uint32_t albedo;
    std::uint32_t normal;
    std::uint32_t category;
};

// clang-format off
constexpr MetaPedItem ITEMS[] = {
    {jenkinsHash("PLAYER_ZERO_BADGE_000"), jenkinsHash("PLAYER_ZERO_BADGE_000_C0_000_AB"),
     jenkinsHash("PLAYER_ZERO_BADGE_000_C0_000_NM"), jenkinsHash("BADGES")},
};
// clang-format on

const MetaPedItem* findItem(std::uint32_t drawable) {
    for (const MetaPedItem& item : ITEMS) {
        if (item.drawable == drawable) {
            return &item;
        }
    }
    return nullptr;
}

struct Outfit {
    std::set<std::uint32_t> worn;     // categories that show on the ped
    std::set<std::uint32_t> pending;  // tagged, shown at the next variation update
};

// The first character's model, whose items these are.
constexpr std::uint32_t ITEMS_MODEL = jenkinsHash("PLAYER_ZERO");

struct ClothingArea final : Area {
    PerEntity<Outfit> outfits;
    // Whether the first character's items show on another model (`model outfit refused`).
    bool otherModelsRefuse = false;

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    void start(World& world) override {
        world.hashName("BADGES");
        world.hashName("PLAYER_ZERO_BADGE_000");
    }
    void forget(std::int32_t handle) override { outfits.erase(handle); }
    // The items scripts tagged go with them.
    void buildAnew(World&, const NewHandles&) override { outfits.clear(); }
    // What the player wears, by clothing category.
    void report(const World& world, JsonWriter& json) const override {
        json.key("outfit").beginArray();
        if (const Outfit* outfit = outfits.find(world.player.ped)) {
            for (std::uint32_t category : outfit->worn) {
                json.value(world.nameOf(category));
            }
        }
        json.endArray();
    }
};

Outfit& outfitOf(World& world, const EntityState& ped) {
    return world.area<ClothingArea>().outfits[ped.handle];
}

// A tag replaces the item of its category; it shows after the next variation update.
void setMetaPedTag(CallContext& call) {
    const EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    World& world = call.world();
    const MetaPedItem* item = findItem(call.arg<std::uint32_t>(1));
    if (item == nullptr) {
        call.fail("unknown drawable " + world.nameOf(call.arg<std::uint32_t>(1)));
        return;
    }
    // Maps that do not belong to the drawable mean arguments in the wrong order.
    if (call.arg<std::uint32_t>(2) != item->albedo || call.arg<std::uint32_t>(3) != item->normal) {
        call.fail("the albedo and normal maps do not belong to " + world.nameOf(item->drawable));
        return;
    }
    if (world.area<ClothingArea>().otherModelsRefuse && ped->model != ITEMS_MODEL) {
        return;
    }
    outfitOf(world, *ped).pending.insert(item->category);
}

void updatePedVariation(CallContext& call) {
    const EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    World& world = call.world();
    Outfit& outfit = outfitOf(world, *ped);
    for (std::uint32_t category : outfit.pending) {
        if (outfit.worn.insert(category).second) {
            call.event("outfit: " + world.nameOf(category) + " item on " + world.describe(*ped));
        }
    }
    outfit.pending.clear();
}

void isMetaPedUsingComponent(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(outfitOf(call.world(), *ped).worn.count(call.arg<std::uint32_t>(1)) != 0);
    }
}

void removeTagFromMetaPed(CallContext& call) {
    const EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    World& world = call.world();
    Outfit& outfit = outfitOf(world, *ped);
    const auto category = call.arg<std::uint32_t>(1);
    outfit.pending.erase(category);
    if (outfit.worn.erase(category) != 0) {
        call.event("outfit: " + world.nameOf(category) + " item off " + world.describe(*ped));
    }
}

ControlReply gameRemovesOutfit(Emulator& emu, const Args&) {
    World& world = emu.world;
    if (outfitOf(world, world.playerPed()).worn.erase(world.hashName("BADGES")) != 0) {
        emu.event("the game takes the BADGES item off the player");
    }
    return ok();
}

ControlReply expectOutfit(Emulator& emu, const Args& args) {
    const bool on = args.is(0, "on");
    World& world = emu.world;
    const bool worn = outfitOf(world, world.playerPed()).worn.count(world.hashName("BADGES")) != 0;
    return worn == on ? ok()
                      : expectationFailed(std::string("the badge item ") + onOff(on), onOff(worn));
}

ControlReply modelOutfitRefused(Emulator& emu, const Args& args) {
    emu.world.area<ClothingArea>().otherModelsRefuse = args.is(0, "on");
    return ok();
}

// clang-format off
constexpr Verb VERBS[] = {
    {"model outfit refused on|off", modelOutfitRefused, DocTable::WORLD,
     "the first character's badge item does nothing on another model (off at start: it shows)"},
    {"game removes outfit", gameRemovesOutfit, DocTable::WORLD,
     "the game takes the badge clothing item off the player"},
    {"expect outfit on|off", expectOutfit, DocTable::EXPECT,
     "the badge clothing item is on the player"},
};
// clang-format on

void ClothingArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::SET_META_PED_TAG,            "iiiiiiiii", setMetaPedTag},
        {natives::UPDATE_PED_VARIATION,        "ibbbbb",    updatePedVariation},
        {natives::IS_META_PED_USING_COMPONENT, "ii",        isMetaPedUsingComponent},
        {natives::REMOVE_TAG_FROM_META_PED,    "iii",       removeTagFromMetaPed},
    });
    // clang-format on
}

std::span<const Verb> ClothingArea::verbs() const {
    return VERBS;
}

}  // namespace

void addClothingArea(World& world) {
    world.addArea<ClothingArea>();
}
