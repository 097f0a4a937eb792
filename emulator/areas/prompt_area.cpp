// On-screen prompts: registration, their settings, and the player using one.
#include "emulator/areas/area_support.h"
#include "emulator/game_facts.h"

namespace {

struct PromptState {
    std::int32_t handle = 0;
    std::uint32_t instance = 0;  // the plug-in load that made it
    std::uint32_t control = 0;
    std::string text;
    bool registered = false;
    bool standardMode = false;
    bool releaseMode = false;
    bool enabled = false;
    bool visible = false;
    std::int32_t priority = 0;
    bool completionPending = false;
    std::uint64_t completedBefore = 0;  // with completions reported for frames: up to this frame

    bool shown() const { return registered && enabled && visible; }
};

struct PromptArea final : Area {
    std::map<std::int32_t, PromptState> prompts;
    std::int32_t nextHandle = 1;
    // 0: a completion is reported once; N: on every ask in the N frames after the use.
    std::uint32_t completionFrames = 0;

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    void facts(const Emulator& emu, GameFacts& facts) const override;
    // Every prompt is a script's; handles are not given out again.
    void buildAnew(World&, const NewHandles&) override { prompts.clear(); }
    // The prompts on screen.
    void report(const World&, JsonWriter& json) const override {
        json.key("prompts").beginArray();
        for (const auto& [handle, prompt] : prompts) {
            if (prompt.shown()) {
                json.value(prompt.text);
            }
        }
        json.endArray();
    }
};

std::map<std::int32_t, PromptState>& promptsOf(World& world) {
    return world.area<PromptArea>().prompts;
}

// The prompt a setter names; setting up a prompt that does not exist is a plug-in fault.
PromptState* promptArg(CallContext& call) {
    const auto handle = call.arg<std::int32_t>(0);
    auto& prompts = promptsOf(call.world());
    const auto it = prompts.find(handle);
    if (it == prompts.end()) {
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
    PromptArea& area = call.world().area<PromptArea>();
    for (const auto& [handle, prompt] : area.prompts) {
        if (!prompt.registered) {
            call.fail("prompt " + std::to_string(handle) + " is still being registered");
            return;
        }
    }
    PromptState prompt;
    prompt.handle = area.nextHandle++;
    prompt.instance = call.emulator().pluginInstance();
    area.prompts.emplace(prompt.handle, prompt);
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
    const auto& prompts = promptsOf(call.world());
    const auto it = prompts.find(call.arg<std::int32_t>(0));
    call.result(it != prompts.end() && it->second.enabled);
}

// A completion is reported once, or for the frames `prompt completes frames N` says.
void hasStandardModeCompleted(CallContext& call) {
    PromptArea& area = call.world().area<PromptArea>();
    const auto it = area.prompts.find(call.arg<std::int32_t>(0));
    if (it == area.prompts.end()) {
        return;
    }
    PromptState& prompt = it->second;
    if (area.completionFrames != 0) {
        call.result(prompt.completionPending &&
                    call.emulator().clock.frame < prompt.completedBefore);
        return;
    }
    call.result(prompt.completionPending);
    prompt.completionPending = false;
}

// By value, and harmless for a handle that is gone or was never made.
void deletePrompt(CallContext& call) {
    auto& prompts = promptsOf(call.world());
    const auto it = prompts.find(call.arg<std::int32_t>(0));
    if (it == prompts.end()) {
        return;
    }
    if (it->second.shown()) {
        call.event("prompt removed: \"" + it->second.text + "\"");
    }
    prompts.erase(it);
}

ControlReply usePrompt(Emulator& emu, const Args& args) {
    const std::string text = args.joined(0);
    PromptArea& area = emu.world.area<PromptArea>();
    for (auto& [handle, prompt] : area.prompts) {
        if (prompt.shown() && prompt.text == text) {
            prompt.completionPending = true;
            prompt.completedBefore = emu.clock.frame + area.completionFrames;
            emu.event("player uses the prompt \"" + text + "\"");
            return ok();
        }
    }
    return expectationFailed("a shown prompt \"" + text + "\" to use", "none");
}

// prompt completes once|frames N: how long the game reports a use.
ControlReply completesOnce(Emulator& emu, const Args&) {
    emu.world.area<PromptArea>().completionFrames = 0;
    return ok();
}

ControlReply completesForFrames(Emulator& emu, const Args& args) {
    emu.world.area<PromptArea>().completionFrames = args.whole<std::uint32_t>(0);
    return ok();
}

// The game takes every prompt with that label off the screen.
ControlReply gameRemovesPrompt(Emulator& emu, const Args& args) {
    const std::string text = args.joined(0);
    auto& prompts = promptsOf(emu.world);
    for (auto it = prompts.begin(); it != prompts.end();) {
        if (it->second.text == text) {
            emu.event("the game removes the prompt \"" + text + "\"");
            it = prompts.erase(it);
        } else {
            ++it;
        }
    }
    return ok();
}

// The player uses the prompt if it is shown, and nothing happens otherwise.
ControlReply tryPrompt(Emulator& emu, const Args& args) {
    const ControlReply used = usePrompt(emu, args);
    return used.code == TSW_EXPECTATION_FAILED ? ok() : used;
}

ControlReply expectPrompt(Emulator& emu, const Args& args) {
    const std::string text = args.joined(0);
    int shown = 0;
    for (const auto& [handle, prompt] : promptsOf(emu.world)) {
        shown += (prompt.shown() && prompt.text == text) ? 1 : 0;
    }
    const bool wantShown = args.is(1, "shown");
    if ((wantShown && shown == 1) || (!wantShown && shown == 0)) {
        return ok();
    }
    return expectationFailed("the prompt \"" + text + "\" " + (wantShown ? "shown once" : "absent"),
                             std::to_string(shown) + " shown");
}

constexpr Placeholder FRAMES = {
    "N", Takes::WHOLE, "a count of frames", 1, placeholders::UINT32_HIGH, "3"};

// clang-format off
constexpr Verb VERBS[] = {
    {"prompt use TEXT", usePrompt, DocTable::WORLD,
     "the player completes the shown prompt with that label (fails if none is shown)"},
    {"prompt try TEXT", tryPrompt, DocTable::WORLD,
     "the same, and nothing happens when no such prompt is shown"},
    {"prompt completes once", completesOnce, DocTable::OPTIONS,
     "a use of a prompt is reported once (the default)"},
    {"prompt completes frames N", completesForFrames, DocTable::OPTIONS,
     "a use is reported on every ask in the N frames after it", {&FRAMES}},
    {"game removes prompt TEXT", gameRemovesPrompt, DocTable::WORLD,
     "the game takes every prompt with that label off the screen"},
    {"expect prompt TEXT shown|absent", expectPrompt, DocTable::EXPECT,
     "the prompt with that label is shown (once) / not shown"},
};
// clang-format on

void PromptArea::registerNatives(NativeTable& table) {
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

std::span<const Verb> PromptArea::verbs() const {
    return VERBS;
}

// The running plug-in's prompts on screen: the door prompt, "Select Badge", "REMOVE BADGE".
void PromptArea::facts(const Emulator& emu, GameFacts& facts) const {
    facts.doorprompts = facts.select = facts.remove = 0;
    for (const auto& [handle, prompt] : prompts) {
        if (!prompt.shown() || prompt.instance != emu.pluginInstance()) {
            continue;
        }
        facts.doorprompts += (prompt.text == "Lock" || prompt.text == "Unlock") ? 1 : 0;
        facts.select += prompt.text == "Select Badge" ? 1 : 0;
        facts.remove += prompt.text == "REMOVE BADGE" ? 1 : 0;
    }
}

}  // namespace

void addPromptArea(World& world) {
    world.addArea<PromptArea>();
}
