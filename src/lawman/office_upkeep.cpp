#include "lawman/office_upkeep.h"

Prompt lockPrompt = 0;

void forcedDoorUnlock() {}
void doorToggle() {}
void doorSetUp() {}
void blipUpkeep() {}
void doorPromptUpkeep() {}
