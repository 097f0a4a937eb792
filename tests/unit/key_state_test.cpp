#include <gtest/gtest.h>

#include <tuple>

#include "emulator/emulator.h"
#include "host/host_api.h"
#include "host/key_state.h"

namespace {

constexpr DWORD KEY_E = 0x45;

auto fields(const KeyRecord& record) {
    return std::make_tuple(record.tick, record.altDown, record.previouslyDown, record.released);
}

}  // namespace

// The tick count is the emulated host's: set directly, or moved by running frames.
class KeyTable : public ::testing::Test {
  protected:
    void SetUp() override {
        resetEmulator();
        keyStateTable = {};
    }
    void TearDown() override { resetEmulator(); }

    static std::uint32_t& tick() { return emulator().clock.tickCount; }
    static void press(DWORD key) { onKeyboardMessage(key, 1, 0, FALSE, FALSE, FALSE, FALSE); }
    static void release(DWORD key) { onKeyboardMessage(key, 1, 0, FALSE, FALSE, TRUE, TRUE); }
    static bool allZero() {
        for (const KeyRecord& record : keyStateTable) {
            if (fields(record) != fields(KeyRecord{})) {
                return false;
            }
        }
        return true;
    }
};

TEST_F(KeyTable, CodesFrom255AreIgnoredAndNeverReported) {
    for (DWORD key : {255u, 256u, 0xFFFFFFFFu}) {
        press(key);
        EXPECT_FALSE(keyHeld(key)) << key;
        release(key);
        EXPECT_FALSE(keyReleased(key, false)) << key;
        EXPECT_FALSE(keyReleased(key, true)) << key;
    }
    EXPECT_TRUE(allZero());

    press(254);  // the last code with a record
    EXPECT_TRUE(keyHeld(254));
}

TEST_F(KeyTable, EachCodeWritesItsOwnRecordAndKeyZeroStaysAllZero) {
    for (DWORD key = 1; key < KEY_CODE_COUNT; ++key) {
        tick() = 1'000'000 + key;
        press(key);
    }

    for (DWORD key = 1; key < KEY_CODE_COUNT; ++key) {
        EXPECT_EQ(keyStateTable[key].tick, 1'000'000 + key);
    }
    EXPECT_EQ(fields(keyStateTable[0]), fields(KeyRecord{}));
    EXPECT_FALSE(keyHeld(0));
    EXPECT_FALSE(keyReleased(0, true));
}

// Right after the counter wraps (every 49.7 days), a zero tick is less than 5000 ms old: a
// record that no message wrote, or that a release consumed, must still not count.
TEST_F(KeyTable, RecordWithNoMessageIsNeverHeldNorReleasedEvenRightAfterTheWrap) {
    for (std::uint32_t now : {0u, 1u, 99u, 4999u, 5000u, 3'600'000u}) {
        tick() = now;
        EXPECT_FALSE(keyHeld(KEY_E)) << now;
        EXPECT_FALSE(keyReleased(KEY_E, false)) << now;
    }

    tick() = 0xFFFFFFF0u;
    release(KEY_E);
    tick() = 10;
    EXPECT_TRUE(keyReleased(KEY_E, true));  // consumed: all zero again
    EXPECT_FALSE(keyHeld(KEY_E));
    EXPECT_FALSE(keyReleased(KEY_E, false));
}

TEST_F(KeyTable, PressIsHeldUntil5000MsAfterItAndIsNoRelease) {
    press(KEY_E);
    tick() += 4999;
    EXPECT_TRUE(keyHeld(KEY_E));
    EXPECT_FALSE(keyReleased(KEY_E, false));

    tick() += 1;
    EXPECT_FALSE(keyHeld(KEY_E));
}

TEST_F(KeyTable, FurtherPressRenewsTheHeldWindow) {
    press(KEY_E);
    tick() += 4000;
    press(KEY_E);

    tick() += 4999;
    EXPECT_TRUE(keyHeld(KEY_E));
    tick() += 1;
    EXPECT_FALSE(keyHeld(KEY_E));
}

