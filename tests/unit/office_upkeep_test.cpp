// The door spot tests of the door prompt upkeep and of the toggle: which doors they ask about,
// in which order, with which extents and flags. The game shows only some of their differences,
// so the calls themselves are checked here.
#include <bit>
#include <numeric>
#include <utility>
#include <vector>

#include "game/player_state.h"
#include "lawman/office_doors.h"
#include "lawman/office_upkeep.h"
#include "plugin_world_fixture.h"

namespace {

struct SpotTest {
    float x, y, z, ex, ey, ez;
    std::uint64_t highlight, do3d, transport;
};

float floatWord(std::uint64_t word) {
    return std::bit_cast<float>(static_cast<std::uint32_t>(word));
}

class OfficeUpkeep : public PluginWorldTest {
  protected:
    // The player's spot tests since the last forgetCalls, in order.
    std::vector<SpotTest> spotTests() const {
        std::vector<SpotTest> tests;
        const auto& records = emulator().trace.records();
        for (std::size_t i = firstRecord(); i < records.size(); ++i) {
            const TraceRecord& r = records[i];
            if (r.hash == natives::IS_ENTITY_AT_COORD) {
                tests.push_back({floatWord(r.args[1]), floatWord(r.args[2]), floatWord(r.args[3]),
                                 floatWord(r.args[4]), floatWord(r.args[5]), floatWord(r.args[6]),
                                 r.args[7], r.args[8], r.args[9]});
            }
        }
        return tests;
    }
};

TEST_F(OfficeUpkeep, ToggleTestsEveryDoorInItsOwnOrderWithItsExtentsAndNoFlags) {
    forgetCalls();
    Prompt lockPrompt = 0;
    doorToggle(lockPrompt);
    const std::vector<SpotTest> tests = spotTests();
    ASSERT_EQ(tests.size(), OFFICE_DOOR_COUNT);
    // Rows 12 and 13 (Strawberry's doors) swap places, the rest keep theirs; every row uses its
    // toggle extents and never the 3D flag.
    std::vector<std::size_t> order(OFFICE_DOOR_COUNT);
    std::iota(order.begin(), order.end(), 0);
    std::swap(order[11], order[12]);
    for (std::size_t i = 0; i < OFFICE_DOOR_COUNT; ++i) {
        const OfficeDoor& door = officeDoors[order[i]];
        EXPECT_EQ(tests[i].x, door.spot.x) << i;
        EXPECT_EQ(tests[i].y, door.spot.y) << i;
        EXPECT_EQ(tests[i].ez, door.toggleHalfSize.z) << i;
        EXPECT_EQ(tests[i].do3d, 0u) << i;
    }
    EXPECT_EQ(tests[3].ez, 10.0f);  // Valentine's 0x59EE1B8A: 1200 for the prompt
    // Off every spot the toggle changes nothing and leaves the prompt.
    EXPECT_EQ(calls(natives::DOOR_SYSTEM_SET_DOOR_STATE), 0);
    EXPECT_EQ(calls(natives::UI_PROMPT_DELETE), 0);
}

TEST_F(OfficeUpkeep, PromptUpkeepTestsDoorsInTableOrderAndStrawberrysIn3d) {
    forgetCalls();
    Prompt lockPrompt = 0;
    doorPromptUpkeep(lockPrompt);
    const std::vector<SpotTest> tests = spotTests();
    ASSERT_EQ(tests.size(), OFFICE_DOOR_COUNT);
    for (std::size_t row = 0; row < OFFICE_DOOR_COUNT; ++row) {
        const OfficeDoor& door = officeDoors[row];
        EXPECT_EQ(tests[row].x, door.spot.x) << row;
        EXPECT_EQ(tests[row].ez, door.promptHalfSize.z) << row;
        EXPECT_EQ(tests[row].highlight, 0u) << row;
        EXPECT_EQ(tests[row].do3d, row == 11 || row == 12 ? 1u : 0u) << row;
        EXPECT_EQ(tests[row].transport, 0u) << row;
    }
    EXPECT_EQ(tests[11].ez, 1.0f);
    EXPECT_EQ(tests[3].ez, 1200.0f);
    // Off every spot the prompt is deleted and no door is read.
    EXPECT_EQ(calls(natives::UI_PROMPT_DELETE), 1);
    EXPECT_EQ(calls(natives::DOOR_SYSTEM_GET_DOOR_STATE), 0);
}

TEST_F(OfficeUpkeep, BlipsAreMadeOnlyForRowsWhoseBlipIsGone) {
    OfficeBlips blips{};
    blipUpkeep(blips);
    const OfficeBlips first = blips;
    EXPECT_EQ(calls(natives::BLIP_ADD_FOR_COORDS), static_cast<long>(LAW_OFFICE_COUNT));
    forgetCalls();
    blipUpkeep(blips);
    EXPECT_EQ(calls(natives::BLIP_ADD_FOR_COORDS), 0);
    EXPECT_EQ(calls(natives::SET_BLIP_SPRITE), 0);
    EXPECT_TRUE(command("game removes blip 3"));
    blipUpkeep(blips);
    EXPECT_EQ(calls(natives::BLIP_ADD_FOR_COORDS), 1);
    EXPECT_EQ(calls(natives::SET_BLIP_SPRITE), 1);
    EXPECT_EQ(calls(natives::BLIP_ADD_MODIFIER), 1);
    EXPECT_NE(blips[2], first[2]);
    EXPECT_EQ(blips[1], first[1]);
}

}  // namespace
