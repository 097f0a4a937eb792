#pragma once
#include "host/native_invoker.h"

// The law offices' map blips and doors, kept up by the menu script. Not built yet: the steps
// do nothing and there is no door prompt (its handle stays 0) until the lawman world arrives.

extern Prompt lockPrompt;

void forcedDoorUnlock();  // once a second
void doorToggle();        // when the door prompt was used
void doorSetUp();         // in the prompt block
void blipUpkeep();        // in the prompt block
void doorPromptUpkeep();  // in the prompt block, while a badge is worn
