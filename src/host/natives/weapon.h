#pragma once
#include "host/native_invoker.h"

// Both flags, unnamed in the native database, are passed as 1.
inline void removeAllPedWeapons(Ped ped) {
    invokeNative(natives::REMOVE_ALL_PED_WEAPONS, ped, true, true);
}
