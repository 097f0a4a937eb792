#include "emulator/natives/areas.h"

namespace {

// The prompt a setter names; setting up a prompt that does not exist is a plug-in fault.
PromptState* promptArg(CallContext& call) {
    const auto handle = call.arg<std::int32_t>(0);
    const auto it = call.world().prompts.find(handle);
    if (it == call.world().prompts.end()) {
        call.fail("prompt " + std::to_string(handle) + " does not exist");
        return nullptr;
    }
    return &it->second;
}

// Applies a change and tells the timeline when the prompt comes into view.
template <typename Change>
void changePrompt(CallContext& call, Change change) {
    PromptState* prompt = promptArg(call);
    if (prompt == nullptr) {
        return;
    }
    const bool wasShown = prompt->shown();
    change(*prompt);
    if (!wasShown && prompt->shown()) {
        call.event("prompt shown: \"" + prompt->text + "\"");
    }
}

void registerBegin(CallContext& call) {
    World& world = call.world();
    for (const auto& [handle, prompt] : world.prompts) {
        if (!prompt.registered) {
            call.fail("prompt " + std::to_string(handle) + " is still being registered");
            return;
        }
    }
    PromptState prompt;
    prompt.handle = world.nextPromptHandle++;
    world.prompts.emplace(prompt.handle, prompt);
    call.result(prompt.handle);
}

void setControlAction(CallContext& call) {
    const auto control = call.arg<std::uint32_t>(1);
    changePrompt(call, [&](PromptState& prompt) { prompt.control = control; });
}

void setText(CallContext& call) {
    const std::string* text = call.world().gameText(call.arg<std::uint64_t>(1));
    if (text == nullptr) {
        call.fail("the text is not one the game made (VAR_STRING)");
        return;
    }
    changePrompt(call, [&](PromptState& prompt) { prompt.text = *text; });
}

void setStandardMode(CallContext& call) {
    const bool releaseMode = call.arg<bool>(1);
    changePrompt(call, [&](PromptState& prompt) {
        prompt.standardMode = true;
        prompt.releaseMode = releaseMode;
    });
}

void registerEnd(CallContext& call) {
    changePrompt(call, [](PromptState& prompt) { prompt.registered = true; });
}

void setEnabled(CallContext& call) {
    const bool enabled = call.arg<bool>(1);
    changePrompt(call, [&](PromptState& prompt) { prompt.enabled = enabled; });
}

void setVisible(CallContext& call) {
    const bool visible = call.arg<bool>(1);
    changePrompt(call, [&](PromptState& prompt) { prompt.visible = visible; });
}

void setPriority(CallContext& call) {
    const auto priority = call.arg<std::int32_t>(1);
    changePrompt(call, [&](PromptState& prompt) { prompt.priority = priority; });
}

// A deleted or unknown handle is simply not enabled.
void isEnabled(CallContext& call) {
    const auto& prompts = call.world().prompts;
    const auto it = prompts.find(call.arg<std::int32_t>(0));
    call.result(it != prompts.end() && it->second.enabled);
}

// A completion is reported once.
void hasStandardModeCompleted(CallContext& call) {
    auto& prompts = call.world().prompts;
    const auto it = prompts.find(call.arg<std::int32_t>(0));
    const bool completed = it != prompts.end() && it->second.completionPending;
    if (completed) {
        it->second.completionPending = false;
    }
    call.result(completed);
}

// By value, and harmless for a handle that is gone or was never made.
void deletePrompt(CallContext& call) {
    auto& prompts = call.world().prompts;
    const auto it = prompts.find(call.arg<std::int32_t>(0));
    if (it == prompts.end()) {
        return;
    }
    if (it->second.shown()) {
        call.event("prompt removed: \"" + it->second.text + "\"");
    }
    prompts.erase(it);
}

}  // namespace

void registerPromptNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::UI_PROMPT_REGISTER_BEGIN,              "",   registerBegin},
        {natives::UI_PROMPT_SET_CONTROL_ACTION,          "ii", setControlAction},
        {natives::UI_PROMPT_SET_TEXT,                    "ip", setText},
        {natives::UI_PROMPT_SET_STANDARD_MODE,           "ib", setStandardMode},
        {natives::UI_PROMPT_REGISTER_END,                "i",  registerEnd},
        {natives::UI_PROMPT_SET_ENABLED,                 "ib", setEnabled},
        {natives::UI_PROMPT_SET_VISIBLE,                 "ib", setVisible},
        {natives::UI_PROMPT_SET_PRIORITY,                "ii", setPriority},
        {natives::UI_PROMPT_IS_ENABLED,                  "i",  isEnabled},
        {natives::UI_PROMPT_HAS_STANDARD_MODE_COMPLETED, "ii", hasStandardModeCompleted},
        {natives::UI_PROMPT_DELETE,                      "i",  deletePrompt},
    });
    // clang-format on
}
