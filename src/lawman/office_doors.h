#pragma once
#include <cstdint>
#include <iterator>

#include "host/native_invoker.h"
#include "lawman/door_hashes.h"

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
    {VALENTINE_DOOR_1,   { -272.848f,    810.35f,   119.371f}, {1.0f, 1.0f, 1200.0f}, false, {1.0f, 1.0f, 1200.0f},  1, true},
    {VALENTINE_DOOR_2,   { -274.84f,     808.769f,  119.373f}, {1.0f, 1.0f, 1200.0f}, false, {1.0f, 1.0f, 1200.0f},  2, true},
    {VALENTINE_DOOR_3,   { -272.556f,    808.125f,  119.371f}, {1.0f, 1.0f, 1200.0f}, false, {1.0f, 1.0f, 1200.0f},  3, true},
    {VALENTINE_DOOR_4,   { -270.484f,    809.504f,  119.399f}, {1.0f, 1.0f, 1200.0f}, false, {1.0f, 1.0f,   10.0f},  4, true},
    {ANNESBURG_DOOR_1,   { 2903.036f,   1311.422f,   44.942f}, {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f},  5, true},
    {ANNESBURG_DOOR_2,   { 2904.534f,   1314.943f,   44.942f}, {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f},  6, true},
    {RHODES_DOOR_1,      { 1357.44f,   -1301.963f,   77.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f},  7, false},
    {SAINT_DENIS_DOOR_1, { 2502.913f,  -1307.939f,   48.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f},  8, true},
    {SAINT_DENIS_DOOR_2, { 2503.094f,  -1310.152f,   48.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f},  9, true},
    {SAINT_DENIS_DOOR_3, { 2499.245f,  -1309.919f,   48.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 10, true},
    {SAINT_DENIS_DOOR_4, { 2499.083f,  -1307.77f,    48.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 11, true},
    {STRAWBERRY_DOOR_1,  {-1814.677f,   -353.757f,  161.0f},   {1.0f, 1.0f,    1.0f}, true,  {1.0f, 1.0f,   10.0f}, 13, true},
    {STRAWBERRY_DOOR_2,  {-1811.455f,   -352.219f,  161.0f},   {1.0f, 1.0f,    1.0f}, true,  {1.0f, 1.0f,   10.0f}, 12, true},
    {BLACKWATER_DOOR_1,  { -763.5f,    -1263.086f,   44.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 14, true},
    {BLACKWATER_DOOR_2,  { -765.975f,  -1264.148f,   44.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 15, true},
    {ARMADILLO_DOOR_1,   {-3620.687f,  -2600.73f,   -13.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 16, true},
    {ARMADILLO_DOOR_2,   {-3618.887f,  -2604.737f,  -13.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 17, true},
    {TUMBLEWEED_DOOR_1,  {-5529.468f,  -2925.569f,   -1.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 18, true},
    {TUMBLEWEED_DOOR_2,  {-5531.46f,   -2921.75f,    -2.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 19, true},
    {TUMBLEWEED_DOOR_3,  {-5532.907f,  -2918.6538f,  -2.0f},   {1.0f, 1.0f,   10.0f}, false, {1.0f, 1.0f,   10.0f}, 20, true},
};

// Held unlocked every second, in this order.
constexpr Hash alwaysUnlockedDoors[] = {0x7689E4FA, 0x1792F529};

// Registered with the door system in every prompt block, in this order.
constexpr Hash setUpDoors[] = {TUMBLEWEED_DOOR_1, TUMBLEWEED_DOOR_3, TUMBLEWEED_DOOR_2};
// clang-format on

constexpr std::size_t OFFICE_DOOR_COUNT = std::size(officeDoors);
