#pragma once
#include "host/native_invoker.h"

inline void removeAllPedWeapons(Ped ped, bool p1, bool p2) {
    invokeNative(natives::REMOVE_ALL_PED_WEAPONS, ped, p1, p2);
}
