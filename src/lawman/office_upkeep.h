#pragma once
#include <array>

#include "game/law_offices.h"
#include "host/native_invoker.h"

// The law offices' map blips and doors, kept up by the menu script.

// One sheriff blip per law office, in the offices' order; 0 until made.
using OfficeBlips = std::array<Blip, LAW_OFFICE_COUNT>;

// Once a second: the doors that must never stay locked (alwaysUnlockedDoors) are unlocked.
void forcedDoorUnlock();
// When the door prompt ("Lock"/"Unlock", whose handle the menu script keeps and which is never
// reset after a delete) was used: the door the player stands at is locked or unlocked.
void doorToggle(Prompt& lockPrompt);
// In the prompt block: the doors of setUpDoors registered with the door system.
void doorSetUp();
// In the prompt block: a blip the game removed is made again, with its sprite and modifier.
void blipUpkeep(OfficeBlips& officeBlips);
// In the prompt block, while a badge is worn: the door prompt at the door the player stands at.
void doorPromptUpkeep(Prompt& lockPrompt);
