#pragma once
#include "host/native_invoker.h"

inline void uilogSetCachedObjective(std::uint64_t text) {
    invokeNative(natives::UILOG_SET_CACHED_OBJECTIVE, text);
}

inline void uilogPrintCachedObjective() {
    invokeNative(natives::UILOG_PRINT_CACHED_OBJECTIVE);
}

inline void uilogClearCachedObjective() {
    invokeNative(natives::UILOG_CLEAR_CACHED_OBJECTIVE);
}
