#pragma once
#include <array>

#include "game/law_offices.h"
#include "host/native_invoker.h"

// The law offices' map blips and doors, kept up by the menu script.

// The "Lock"/"Unlock" prompt at an office door; the handle is never reset after a delete.
extern Prompt lockPrompt;

// One sheriff blip per law office, in the offices' order; 0 until made.
using OfficeBlips = std::array<Blip, LAW_OFFICE_COUNT>;

// Once a second: the doors that must never stay locked (alwaysUnlockedDoors) are unlocked.
void forcedDoorUnlock();
// When the door prompt was used: the door the player stands at is locked or unlocked.
void doorToggle();
// In the prompt block: the doors of setUpDoors registered with the door system.
void doorSetUp();
// In the prompt block: a blip the game removed is made again, with its sprite and modifier.
void blipUpkeep(OfficeBlips& officeBlips);
// In the prompt block, while a badge is worn: the door prompt at the door the player stands at.
void doorPromptUpkeep();
