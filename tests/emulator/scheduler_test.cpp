#include <initializer_list>

#include "emulator/host_exports.h"
#include "emulator_fixture.h"
#include "host/natives/misc.h"

namespace {

std::uint32_t firstTick = 0;

// A script that notes its pass and yields for the rest of the frame, for ever.
template <const char* NAME>
void everyFrame() {
    for (;;) {
        note(NAME);
        scriptWait(0);
    }
}

constexpr char A1[] = "a1";
constexpr char A2[] = "a2";
constexpr char B1[] = "b1";

using Log = std::vector<std::string>;

}  // namespace

using SchedulerTest = EmulatorTest;

TEST_F(SchedulerTest, DueScriptsRunOncePerFrameInRegistrationOrder) {
    scriptRegister(MODULE_A, everyFrame<A1>);
    scriptRegister(MODULE_B, everyFrame<B1>);
    scriptRegister(MODULE_A, everyFrame<A2>);

    emu().runFrame();
    emu().runFrame();

    EXPECT_EQ(scriptLog, (Log{"a1@0", "b1@0", "a2@0", "a1@16", "b1@16", "a2@16"}));
}

TEST_F(SchedulerTest, FrameAdvancesGameTimeAndTickCountByTheStepAfterTheScriptsRan) {
    emu().clock.frameStep = 20;
    firstTick = emu().clock.tickCount;
    scriptRegister(MODULE_A, [] {
        for (;;) {
            note("timer " + std::to_string(getGameTimer()) + " tick +" +
                 std::to_string(tswEmulatorTickCount() - firstTick));
            scriptWait(0);
        }
    });

    emu().runFrame();
    emu().runFrame();

    EXPECT_EQ(scriptLog, (Log{"timer 0 tick +0@0", "timer 20 tick +20@20"}));
    EXPECT_EQ(emu().clock.gameTime, 40u);
    EXPECT_EQ(emu().clock.tickCount - firstTick, 40u);
}

// Each wait starts where the previous one resumed; 16 ms frames.
TEST_F(SchedulerTest, WaitResumesInTheFirstFrameAtLeastThatManyMsLater) {
    scriptRegister(MODULE_A, [] {
        for (DWORD ms : {0u, 1u, 16u, 17u, 100u}) {
            const std::int32_t before = getGameTimer();
            scriptWait(ms);
            note("wait " + std::to_string(ms) + " took " + std::to_string(getGameTimer() - before));
        }
    });

    ASSERT_TRUE(emu().run(1000)) << emu().failure();

    EXPECT_EQ(scriptLog, (Log{"wait 0 took 16@16", "wait 1 took 16@32", "wait 16 took 16@48",
                              "wait 17 took 32@80", "wait 100 took 112@192"}));
}

TEST_F(SchedulerTest, WaitAcrossTheTickCountsWrapStillWaitsItsFullLength) {
    emu().clock.tickCount = 0xFFFFFFA0u;  // the wait ends past the wrap, at 4
    scriptRegister(MODULE_A, [] {
        scriptWait(100);
        note("woke");
    });

    emu().run(200);

    EXPECT_EQ(scriptLog, (Log{"woke@112"}));  // the first frame 100 ms on
}

// The host wakes a script on GetTickCount: a paused game's timer stands still, its waits end.
TEST_F(SchedulerTest, WaitsEndOnTheTickCountWhileTheGameTimerStandsStill) {
    emu().clock.paused = true;
    firstTick = emu().clock.tickCount;
    scriptRegister(MODULE_A, [] {
        for (DWORD ms : {0u, 100u}) {
            scriptWait(ms);
            note("tick +" + std::to_string(tswEmulatorTickCount() - firstTick));
        }
    });

    EXPECT_TRUE(emu().run(200)) << emu().failure();

    EXPECT_EQ(scriptLog, (Log{"tick +16@0", "tick +128@0"}));
    EXPECT_EQ(emu().clock.gameTime, 0u);
    EXPECT_EQ(emu().clock.tickCount - firstTick, 208u);
}

TEST_F(SchedulerTest, ScriptThatReturnsEndsQuietlyAndOthersRunOn) {
    scriptRegister(MODULE_A, [] { note("once"); });
    scriptRegister(MODULE_A, [] {
        for (;;) {
            note("loop");
            scriptWait(50);
        }
    });

    EXPECT_TRUE(emu().run(100)) << emu().failure();

    EXPECT_EQ(scriptLog, (Log{"once@0", "loop@0", "loop@64"}));
}

TEST_F(SchedulerTest, UnregisterRemovesOnlyThatModulesScripts) {
    scriptRegister(MODULE_A, everyFrame<A1>);
    scriptRegister(MODULE_B, everyFrame<B1>);
    scriptRegister(MODULE_A, everyFrame<A2>);
    emu().runFrame();

    scriptUnregister(fakeModule(0xC000));  // a module with no scripts
    EXPECT_EQ(emu().scheduler.scriptCount(), 3u);
    scriptUnregister(MODULE_A);
    EXPECT_EQ(emu().scheduler.scriptCount(), 1u);

    scriptLog.clear();
    emu().runFrame();
    EXPECT_EQ(scriptLog, (Log{"b1@16"}));
}

TEST_F(SchedulerTest, WaitOutsideAScriptFailsLoudly) {
    scriptWait(0);

    EXPECT_EQ(emu().failure(), "scriptWait called outside a script");
}

namespace {

// Notes when it goes: a script's stack unwound would run it.
struct NotesItsEnd {
    ~NotesItsEnd() { note("unwound"); }
};

void waitsHoldingAnObject() {
    note("a starts");
    const NotesItsEnd held;
    scriptWait(1000);
    note("a woke");
}

}  // namespace

// The host's way at a save load: every fiber deleted where it waits (nothing on its stack runs
// or is unwound), every script started again at its entry, in registration order, the next
// frame; a script that had ended too.
TEST_F(SchedulerTest, RestartStartsEveryScriptAgainAtItsEntryWithoutUnwindingIt) {
    scriptRegister(MODULE_A, waitsHoldingAnObject);
    scriptRegister(MODULE_B, [] { note("b ran"); });
    emu().run(100);
    ASSERT_TRUE(emu().scheduler.scripts()[1]->fiber->finished());

    emu().restartScripts();
    emu().run(1100);

    // Only the second run's object is unwound, when that run returns.
    EXPECT_EQ(scriptLog, (Log{"a starts@0", "b ran@0", "a starts@112", "b ran@112", "a woke@1120",
                              "unwound@1120"}));
    EXPECT_EQ(emu().scriptRestarts(), 1u);
    EXPECT_FALSE(emu().failed()) << emu().failure();
}

TEST_F(SchedulerTest, RestartFromInsideAScriptFailsLoudly) {
    scriptRegister(MODULE_A, [] { emulator().restartScripts(); });
    emu().runFrame();

    EXPECT_EQ(emu().failure(), "the scripts can only be restarted between frames");
}
