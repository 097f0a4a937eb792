#include <algorithm>

#include "emulator/natives/areas.h"

namespace {

// How far the game's nearby-ped list reaches.
constexpr float NEARBY_RANGE = 150.0f;

void setPedConfigFlag(CallContext& call) {
    if (EntityState* ped = pedArg(call, 0)) {
        ped->configFlags[call.arg<std::int32_t>(1)] = call.arg<bool>(2);
    }
}

void setPedRelationshipGroupHash(CallContext& call) {
    if (EntityState* ped = pedArg(call, 0)) {
        ped->relationshipGroup = call.arg<std::uint32_t>(1);
    }
}

// A tag replaces the item of its category; it shows after the next variation update.
void setMetaPedTag(CallContext& call) {
    EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    const World& world = call.world();
    const MetaPedItem* item = findMetaPedItem(call.arg<std::uint32_t>(1));
    if (item == nullptr) {
        call.fail("unknown drawable " + world.nameOf(call.arg<std::uint32_t>(1)));
        return;
    }
    // Maps that do not belong to the drawable mean arguments in the wrong order.
    if (call.arg<std::uint32_t>(2) != item->albedo || call.arg<std::uint32_t>(3) != item->normal) {
        call.fail("the albedo and normal maps do not belong to " + world.nameOf(item->drawable));
        return;
    }
    ped->pendingCategories.insert(item->category);
}

void updatePedVariation(CallContext& call) {
    EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    for (std::uint32_t category : ped->pendingCategories) {
        if (ped->wornCategories.insert(category).second) {
            call.event("outfit: " + call.world().nameOf(category) + " item on " +
                       call.world().describe(*ped));
        }
    }
    ped->pendingCategories.clear();
}

void isMetaPedUsingComponent(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(ped->wornCategories.count(call.arg<std::uint32_t>(1)) != 0);
    }
}

void removeTagFromMetaPed(CallContext& call) {
    EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    const auto category = call.arg<std::uint32_t>(1);
    ped->pendingCategories.erase(category);
    if (ped->wornCategories.erase(category) != 0) {
        call.event("outfit: " + call.world().nameOf(category) + " item off " +
                   call.world().describe(*ped));
    }
}

void isPedModel(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(ped->model == call.arg<std::uint32_t>(1));
    }
}

void isPedHuman(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(ped->human);
    }
}

// Peds around the centre ped, closest first, into 8-byte slots after the capacity in slot 0.
void getPedNearbyPeds(CallContext& call) {
    const EntityState* centre = pedArg(call, 0);
    auto* slots = call.ptr<std::uint64_t>(1);
    if (centre == nullptr || slots == nullptr) {
        return;
    }
    World& world = call.world();
    const auto capacity = static_cast<std::uint32_t>(slots[0]);
    const auto ignoredPedType = call.arg<std::int32_t>(2);
    const std::vector<std::int32_t> found =
        nearbyPeds(world, *centre, NEARBY_RANGE, ignoredPedType);
    const std::size_t count = std::min<std::size_t>(found.size(), capacity);
    for (std::size_t i = 0; i < count; ++i) {
        slots[i + 1] = static_cast<std::uint32_t>(found[i]);
    }
    call.result(world.nearbyCountOverride.value_or(static_cast<std::int32_t>(count)));
}

}  // namespace

void registerPedNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::SET_PED_CONFIG_FLAG,              "iib",       setPedConfigFlag},
        {natives::SET_PED_RELATIONSHIP_GROUP_HASH,  "ii",        setPedRelationshipGroupHash},
        {natives::SET_META_PED_TAG,                 "iiiiiiiii", setMetaPedTag},
        {natives::UPDATE_PED_VARIATION,             "ibbbbb",    updatePedVariation},
        {natives::IS_META_PED_USING_COMPONENT,      "ii",        isMetaPedUsingComponent},
        {natives::REMOVE_TAG_FROM_META_PED,         "iii",       removeTagFromMetaPed},
        {natives::IS_PED_MODEL,                     "ii",        isPedModel},
        {natives::IS_PED_HUMAN,                     "i",         isPedHuman},
        {natives::GET_PED_NEARBY_PEDS,              "ipii",      getPedNearbyPeds},
    });
    // clang-format on
}
