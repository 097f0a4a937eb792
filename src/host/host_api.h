#pragma once
// The eight functions the host (ScriptHookRDR2) offers. The Windows build imports them by the
// host's decorated names through an import library; natively the emulated host defines them.
#include <cstdint>

#include "host/platform_types.h"

using ScriptEntry = void (*)();
using KeyboardHandler = void (*)(DWORD key, WORD repeats, BYTE scanCode, BOOL isExtended,
                                 BOOL isWithAlt, BOOL wasDownBefore, BOOL isUpNow);

extern "C" {
void scriptRegister(HINSTANCE module, ScriptEntry entry);
void scriptUnregister(HINSTANCE module);
void scriptWait(DWORD ms);
void nativeInit(std::uint64_t hash);
void nativePush64(std::uint64_t value);
std::uint64_t* nativeCall();
void keyboardHandlerRegister(KeyboardHandler handler);
void keyboardHandlerUnregister(KeyboardHandler handler);
}
