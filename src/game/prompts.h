#pragma once
#include "host/native_invoker.h"

// Registers a prompt for the control with the text, enabled and shown; the handle is stored in
// the prompt's variable as soon as the game hands it out. With setPriority the prompt's
// priority is set (to 0) right after its standard mode.
void buildPrompt(Prompt& prompt, const char* controlName, const char* text,
                 bool setPriority = false);
