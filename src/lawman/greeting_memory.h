#pragma once
#include <array>
#include <cstdint>

#include "host/native_invoker.h"

// Who has greeted the player and who lost the greeting draw, so that nobody greets twice or is
// drawn again while staying near. Owned by the badge script for its whole run; never saved.

constexpr std::size_t GREETING_SLOTS = 20;

struct GreetedSlot {
    Ped handle = 0;
    std::int32_t occupied = 0;  // 1 in use; any other value is free
    bool holdPending = false;   // greeted, not yet held after the greeting
};

struct PassedOverSlot {
    Ped handle = 0;
    bool occupied = false;
};

struct GreetingMemory {
    std::array<GreetedSlot, GREETING_SLOTS> greetedPeds{};
    std::array<PassedOverSlot, GREETING_SLOTS> passedOverPeds{};
};

bool hasGreeted(const GreetingMemory& memory, Ped ped);
bool wasPassedOver(const GreetingMemory& memory, Ped ped);
// A ped that greeted and has had its hold since.
bool greetedAndHeld(const GreetingMemory& memory, Ped ped);

// Into the first free slot; with none free the ped is not remembered.
void rememberGreeting(GreetingMemory& memory, Ped ped);
void rememberPassedOver(GreetingMemory& memory, Ped ped);

// The first slot of the ped still waiting for its hold, or null.
GreetedSlot* pendingHold(GreetingMemory& memory, Ped ped);

void clearSlot(GreetedSlot& slot);
void clearSlot(PassedOverSlot& slot);
