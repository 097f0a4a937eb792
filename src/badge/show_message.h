#pragma once

// Shows a text on the game's screen for as long as the game shows objectives.
void showMessage(const char* text);
