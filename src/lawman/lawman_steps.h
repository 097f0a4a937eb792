#pragma once

// The steps of the lawman pass, run by the badge script while a badge is worn. Not built yet:
// each does nothing until the lawman world (relationships, office order, greetings) arrives.

// Once a second.
void closestPedGreeting();
void relationshipStep();
void officeSweep();

// Every lawman pass.
void lawmanSwitchSweep();
void playerDutyStep();
void targetedGreeting();
