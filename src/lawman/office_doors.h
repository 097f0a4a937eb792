#pragma once
#include <cstdint>
#include <iterator>

#include "host/native_invoker.h"

// The law office doors a lawman can lock and unlock: where each door's spot is and how the
// prompt upkeep and the toggle test it (they differ for a few doors).
struct OfficeDoor {
    Hash door;
    Vector3 spot;
    Vector3 promptHalfSize;
    bool promptDo3dCheck;  // the box test's 3D flag for the prompt (the toggle never sets it)
    Vector3 toggleHalfSize;
    std::uint8_t togglePosition;  // 1-based place in the toggle's order
    bool promptPriority;          // the prompt build sets its priority
};

// In the prompt upkeep's order.
// clang-format off
constexpr OfficeDoor officeDoors[] = {
    {0x119AC64B, { -272.848f,    810.35f,   119.371f}, {1.0f, 1.0f, 1200.0f}, false, {1.0f, 1.0f, 1200.0f},  1, true},
    {0x1FE862E6, { -274.84f,     808.769f,  119.373f}, {1.0f, 1.0f, 1200.0f}, false, {1.0f, 1.0f, 1200.0f},  2, true},
    {0x0B8EBA33, { -272.556f,    808.125f,  119.371f}, {1.0f, 1.0f, 1200.0f}, false, {1.0f, 1.0f, 1200.0f},  3, true},
    {0x59EE1B8A, { -270.484f,    809.504f,  119.399f}, {1.0f, 1.0f, 1200.0f}, false, {1.0f, 1.0f,   10.0f},  4, true},
    {0x62C9F23E, { 2903.036f,   1311.422f,   44.942f}, {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f},  5, true},
    {0x5994DFD4, { 2904.534f,   1314.943f,   44.942f}, {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f},  6, true},
    {0x6FF7DC46, { 1357.44f,   -1301.963f,   77.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f},  7, false},
    {0x6607801C, { 2502.913f,  -1307.939f,   48.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f},  8, true},
    {0x95F0DFEE, { 2503.094f,  -1310.152f,   48.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f},  9, true},
    {0x76F4A1F6, { 2499.245f,  -1309.919f,   48.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 10, true},
    {0xC899C543, { 2499.083f,  -1307.77f,    48.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 11, true},
    {0x35C4826D, {-1814.677f,   -353.757f,  161.0f},   {1.0f, 1.0f,    1.0f}, true,  {1.0f, 1.0f,   10.0f}, 13, true},
    {0x47FF26E2, {-1811.455f,   -352.219f,  161.0f},   {1.0f, 1.0f,    1.0f}, true,  {1.0f, 1.0f,   10.0f}, 12, true},
    {0x8135A25A, { -763.5f,    -1263.086f,   44.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 14, true},
    {0x95E7CBBE, { -765.975f,  -1264.148f,   44.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 15, true},
    {0xEF63FD34, {-3620.687f,  -2600.73f,   -13.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 16, true},
    {0xFC761760, {-3618.887f,  -2604.737f,  -13.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 17, true},
    {0x318D53D8, {-5529.468f,  -2925.569f,   -1.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 18, true},
    {0x9F9EE049, {-5531.46f,   -2921.75f,    -2.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 19, true},
    {0xB1E884DC, {-5532.907f,  -2918.6538f,  -2.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 20, true},
};

// Held unlocked every second, in this order.
constexpr Hash alwaysUnlockedDoors[] = {0x7689E4FA, 0x1792F529};

// Registered with the door system in every prompt block, in this order.
constexpr Hash setUpDoors[] = {0x318D53D8, 0xB1E884DC, 0x9F9EE049};
// clang-format on

constexpr std::size_t OFFICE_DOOR_COUNT = std::size(officeDoors);
