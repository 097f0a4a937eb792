#pragma once
// The emulated game's own map of what the plug-in meets: the law offices, their doors,
// the floor just inside the doors, the badge props, the law's models, the relationship groups
// and the speech lines. Written from the game's geography and
// the native reference, never taken from the plug-in, so that a wrong number in the plug-in
// does not move the world with it; a test holds the plug-in's tables against these.
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "emulator/vec3.h"

namespace atlas {

struct Office {
    const char* town;
    std::int32_t interior;  // our own numbering: the game's real ids are not known here
    Vec3 spot;              // where the badge menu is offered
    Vec3 probe;             // a point inside, whose interior marks the office
};

// Offices numbered from 1, in the order of the badge menu's spots; scenarios number them so.
// clang-format off
constexpr Office OFFICES[] = {
    {"Strawberry",  0x51A0, {-1808.701f,  -348.481f, 164.649f}, {-1811.455f,  -352.219f, 161.0f}},
    {"Valentine",   0x51A1, { -276.183f,   805.232f, 119.38f},  { -276.851f,   809.485f, 119.0f}},
    {"Annesburg",   0x51A2, { 2907.737f,  1312.734f,  44.938f}, { 2903.036f,  1311.422f,  44.942f}},
    {"Rhodes",      0x51A3, { 1361.42f,  -1303.716f,  77.768f}, { 1357.44f,  -1301.963f,  77.0f}},
    {"Saint Denis", 0x51A4, { 2508.345f, -1308.877f,  48.954f}, { 2499.083f, -1307.77f,   48.0f}},
    {"Blackwater",  0x51A5, { -762.464f, -1268.23f,   44.041f}, { -763.5f,   -1263.086f,  44.0f}},
    {"Armadillo",   0x51A6, {-3623.448f, -2602.165f, -13.343f}, {-3620.687f, -2600.73f,  -13.0f}},
    {"Tumbleweed",  0x51A7, {-5530.208f, -2928.799f,  -1.361f}, {-5529.468f, -2925.569f,  -1.0f}},
};
// clang-format on
constexpr std::size_t LAW_OFFICE_COUNT = std::size(OFFICES);

// The door system names a door by a hash; these are the offices' doors, numbered per town.
constexpr std::uint32_t VALENTINE_DOOR_1 = 0x119AC64B;
constexpr std::uint32_t VALENTINE_DOOR_2 = 0x1FE862E6;
constexpr std::uint32_t VALENTINE_DOOR_3 = 0x0B8EBA33;
constexpr std::uint32_t VALENTINE_DOOR_4 = 0x59EE1B8A;
constexpr std::uint32_t ANNESBURG_DOOR_1 = 0x62C9F23E;
constexpr std::uint32_t ANNESBURG_DOOR_2 = 0x5994DFD4;
constexpr std::uint32_t RHODES_DOOR_1 = 0x6FF7DC46;
constexpr std::uint32_t SAINT_DENIS_DOOR_1 = 0x6607801C;
constexpr std::uint32_t SAINT_DENIS_DOOR_2 = 0x95F0DFEE;
constexpr std::uint32_t SAINT_DENIS_DOOR_3 = 0x76F4A1F6;
constexpr std::uint32_t SAINT_DENIS_DOOR_4 = 0xC899C543;
constexpr std::uint32_t STRAWBERRY_DOOR_1 = 0x35C4826D;
constexpr std::uint32_t STRAWBERRY_DOOR_2 = 0x47FF26E2;
constexpr std::uint32_t BLACKWATER_DOOR_1 = 0x8135A25A;
constexpr std::uint32_t BLACKWATER_DOOR_2 = 0x95E7CBBE;
constexpr std::uint32_t ARMADILLO_DOOR_1 = 0xEF63FD34;
constexpr std::uint32_t ARMADILLO_DOOR_2 = 0xFC761760;
constexpr std::uint32_t TUMBLEWEED_DOOR_1 = 0x318D53D8;
constexpr std::uint32_t TUMBLEWEED_DOOR_2 = 0x9F9EE049;
constexpr std::uint32_t TUMBLEWEED_DOOR_3 = 0xB1E884DC;

struct Door {
    std::uint32_t hash;
    Vec3 at;
};

// clang-format off
constexpr Door OFFICE_DOORS[] = {
    {VALENTINE_DOOR_1,   { -272.848f,    810.35f,   119.371f}},
    {VALENTINE_DOOR_2,   { -274.84f,     808.769f,  119.373f}},
    {VALENTINE_DOOR_3,   { -272.556f,    808.125f,  119.371f}},
    {VALENTINE_DOOR_4,   { -270.484f,    809.504f,  119.399f}},
    {ANNESBURG_DOOR_1,   { 2903.036f,   1311.422f,   44.942f}},
    {ANNESBURG_DOOR_2,   { 2904.534f,   1314.943f,   44.942f}},
    {RHODES_DOOR_1,      { 1357.44f,   -1301.963f,   77.0f}},
    {SAINT_DENIS_DOOR_1, { 2502.913f,  -1307.939f,   48.0f}},
    {SAINT_DENIS_DOOR_2, { 2503.094f,  -1310.152f,   48.0f}},
    {SAINT_DENIS_DOOR_3, { 2499.245f,  -1309.919f,   48.0f}},
    {SAINT_DENIS_DOOR_4, { 2499.083f,  -1307.77f,    48.0f}},
    {STRAWBERRY_DOOR_1,  {-1814.677f,   -353.757f,  161.0f}},
    {STRAWBERRY_DOOR_2,  {-1811.455f,   -352.219f,  161.0f}},
    {BLACKWATER_DOOR_1,  { -763.5f,    -1263.086f,   44.0f}},
    {BLACKWATER_DOOR_2,  { -765.975f,  -1264.148f,   44.0f}},
    {ARMADILLO_DOOR_1,   {-3620.687f,  -2600.73f,   -13.0f}},
    {ARMADILLO_DOOR_2,   {-3618.887f,  -2604.737f,  -13.0f}},
    {TUMBLEWEED_DOOR_1,  {-5529.468f,  -2925.569f,   -1.0f}},
    {TUMBLEWEED_DOOR_2,  {-5531.46f,   -2921.75f,    -2.0f}},
    {TUMBLEWEED_DOOR_3,  {-5532.907f,  -2918.6538f,  -2.0f}},
};

// Two doors elsewhere in the game, known here by their hashes only.
constexpr std::uint32_t OTHER_DOORS[] = {0x7689E4FA, 0x1792F529};
// clang-format on

// A stretch of floor just inside an office's doors, by its half-extents. It is shut off by its
// own door, or by both outer doors of the office; a door of 0 is none.
struct DoorBox {
    Vec3 centre;
    Vec3 halfSize;
    std::uint32_t door;
    std::uint32_t outerDoors[2];
};

// clang-format off
constexpr DoorBox DOOR_BOXES[] = {
    {{ -273.016f,   809.091f, 119.372f}, {2.2f, 1.02f, 1000.0f}, 0,                  {VALENTINE_DOOR_2, VALENTINE_DOOR_4}},
    {{ -273.121f,   811.395f, 119.371f}, {2.2f, 1.3f,  1000.0f}, VALENTINE_DOOR_1,   {VALENTINE_DOOR_2, VALENTINE_DOOR_4}},
    {{ -272.414f,   806.776f, 120.071f}, {2.2f, 1.3f,  1000.0f}, VALENTINE_DOOR_3,   {VALENTINE_DOOR_2, VALENTINE_DOOR_4}},
    {{ 2901.583f,  1311.574f,  45.655f}, {2.2f, 1.8f,  1000.0f}, ANNESBURG_DOOR_1,   {}},
    {{ 2903.473f,  1315.471f,  45.625f}, {2.2f, 1.8f,  1000.0f}, ANNESBURG_DOOR_2,   {}},
    {{ 1355.535f, -1302.303f,  77.761f}, {2.2f, 2.4f,  1000.0f}, RHODES_DOOR_1,      {}},
    {{-1810.7f,    -351.33f,  161.432f}, {2.1f, 2.1f,     1.0f}, STRAWBERRY_DOOR_2,  {}},
    {{-1813.08f,   -355.08f,  161.423f}, {2.3f, 2.1f,     1.0f}, STRAWBERRY_DOOR_1,  {}},
    {{ -767.261f, -1263.389f,  44.725f}, {1.5f, 2.0f,     1.0f}, BLACKWATER_DOOR_2,  {}},
    {{ -762.0f,   -1263.349f,  44.72f},  {1.5f, 2.0f,     1.0f}, BLACKWATER_DOOR_1,  {}},
    {{-3618.99f,  -2600.206f, -13.339f}, {2.3f, 2.3f,     1.0f}, ARMADILLO_DOOR_1,   {}},
    {{-3617.296f, -2603.757f, -12.642f}, {2.3f, 2.3f,     1.0f}, ARMADILLO_DOOR_2,   {}},
    {{-5528.0f,   -2925.65f,   -1.358f}, {1.8f, 1.8f,     1.0f}, TUMBLEWEED_DOOR_1,  {}},
    {{-5530.093f, -2922.397f,  -1.358f}, {1.7f, 1.7f,     1.0f}, TUMBLEWEED_DOOR_2,  {}},
    {{-5531.267f, -2919.472f,  -1.361f}, {1.8f, 2.0f,     1.0f}, TUMBLEWEED_DOOR_3,  {}},
    {{ 2502.999f, -1311.0f,    48.0f},   {1.8f, 1.5f,     1.0f}, SAINT_DENIS_DOOR_2, {}},
    {{ 2499.06f,  -1311.0f,    48.0f},   {1.8f, 1.5f,     1.0f}, SAINT_DENIS_DOOR_3, {}},
    {{ 2503.2f,   -1306.632f,  48.0f},   {1.8f, 1.5f,     1.0f}, SAINT_DENIS_DOOR_1, {}},
    {{ 2499.064f, -1306.632f,  48.0f},   {2.0f, 1.5f,     1.0f}, SAINT_DENIS_DOOR_4, {}},
};

struct BadgeProp {
    const char* model;
    const char* name;  // what the badge says
};

// The badge props a player wears, in the order of the badge menu's catalogue (the data file's
// `badge` value names them so)...
constexpr BadgeProp WEARABLE_BADGES[] = {
    {"s_badgeusmarshal01x",                 "U.S. Marshal"},
    {"s_badgesherif01x",                    "Sheriff"},
    {"s_badgepinkerton01x",                 "Pinkerton National Detective Agency"},
    {"s_badgepolice01x",                    "Police"},
    {"p_deputybadge01x",                    "Deputy (the other prop)"},
    {"s_badgedeputy01x",                    "Deputy"},
};

// ...and those the game has that nobody wears here.
constexpr BadgeProp UNWORN_BADGES[] = {
    {"cs_mp_marshall_davies_ms1_badge_000", "Marshal Davies' badge"},
};
// clang-format on
constexpr std::size_t WEARABLE_BADGE_COUNT = std::size(WEARABLE_BADGES);

// A ped model as the game names it, or by its hash alone where its name is not known here.
struct Model {
    const char* name;
    std::uint32_t hash = 0;  // with no name
};

// The law's models, as the plug-in sorts them (a test holds its lists against these), in the
// order it tests them (a model may stand twice). Every lawman...
// clang-format off
constexpr Model LAWMAN_MODELS[] = {
    {"CS_VALSHERIFF"},
    {"CS_SheriffOwens"},
    {"CS_strsheriff_01"},
    {"CS_VALSHERIFF"},
    {"U_M_M_RhdSheriff_01"},
    {"U_M_M_ValSheriff_01"},
    {"U_M_O_AsbSheriff_01"},
    {"A_M_M_ARMDEPUTYRESIDENT_01"},
    {"A_M_M_ASBDEPUTYRESIDENT_01"},
    {"A_M_M_RHDDEPUTYRESIDENT_01"},
    {"A_M_M_STRDEPUTYRESIDENT_01"},
    {"A_M_M_VALDEPUTYRESIDENT_01"},
    {"CS_ASBDEPUTY_01"},
    {"CS_rhodeputy_01"},
    {"CS_RhoDeputy_02"},
    {"CS_strdeputy_01"},
    {"CS_strdeputy_02"},
    {"CS_VALDEPUTY_01"},
    {"S_M_M_VALDEPUTY_01"},
    {"U_M_M_RhdBackupDeputy_01"},
    {"U_M_M_RhdBackupDeputy_02"},
    {nullptr, 0x6D22857B},
    {nullptr, 0x77EEF186},
    {"CS_NbxPoliceChiefFormal"},
    {"RE_POLICECHASE_MALES_01"},
    {"S_M_M_AmbientBlWPolice_01"},
    {"S_M_M_AmbientSDPolice_01"},
    {"S_M_M_DispatchLeaderPolice_01"},
    {"S_M_M_DispatchPolice_01"},
    {"U_M_M_SDPoliceChief_01"},
    {"U_M_O_BlWPoliceChief_01"},
};

// ...the patrol lawmen, whose lawman switch the plug-in keeps...
constexpr Model PATROL_LAWMAN_MODELS[] = {
    {"CS_VALSHERIFF"},
    {"U_M_M_RhdSheriff_01"},
    {"U_M_M_ValSheriff_01"},
    {"U_M_O_AsbSheriff_01"},
    {"A_M_M_ARMDEPUTYRESIDENT_01"},
    {"A_M_M_ASBDEPUTYRESIDENT_01"},
    {"A_M_M_RHDDEPUTYRESIDENT_01"},
    {"A_M_M_STRDEPUTYRESIDENT_01"},
    {"A_M_M_VALDEPUTYRESIDENT_01"},
    {"CS_rhodeputy_01"},
    {"U_M_M_RhdBackupDeputy_01"},
    {"U_M_M_RhdBackupDeputy_02"},
    {nullptr, 0x6D22857B},
    {nullptr, 0x77EEF186},
    {"S_M_M_AmbientSDPolice_01"},
    {"S_M_M_DispatchLeaderPolice_01"},
    {"S_M_M_DispatchPolice_01"},
    {"U_M_M_SDPoliceChief_01"},
    {"U_M_O_BlWPoliceChief_01"},
};

// ...and those whose switch goes off whenever the player engages them.
constexpr Model SWITCH_OFF_LAWMAN_MODELS[] = {
    {nullptr, 0x6D22857B},
    {"U_M_M_RhdSheriff_01"},
    {"CS_rhodeputy_01"},
    {"U_M_M_RhdBackupDeputy_01"},
    {"U_M_M_RhdBackupDeputy_02"},
    {"S_M_M_AmbientSDPolice_01"},
    {"S_M_M_DispatchLeaderPolice_01"},
    {"S_M_M_DispatchPolice_01"},
};

// The other people a story meets, by the models the game names them with: a model none of
// these lists has is a name the emulated game hashes as any other, but a story that means a
// lawman has likely misspelt one.
constexpr Model OTHER_PED_MODELS[] = {
    {"A_M_M_VALTOWNFOLK_01"},
    {"A_F_M_VALTOWNFOLK_01"},
    {"A_M_M_GuaTownfolk_01"},
    {"A_F_O_LagTownfolk_01"},
    {"G_M_M_UNIDUSTER_01"},
};
// clang-format on

// The relationship groups a story meets, with what they are in the game.
struct Group {
    const char* name;
    const char* meaning;
};

// clang-format off
constexpr Group GROUPS[] = {
    {"PLAYER",            "the player's own group, at the start and off duty"},
    {"REL_COP",           "the law: lawmen, and the player on duty"},
    {"REL_CIVMALE",       "male civilians"},
    {"REL_CIVFEMALE",     "female civilians"},
    {"REL_GT_FFA",        "free-for-all: hostile to everyone"},
    {"REL_GANG_DUTCHS",   "the Van der Linde gang"},
    {"REL_TOWN_MOB",      "a town's lynch mob"},
    {"REL_GUARD_ASB",     "Annesburg's guards"},
    {"REL_GUARD_BRONTE",  "Bronte's guards in Saint Denis"},
    {"REL_BOUNTY_HUNTER", "bounty hunters"},
    {"REL_PLAYER_ENEMY",  "enemies of the player"},
    {"REL_PINKERTONS",    "the Pinkerton agents"},
};

// What one group holds towards another, as the plug-in sets them once a second on duty, in its
// order (a pair set twice stands twice).
struct Relationship {
    std::int32_t value;
    const char* group;    // holds the value...
    const char* towards;  // ...towards this one
};

constexpr Relationship DUTY_RELATIONSHIPS[] = {
    {0, "REL_COP",           "REL_COP"},
    {0, "REL_COP",           "REL_COP"},
    {0, "REL_TOWN_MOB",      "REL_COP"},
    {0, "REL_COP",           "REL_TOWN_MOB"},
    {0, "REL_CIVMALE",       "REL_COP"},
    {0, "REL_COP",           "REL_CIVMALE"},
    {0, "REL_CIVFEMALE",     "REL_COP"},
    {0, "REL_COP",           "REL_CIVFEMALE"},
    {0, "REL_GUARD_ASB",     "REL_COP"},
    {0, "REL_GUARD_BRONTE",  "REL_COP"},
    {0, "REL_BOUNTY_HUNTER", "REL_COP"},
    {6, "REL_PLAYER_ENEMY",  "REL_COP"},
    {6, "REL_COP",           "REL_PLAYER_ENEMY"},
    {0, "REL_BOUNTY_HUNTER", "REL_COP"},
    {0, "REL_COP",           "REL_BOUNTY_HUNTER"},
    {0, "REL_GUARD_ASB",     "REL_COP"},
    {0, "REL_COP",           "REL_GUARD_ASB"},
    {0, "REL_PINKERTONS",    "REL_COP"},
    {0, "REL_COP",           "REL_PINKERTONS"},
};

// The speech lines peds say in a story, by their names in the game.
struct SpeechLine {
    const char* name;
    const char* meaning;
};

constexpr SpeechLine SPEECH_LINES[] = {
    {"GREET_MARSHAL", "a ped greets the player as a marshal"},
};
// clang-format on

}  // namespace atlas
