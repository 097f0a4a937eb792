#pragma once

// Once a second while a badge is worn: the non-lawmen within 100 of the player are sorted by
// where they stand. Held at a law office (the player inside one too, or the ped in a door box
// whose doors are locked) they are made civilians; loose at an office they go free-for-all;
// away from the offices only those fighting the player go free-for-all.
void officeSweep();