TEST_F(KeyTable, KeyHeldDownAtTheHostStaysHeldThroughItsAutoRepeat) {
    keyboardHandlerRegister(onKeyboardMessage);
    emulator().keyboard.press(KEY_E, tick());
    emulator().run(6000);
    EXPECT_TRUE(keyHeld(KEY_E));

    emulator().keyboard.release(KEY_E);
    EXPECT_FALSE(keyHeld(KEY_E));
    EXPECT_TRUE(keyReleased(KEY_E, false));

    emulator().keyboard.setAutoRepeat(false);
    emulator().keyboard.press(KEY_E, tick());
    emulator().run(6000);
    EXPECT_FALSE(keyHeld(KEY_E));
}

TEST_F(KeyTable, ReleaseEndsHeldAtOnceAndIsReportedOnEveryPollWithin100Ms) {
    press(KEY_E);
    tick() += 10;
    release(KEY_E);
    EXPECT_FALSE(keyHeld(KEY_E));

    EXPECT_TRUE(keyReleased(KEY_E, false));
    tick() += 99;
    EXPECT_TRUE(keyReleased(KEY_E, false));
    EXPECT_TRUE(keyReleased(KEY_E, false));

    tick() += 1;
    EXPECT_FALSE(keyReleased(KEY_E, false));
}

TEST_F(KeyTable, ConsumeReportsTheReleaseOnceAndForgetsIt) {
    release(KEY_E);
    tick() += 50;

    EXPECT_TRUE(keyReleased(KEY_E, true));
    EXPECT_FALSE(keyReleased(KEY_E, false));
    EXPECT_FALSE(keyReleased(KEY_E, true));
    EXPECT_EQ(fields(keyStateTable[KEY_E]), fields(KeyRecord{}));
}

TEST_F(KeyTable, ReleaseOlderThan100MsIsNeitherReportedNorCleared) {
    const std::uint32_t releasedAt = tick();
    release(KEY_E);
    tick() += 100;

    EXPECT_FALSE(keyReleased(KEY_E, true));
    EXPECT_EQ(fields(keyStateTable[KEY_E]), fields(KeyRecord{releasedAt, FALSE, TRUE, TRUE}));
}

// Arguments 5, 6 and 7 land in their own fields, and any non-zero seventh means a release.
TEST_F(KeyTable, MessageOverwritesTheWholeRecord) {
    const std::uint32_t first = tick();
    onKeyboardMessage(KEY_E, 3, 0x12, TRUE, 5, 6, 7);
    EXPECT_EQ(fields(keyStateTable[KEY_E]), fields(KeyRecord{first, 5, 6, 7}));
    EXPECT_FALSE(keyHeld(KEY_E));
    EXPECT_TRUE(keyReleased(KEY_E, false));

    tick() += 10;
    press(KEY_E);
    EXPECT_EQ(fields(keyStateTable[KEY_E]), fields(KeyRecord{first + 10, 0, 0, 0}));
    EXPECT_TRUE(keyHeld(KEY_E));
}

// The windows compare the time since the message: a press or release just before the wrap
// keeps its whole window across it.
TEST_F(KeyTable, WindowsSpanTheTickCountersWrap) {
    tick() = 0xFFFFF000u;
    press(KEY_E);
    EXPECT_TRUE(keyHeld(KEY_E));

    emulator().run(4096);  // 256 frames of 16 ms: the counter wraps to 0
    ASSERT_EQ(tick(), 0u);
    EXPECT_TRUE(keyHeld(KEY_E));
    tick() = 903;  // 4999 ms after the press
    EXPECT_TRUE(keyHeld(KEY_E));
    tick() = 904;
    EXPECT_FALSE(keyHeld(KEY_E));

    tick() = 0xFFFFFFD8u;
    release(KEY_E);
    EXPECT_TRUE(keyReleased(KEY_E, false));
    tick() = 59;  // 99 ms after the release
    EXPECT_TRUE(keyReleased(KEY_E, false));
    tick() = 60;
    EXPECT_FALSE(keyReleased(KEY_E, false));
}
