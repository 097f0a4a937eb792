#pragma once
#include "host/native_invoker.h"

// The law office doors, as the door system names them, numbered per town in the order
// of the prompt upkeep. The door table, the sweep's reading order and the boxes' conditions
// all name them from here.
constexpr Hash VALENTINE_DOOR_1 = 0x119AC64B;
constexpr Hash VALENTINE_DOOR_2 = 0x1FE862E6;
constexpr Hash VALENTINE_DOOR_3 = 0x0B8EBA33;
constexpr Hash VALENTINE_DOOR_4 = 0x59EE1B8A;
constexpr Hash ANNESBURG_DOOR_1 = 0x62C9F23E;
constexpr Hash ANNESBURG_DOOR_2 = 0x5994DFD4;
constexpr Hash RHODES_DOOR_1 = 0x6FF7DC46;
constexpr Hash SAINT_DENIS_DOOR_1 = 0x6607801C;
constexpr Hash SAINT_DENIS_DOOR_2 = 0x95F0DFEE;
constexpr Hash SAINT_DENIS_DOOR_3 = 0x76F4A1F6;
constexpr Hash SAINT_DENIS_DOOR_4 = 0xC899C543;
constexpr Hash STRAWBERRY_DOOR_1 = 0x35C4826D;
constexpr Hash STRAWBERRY_DOOR_2 = 0x47FF26E2;
constexpr Hash BLACKWATER_DOOR_1 = 0x8135A25A;
constexpr Hash BLACKWATER_DOOR_2 = 0x95E7CBBE;
constexpr Hash ARMADILLO_DOOR_1 = 0xEF63FD34;
constexpr Hash ARMADILLO_DOOR_2 = 0xFC761760;
constexpr Hash TUMBLEWEED_DOOR_1 = 0x318D53D8;
constexpr Hash TUMBLEWEED_DOOR_2 = 0x9F9EE049;
constexpr Hash TUMBLEWEED_DOOR_3 = 0xB1E884DC;
