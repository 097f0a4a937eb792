#include "lawman/greeting_memory.h"

#include <algorithm>

namespace {

constexpr std::int32_t IN_USE = 1;

bool isFree(const GreetedSlot& slot) {
    return slot.occupied != IN_USE;
}

}  // namespace

bool hasGreeted(const GreetingMemory& memory, Ped ped) {
    return std::any_of(memory.greetedPeds.begin(), memory.greetedPeds.end(),
                       [&](const GreetedSlot& slot) { return slot.handle == ped; });
}

bool wasPassedOver(const GreetingMemory& memory, Ped ped) {
    return std::any_of(memory.passedOverPeds.begin(), memory.passedOverPeds.end(),
                       [&](const PassedOverSlot& slot) { return slot.handle == ped; });
}

bool greetedAndHeld(const GreetingMemory& memory, Ped ped) {
    return std::any_of(
        memory.greetedPeds.begin(), memory.greetedPeds.end(),
        [&](const GreetedSlot& slot) { return slot.handle == ped && !slot.holdPending; });
}

void rememberGreeting(GreetingMemory& memory, Ped ped) {
    const auto slot = std::find_if(memory.greetedPeds.begin(), memory.greetedPeds.end(), isFree);
    if (slot != memory.greetedPeds.end()) {
        *slot = {ped, IN_USE, true};
    }
}

void rememberPassedOver(GreetingMemory& memory, Ped ped) {
    const auto slot =
        std::find_if(memory.passedOverPeds.begin(), memory.passedOverPeds.end(),
                     [](const PassedOverSlot& candidate) { return !candidate.occupied; });
    if (slot != memory.passedOverPeds.end()) {
        *slot = {ped, true};
    }
}

GreetedSlot* pendingHold(GreetingMemory& memory, Ped ped) {
    const auto slot =
        std::find_if(memory.greetedPeds.begin(), memory.greetedPeds.end(),
                     [&](const GreetedSlot& s) { return s.handle == ped && s.holdPending; });
    return slot != memory.greetedPeds.end() ? &*slot : nullptr;
}

void clearSlot(GreetedSlot& slot) {
    slot = {};
}

void clearSlot(PassedOverSlot& slot) {
    slot = {};
}
