#pragma once
// Each area of the game registers the natives it answers.
#include "emulator/call_context.h"
#include "emulator/emulator.h"
#include "emulator/native_table.h"
#include "emulator/world.h"

void registerMiscNatives(NativeTable& table);
void registerPlayerNatives(NativeTable& table);
void registerEntityNatives(NativeTable& table);
void registerObjectNatives(NativeTable& table);
void registerPedNatives(NativeTable& table);
void registerAudioNatives(NativeTable& table);
void registerPromptNatives(NativeTable& table);
void registerUilogNatives(NativeTable& table);
void registerLawNatives(NativeTable& table);

// Shared by several areas: the entity named by an argument, or null when there is none (the
// native then does nothing); a ped argument naming an object is a loud failure.
EntityState* entityArg(CallContext& call, std::size_t index);
EntityState* pedArg(CallContext& call, std::size_t index);
