#pragma once
#include "host/native_invoker.h"

// The badge menu at the law offices: "Select Badge" and "REMOVE BADGE".

extern Prompt selectBadgePrompt;
extern Prompt removeBadgePrompt;

// The player stands on one of the law office spots.
bool atLawOffice();

// Offers the menu's prompts on an office spot, takes them away elsewhere.
void menuPromptUpkeep();

// Replaces the badge at the attachment point with the next model of the catalogue.
void cycleBadge();

// Takes every badge off and records that none is worn.
void removeBadge();
