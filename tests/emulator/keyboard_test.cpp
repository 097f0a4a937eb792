#include "emulator/host_exports.h"
#include "emulator_fixture.h"

namespace {

constexpr DWORD KEY_E = 0x45;

std::uint32_t pressTick = 0;
std::vector<std::string> messages;  // "key repeats scan extended alt wasDown isUp +ms"
std::size_t otherHandlerCalls = 0;
bool deliveredDuringAScript = false;

void recordMessage(DWORD key, WORD repeats, BYTE scanCode, BOOL isExtended, BOOL isWithAlt,
                   BOOL wasDownBefore, BOOL isUpNow) {
    deliveredDuringAScript |= emulator().scheduler.running() != nullptr;
    messages.push_back(std::to_string(key) + " " + std::to_string(repeats) + " " +
                       std::to_string(scanCode) + " " + std::to_string(isExtended) + " " +
                       std::to_string(isWithAlt) + " " + std::to_string(wasDownBefore) + " " +
                       std::to_string(isUpNow) + " +" +
                       std::to_string(tswEmulatorTickCount() - pressTick));
}

void otherHandler(DWORD, WORD, BYTE, BOOL, BOOL, BOOL, BOOL) {
    ++otherHandlerCalls;
}

using Messages = std::vector<std::string>;

}  // namespace

class KeyboardTest : public EmulatorTest {
  protected:
    void SetUp() override {
        EmulatorTest::SetUp();
        messages.clear();
        otherHandlerCalls = 0;
        deliveredDuringAScript = false;
        pressTick = emu().clock.tickCount;
        keyboardHandlerRegister(recordMessage);
    }

    void press(DWORD key) { emu().keyboard.press(key, emu().clock.tickCount); }
};

TEST_F(KeyboardTest, PressAndReleaseCarryAllSevenArguments) {
    press(KEY_E);
    emu().run(100);
    emu().keyboard.release(KEY_E);

    EXPECT_EQ(messages, (Messages{"69 1 0 0 0 0 0 +0", "69 1 0 0 0 1 1 +112"}));
}

TEST_F(KeyboardTest, HeldKeyRepeatsAfter500MsThenEvery33Ms) {
    emu().clock.frameStep = 1;
    press(KEY_E);
    emu().run(600);
    emu().keyboard.release(KEY_E);
    emu().run(200);

    EXPECT_EQ(messages,
              (Messages{"69 1 0 0 0 0 0 +0", "69 1 0 0 0 1 0 +500", "69 1 0 0 0 1 0 +533",
                        "69 1 0 0 0 1 0 +566", "69 1 0 0 0 1 0 +599", "69 1 0 0 0 1 1 +600"}));
}

// The repeat due at +500 arrives before the frame's scripts run, not during one.
TEST_F(KeyboardTest, MessagesArriveBetweenFramesBeforeTheScriptsRun) {
    scriptRegister(MODULE_A, [] {
        for (;;) {
            note(std::to_string(messages.size()) + " messages at +" +
                 std::to_string(tswEmulatorTickCount() - pressTick));
            scriptWait(0);
        }
    });
    press(KEY_E);
    emu().run(528);

    ASSERT_GE(scriptLog.size(), 2u);
    EXPECT_EQ(scriptLog[scriptLog.size() - 2], "1 messages at +496@496");
    EXPECT_EQ(scriptLog.back(), "2 messages at +512@512");
    EXPECT_FALSE(deliveredDuringAScript);
}

TEST_F(KeyboardTest, UnregisteredHandlerGetsNothingWhileOthersStillDo) {
    keyboardHandlerRegister(otherHandler);
    keyboardHandlerUnregister(recordMessage);

    press(KEY_E);
    emu().keyboard.release(KEY_E);

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(otherHandlerCalls, 2u);
}
