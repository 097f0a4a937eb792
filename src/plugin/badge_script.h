#pragma once

// Script 1: puts the recorded badge back on, then keeps it on and serves the edit mode and the
// lawman pass. Returns only when the data file cannot be read.
void BadgeScript();
