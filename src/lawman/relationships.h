#pragma once

// While a badge is worn the game treats the player as the law.

// Once a second: the player ped joins "REL_COP" (per-ped flag 64 on) and the relationship
// values between "REL_COP" and the other groups are set again.
void relationshipStep();

// Every pass: no bounty, no wanted level, no bounty hunters.
void playerDutyStep();
