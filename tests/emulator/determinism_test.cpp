#include <array>

#include "emulator/control_api.h"
#include "emulator_fixture.h"
#include "host/natives/entity.h"
#include "host/natives/hud.h"
#include "host/natives/misc.h"
#include "host/natives/object.h"
#include "host/natives/ped.h"
#include "host/natives/player.h"

namespace {

// Makes and removes a badge and a prompt, and scans for peds, on an irregular beat.
void badgeChurn() {
    for (;;) {
        const Ped ped = playerPedId();
        Object badge =
            createObject(getHashKey("s_badgeusmarshal01x"), getWorldPositionOfEntityBone(ped, 511));
        attachEntityToEntity(badge, ped, 511, {{0.1f, 0.2f, 0.3f}, {0.0f, 90.0f, 0.0f}});
        const Prompt prompt = uiPromptRegisterBegin();
        uiPromptSetText(prompt, varString(10, "LITERAL_STRING", "Select Badge"));
        uiPromptRegisterEnd(prompt);
        std::array<std::uint64_t, 4> slots{3};
        getPedNearbyPeds(ped, slots.data(), -1);
        scriptWait(static_cast<DWORD>(getGameTimer() % 70));
        deleteObject(&badge);
        uiPromptDelete(prompt);
        scriptWait(0);
    }
}

void watcher() {
    for (;;) {
        const Vector3 at = getEntityCoords(playerPedId(), {.alive = true, .realCoords = false});
        getDistanceBetweenCoords(at, {3.0f, 4.0f, 0.0f});
        scriptWait(100);
    }
}

struct Recording {
    std::vector<TraceRecord> trace;
    std::vector<std::string> timeline;
};

void collectTimeline(std::uint32_t gameTime, const char* text, void* run) {
    static_cast<Recording*>(run)->timeline.push_back(std::to_string(gameTime) + " " + text);
}

// Addresses (texts, buffers, game texts) differ between runs; everything else must not.
std::vector<TraceRecord> maskedRecords(const std::vector<TraceRecord>& records) {
    std::vector<TraceRecord> masked;
    for (const TraceRecord& record : records) {
        masked.push_back(withoutAddresses(record));
    }
    return masked;
}

Recording recordOnce() {
    resetEmulator();
    Recording run;
    emulator().trace.keepRecords(true);
    emulator().setTimelineSink(collectTimeline, &run);
    char reply[256];
    tswEmuControl("ped spawn a A_M_M_VALTOWNFOLK_01 4 0 0", reply, sizeof reply);
    tswEmuControl("ped spawn b A_M_M_VALTOWNFOLK_01 0 4 0", reply, sizeof reply);  // as close
    tswEmuControl("player at 1 2 3 45", reply, sizeof reply);
    scriptRegister(MODULE_A, badgeChurn);
    scriptRegister(MODULE_A, watcher);
    emulator().run(5'000);
    tswEmuControl("player at -4 2 3 180", reply, sizeof reply);
    emulator().run(5'000);
    EXPECT_FALSE(emulator().failed()) << emulator().failure();
    emulator().setTimelineSink(nullptr, nullptr);
    run.trace = maskedRecords(emulator().trace.records());
    return run;
}

}  // namespace

using DeterminismTest = EmulatorTest;

TEST_F(DeterminismTest, SameScriptsTwiceGiveTheSameTraceAndTimeline) {
    const Recording first = recordOnce();
    const Recording second = recordOnce();

    EXPECT_GT(first.trace.size(), 1000u);
    ASSERT_EQ(first.trace.size(), second.trace.size());
    for (std::size_t i = 0; i < first.trace.size(); ++i) {
        if (!(first.trace[i] == second.trace[i])) {
            ADD_FAILURE() << "record " << i << " differs:\n"
                          << formatTraceLine(first.trace[i]) << "\n"
                          << formatTraceLine(second.trace[i]);
            break;
        }
    }
    EXPECT_EQ(first.timeline, second.timeline);
}
