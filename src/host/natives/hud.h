#pragma once
#include "host/native_invoker.h"

inline bool uiPromptHasStandardModeCompleted(Prompt prompt) {
    return invokeNative<bool>(natives::UI_PROMPT_HAS_STANDARD_MODE_COMPLETED, prompt, 0);
}

// The enabled state, used as "the prompt exists": every prompt here is enabled when built,
// and a deleted or unknown handle answers 0.
inline bool uiPromptIsEnabled(Prompt prompt) {
    return invokeNative<bool>(natives::UI_PROMPT_IS_ENABLED, prompt);
}

inline Prompt uiPromptRegisterBegin() {
    return invokeNative<Prompt>(natives::UI_PROMPT_REGISTER_BEGIN);
}

inline void uiPromptSetControlAction(Prompt prompt, Hash action) {
    invokeNative(natives::UI_PROMPT_SET_CONTROL_ACTION, prompt, action);
}

// The text is a game text made by varString.
inline void uiPromptSetText(Prompt prompt, std::uint64_t text) {
    invokeNative(natives::UI_PROMPT_SET_TEXT, prompt, text);
}

// With `releaseMode` passed as 1: the press completes when the control is let go.
inline void uiPromptSetStandardMode(Prompt prompt) {
    invokeNative(natives::UI_PROMPT_SET_STANDARD_MODE, prompt, true);
}

inline void uiPromptRegisterEnd(Prompt prompt) {
    invokeNative(natives::UI_PROMPT_REGISTER_END, prompt);
}

inline void uiPromptSetEnabled(Prompt prompt, bool enabled) {
    invokeNative(natives::UI_PROMPT_SET_ENABLED, prompt, enabled);
}

inline void uiPromptSetVisible(Prompt prompt, bool visible) {
    invokeNative(natives::UI_PROMPT_SET_VISIBLE, prompt, visible);
}

// By value: the caller's handle variable keeps its old value.
inline void uiPromptDelete(Prompt prompt) {
    invokeNative(natives::UI_PROMPT_DELETE, prompt);
}

inline void uiPromptSetPriority(Prompt prompt, std::int32_t priority) {
    invokeNative(natives::UI_PROMPT_SET_PRIORITY, prompt, priority);
}
