#pragma once
#include "host/native_invoker.h"

inline void setPedConfigFlag(Ped ped, std::int32_t flag, bool value) {
    invokeNative(natives::SET_PED_CONFIG_FLAG, ped, flag, value);
}

inline void setPedRelationshipGroupHash(Ped ped, Hash group) {
    invokeNative(natives::SET_PED_RELATIONSHIP_GROUP_HASH, ped, group);
}

struct MetaPedTag {
    Hash drawable;
    Hash albedo;
    Hash normal;
    Hash material;
};

inline void setMetaPedTag(Ped ped, const MetaPedTag& tag) {
    invokeNative(natives::SET_META_PED_TAG, ped, tag.drawable, tag.albedo, tag.normal, tag.material,
                 Hash{0}, 0, 0, 0);
}

inline void updatePedVariation(Ped ped) {
    invokeNative(natives::UPDATE_PED_VARIATION, ped, true, true, true, true, true);
}

inline bool isMetaPedUsingComponent(Ped ped, Hash component) {
    return invokeNative<bool>(natives::IS_META_PED_USING_COMPONENT, ped, component);
}

// The third argument, unnamed in the native database, is always 1 here.
inline void removeTagFromMetaPed(Ped ped, Hash component) {
    invokeNative(natives::REMOVE_TAG_FROM_META_PED, ped, component, 1);
}

inline bool isPedModel(Ped ped, Hash model) {
    return invokeNative<bool>(natives::IS_PED_MODEL, ped, model);
}

inline bool isPedHuman(Ped ped) {
    return invokeNative<bool>(natives::IS_PED_HUMAN, ped);
}

// The buffer holds 8-byte slots: slot 0 the capacity, handles from slot 1. Returns the count.
// The last argument, unnamed in the native database, is always -1 here.
inline std::int32_t getPedNearbyPeds(Ped ped, std::uint64_t* sizeAndPeds,
                                     std::int32_t ignoredPedType) {
    return invokeNative<std::int32_t>(natives::GET_PED_NEARBY_PEDS, ped, sizeAndPeds,
                                      ignoredPedType, -1);
}

inline Hash getPedRelationshipGroupHash(Ped ped) {
    return invokeNative<Hash>(natives::GET_PED_RELATIONSHIP_GROUP_HASH, ped);
}

// What group A holds towards group B; the value is a plain integer (0 and 6 here).
inline void setRelationshipBetweenGroups(std::int32_t relationship, Hash groupA, Hash groupB) {
    invokeNative(natives::SET_RELATIONSHIP_BETWEEN_GROUPS, relationship, groupA, groupB);
}

inline bool isPedInCombat(Ped ped, Ped target) {
    return invokeNative<bool>(natives::IS_PED_IN_COMBAT, ped, target);
}

inline bool getIsPedRespondingToPositiveInteraction(Ped ped, Player player) {
    return invokeNative<bool>(natives::GET_IS_PED_RESPONDING_TO_POSITIVE_INTERACTION, ped, player);
}

inline bool isPedRespondingToThreat(Ped ped) {
    return invokeNative<bool>(natives::IS_PED_RESPONDING_TO_THREAT, ped);
}

inline bool isPedDrunk(Ped ped) {
    return invokeNative<bool>(natives::IS_PED_DRUNK, ped);
}

// The other ped may be 0.
inline bool getIsPedInDisputeWithPed(Ped ped, Ped other) {
    return invokeNative<bool>(natives::GET_IS_PED_IN_DISPUTE_WITH_PED, ped, other);
}

inline void setPedActionDisableFlag(Ped ped, std::int32_t flag) {
    invokeNative(natives::SET_PED_ACTION_DISABLE_FLAG, ped, flag);
}
