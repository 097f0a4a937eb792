#include "lawman/lawman_steps.h"

void closestPedGreeting() {}
void relationshipStep() {}
void officeSweep() {}
void lawmanSwitchSweep() {}
void playerDutyStep() {}
void targetedGreeting() {}
