#pragma once
// Shared by the emulator tests: a fresh emulated host per test, fake module handles, and a log
// that scripts (plain functions, so no captures) append to.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "emulator/emulator.h"
#include "host/host_api.h"
#include "host/natives/hud.h"
#include "host/natives/misc.h"

inline HINSTANCE fakeModule(std::uintptr_t id) {
    return reinterpret_cast<HINSTANCE>(id);
}

inline const HINSTANCE MODULE_A = fakeModule(0xA000);
inline const HINSTANCE MODULE_B = fakeModule(0xB000);

inline std::vector<std::string> scriptLog;

// "<what>@<game time>", so a test sees both the order and the frame of every step.
inline void note(const std::string& what) {
    scriptLog.push_back(what + "@" + std::to_string(emulator().clock.gameTime));
}

// A prompt registered as a plug-in does, on screen with that label.
inline Prompt shownPrompt(const char* label) {
    const Prompt prompt = uiPromptRegisterBegin();
    uiPromptSetControlAction(prompt, getHashKey("INPUT_CONTEXT_X"));
    uiPromptSetText(prompt, varString(10, "LITERAL_STRING", label));
    uiPromptSetEnabled(prompt, true);
    uiPromptSetVisible(prompt, true);
    uiPromptSetStandardMode(prompt);
    uiPromptRegisterEnd(prompt);
    return prompt;
}

class EmulatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetEmulator();
        emulator().trace.keepRecords(true);
        scriptLog.clear();
    }
    // Scripts left suspended are dropped with their emulator, before the next test's state.
    void TearDown() override { resetEmulator(); }

    static Emulator& emu() { return emulator(); }
};
