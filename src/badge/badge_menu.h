#pragma once
#include "host/native_invoker.h"

// The badge menu at the law offices: "Select Badge" and "REMOVE BADGE".

// The menu's prompt handles, kept by the menu script; 0 until made, and never reset after a
// delete.
struct MenuPrompts {
    Prompt selectBadge = 0;
    Prompt removeBadge = 0;
};

// The player stands on one of the law office spots.
bool atLawOffice();

// Offers the menu's prompts on an office spot, takes them away elsewhere.
void menuPromptUpkeep(MenuPrompts& prompts);

// Replaces the badge at the attachment point with the next model of the catalogue.
void cycleBadge();

// Takes every badge off and records that none is worn.
void removeBadge();
