#pragma once
#include "host/native_invoker.h"

// Registers a prompt for the control with the text, enabled and shown; the handle is stored in
// the prompt's variable as soon as the game hands it out.
void buildPrompt(Prompt& prompt, const char* controlName, const char* text);
