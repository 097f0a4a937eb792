#pragma once

// Script 2: the badge menu at the law offices, the badge clothing item, blips and doors.
// Never returns.
void BadgeMenuScript();
