#include "game/prompts.h"

#include "host/natives/hud.h"
#include "host/natives/misc.h"

void buildPrompt(Prompt& prompt, const char* controlName, const char* text, bool setPriority) {
    prompt = uiPromptRegisterBegin();
    uiPromptSetControlAction(prompt, getHashKey(controlName));
    const std::uint64_t gameText = varString(10, "LITERAL_STRING", text);
    uiPromptSetText(prompt, gameText);
    uiPromptSetStandardMode(prompt);
    if (setPriority) {
        uiPromptSetPriority(prompt, 0);
    }
    uiPromptRegisterEnd(prompt);
    uiPromptSetEnabled(prompt, true);
    uiPromptSetVisible(prompt, true);
}
