#pragma once
#include "host/native_invoker.h"

// The lawman switch: 1 stops the ped's speech, 0 allows it.
inline void stopPedSpeaking(Ped ped, bool stop) {
    invokeNative(natives::STOP_PED_SPEAKING, ped, stop);
}
