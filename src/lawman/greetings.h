#pragma once
#include <vector>

#include "host/native_invoker.h"
#include "lawman/greeting_memory.h"

// Greetings while the marshal badge is worn, and the lawman switch of the patrol lawmen.

// The one speech line a greeting plays.
inline constexpr const char* GREETING_LINE = "GREET_MARSHAL";

// Once a second: the closest qualifying ped within 5 may greet, at the configured chance;
// peds more than 50 away are forgotten first.
void closestPedGreeting(GreetingMemory& memory);

// Every pass: each patrol lawman within 100 gets its switch (off, with a 1000 ms wait, when the
// player engages one that has greeted and been held, or one of the switch-off models). The
// peds go into `peds`, which the caller keeps across the sweep's waits.
void lawmanSwitchSweep(const GreetingMemory& memory, std::vector<Ped>& peds);

// The ped whose lawman switch a greeting turned on for its waits, until it turns it off again
// (0 for none). The host may restart the script inside those waits, and the deleted run never
// turns it off itself: the next start does (switchOffLeftOn).
struct GreetingSwitch {
    Ped ped = 0;
};

// Every pass: the ped the player engages greets at once, then is held for 3000 ms once.
void targetedGreeting(GreetingMemory& memory, GreetingSwitch& heldOn);

// At a start: the switch a restarted run left on goes off.
void switchOffLeftOn(GreetingSwitch& heldOn);

// An object of the marshal badge's model lies within the radius of the attachment point.
bool marshalBadgeNear(float radius);

// The game plays the speech line for the ped.
void speakLine(Ped ped, const char* line);

bool isEngagedByPlayer(Ped ped);
