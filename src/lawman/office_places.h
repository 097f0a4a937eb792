#pragma once
#include <cstdint>
#include <iterator>

#include "game/law_offices.h"
#include "host/native_invoker.h"
#include "lawman/door_hashes.h"

// Where the law offices are, as the office sweep reads them: one probe point inside each
// office (its place identifier marks the office), and the boxes just inside the doors where a
// ped counts as held while the doors named by the box's condition are shut.

// clang-format off
constexpr Vector3 officeProbePoints[] = {
    { -276.851f,   809.485f,  119.0f},
    { 2903.036f,  1311.422f,   44.942f},
    { 1357.44f,  -1301.963f,   77.0f},
    {-1811.455f,  -352.219f,  161.0f},
    { -763.5f,   -1263.086f,   44.0f},
    {-3620.687f, -2600.73f,   -13.0f},
    {-5529.468f, -2925.569f,   -1.0f},
    { 2499.083f, -1307.77f,    48.0f},
};

// The door states the sweep reads, in the order it reads them.
constexpr Hash officeSweepDoors[] = {
    VALENTINE_DOOR_2,   VALENTINE_DOOR_4,   VALENTINE_DOOR_1,   VALENTINE_DOOR_3,
    ANNESBURG_DOOR_1,   ANNESBURG_DOOR_2,   RHODES_DOOR_1,      STRAWBERRY_DOOR_2,
    STRAWBERRY_DOOR_1,  BLACKWATER_DOOR_2,  BLACKWATER_DOOR_1,  ARMADILLO_DOOR_1,
    ARMADILLO_DOOR_2,   TUMBLEWEED_DOOR_1,  TUMBLEWEED_DOOR_2,  TUMBLEWEED_DOOR_3,
    SAINT_DENIS_DOOR_2, SAINT_DENIS_DOOR_3, SAINT_DENIS_DOOR_1, SAINT_DENIS_DOOR_4,
};
// clang-format on

static_assert(std::size(officeProbePoints) == LAW_OFFICE_COUNT, "one probe point per law office");
constexpr std::size_t SWEEP_DOOR_COUNT = std::size(officeSweepDoors);

// A box holds a ped while door `either` reads a non-zero (locked) state, or while both `both`
// doors do; a door of 0 is not asked.
struct DoorCondition {
    Hash either;
    Hash both[2];
};

// Half-extents; the three flags are the box test's highlight, 3D and transport arguments.
struct DoorBox {
    Vector3 centre;
    Vector3 halfSize;
    bool highlight;
    bool do3dCheck;
    std::int32_t transportMode;
    DoorCondition condition;
};

// In the order they are tried.
// clang-format off
constexpr DoorBox doorBoxes[] = {
    {{ -273.016f,   809.091f, 119.372f}, {2.2f, 1.02f, 1000.0f}, false, false, 0, {0,                  {VALENTINE_DOOR_2, VALENTINE_DOOR_4}}},
    {{ -273.121f,   811.395f, 119.371f}, {2.2f, 1.3f,  1000.0f}, false, false, 0, {VALENTINE_DOOR_1,   {VALENTINE_DOOR_2, VALENTINE_DOOR_4}}},
    {{ -272.414f,   806.776f, 120.071f}, {2.2f, 1.3f,  1000.0f}, false, false, 0, {VALENTINE_DOOR_3,   {VALENTINE_DOOR_2, VALENTINE_DOOR_4}}},
    {{ 2901.583f,  1311.574f,  45.655f}, {2.2f, 1.8f,  1000.0f}, false, false, 0, {ANNESBURG_DOOR_1,   {}}},
    {{ 2903.473f,  1315.471f,  45.625f}, {2.2f, 1.8f,  1000.0f}, false, false, 0, {ANNESBURG_DOOR_2,   {}}},
    {{ 1355.535f, -1302.303f,  77.761f}, {2.2f, 2.4f,  1000.0f}, false, false, 0, {RHODES_DOOR_1,      {}}},
    {{-1810.7f,    -351.33f,  161.432f}, {2.1f, 2.1f,     1.0f}, false, true,  0, {STRAWBERRY_DOOR_2,  {}}},
    {{-1813.08f,   -355.08f,  161.423f}, {2.3f, 2.1f,     1.0f}, false, true,  0, {STRAWBERRY_DOOR_1,  {}}},
    {{ -767.261f, -1263.389f,  44.725f}, {1.5f, 2.0f,     1.0f}, false, true,  0, {BLACKWATER_DOOR_2,  {}}},
    {{ -762.0f,   -1263.349f,  44.72f},  {1.5f, 2.0f,     1.0f}, false, true,  0, {BLACKWATER_DOOR_1,  {}}},
    {{-3618.99f,  -2600.206f, -13.339f}, {2.3f, 2.3f,     1.0f}, false, true,  0, {ARMADILLO_DOOR_1,   {}}},
    {{-3617.296f, -2603.757f, -12.642f}, {2.3f, 2.3f,     1.0f}, false, true,  0, {ARMADILLO_DOOR_2,   {}}},
    {{-5528.0f,   -2925.65f,   -1.358f}, {1.8f, 1.8f,     1.0f}, false, false, 0, {TUMBLEWEED_DOOR_1,  {}}},
    {{-5530.093f, -2922.397f,  -1.358f}, {1.7f, 1.7f,     1.0f}, false, false, 0, {TUMBLEWEED_DOOR_2,  {}}},
    {{-5531.267f, -2919.472f,  -1.361f}, {1.8f, 2.0f,     1.0f}, false, false, 0, {TUMBLEWEED_DOOR_3,  {}}},
    {{ 2502.999f, -1311.0f,    48.0f},   {1.8f, 1.5f,     1.0f}, false, false, 0, {SAINT_DENIS_DOOR_2, {}}},
    {{ 2499.06f,  -1311.0f,    48.0f},   {1.8f, 1.5f,     1.0f}, false, false, 0, {SAINT_DENIS_DOOR_3, {}}},
    {{ 2503.2f,   -1306.632f,  48.0f},   {1.8f, 1.5f,     1.0f}, false, false, 0, {SAINT_DENIS_DOOR_1, {}}},
    {{ 2499.064f, -1306.632f,  48.0f},   {2.0f, 1.5f,     1.0f}, false, false, 0, {SAINT_DENIS_DOOR_4, {}}},
};
// clang-format on
