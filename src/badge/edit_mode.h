#pragma once

// The badge edit mode: a key switches it, further held keys move and turn the worn badge.

// Asks for the toggle key's release; flips the mode and shows its message. Returns whether the
// edit steps run in this pass (edit mode on after the toggle).
bool editToggle(bool& editModeOn);

// The key checks (EDIT_STEPS), in order; every step that runs waits its own refresh time. Returns
// whether a step saved the data file (its flush to disk is still to come).
bool runEditSteps();
