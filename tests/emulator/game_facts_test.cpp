// The facts the rules read, as they cross the control interface: every type's text reads back
// as it was written, and a word the list does not know is refused, not read as 0.
#include <gtest/gtest.h>

#include <string>

#include "emulator/control_api.h"
#include "emulator/game_facts.h"
#include "emulator_fixture.h"

namespace {

GameFacts someOfEach() {
    GameFacts facts;
    facts.time = 4294967295u;
    facts.loaded = true;
    facts.ended = {"BadgeScript", "BadgeMenuScript"};
    facts.passes = 12345678901234ull;
    facts.worn = -1;
    facts.createfails = {0, 3, 1};
    facts.group = "REL_COP";
    facts.greeted = {{300, 2, 3.5f}, {-7, 1, 50.0000038f}};
    facts.blips = 8;
    return facts;
}

TEST(GameFacts, EveryTypeReadsBackAsWritten) {
    const GameFacts written = someOfEach();
    const std::string text = factsText(written);
    GameFacts read;
    std::string error;
    ASSERT_TRUE(readFacts(text, read, error)) << error << "\n" << text;
    EXPECT_EQ(factsText(read), text);
    EXPECT_EQ(read.time, 4294967295u);
    EXPECT_EQ(read.ended, written.ended);
    EXPECT_EQ(read.passes, written.passes);
    EXPECT_EQ(read.worn, -1);
    EXPECT_EQ(read.createfails, written.createfails);
    ASSERT_EQ(read.greeted.size(), 2u);
    EXPECT_EQ(read.greeted[1].ped, -7);
    EXPECT_EQ(read.greeted[1].distance, 50.0000038f);
    // Empty lists are empty words.
    GameFacts none;
    EXPECT_NE(factsText(none).find(" ended= "), std::string::npos);
    ASSERT_TRUE(readFacts(factsText(none), read, error)) << error;
    EXPECT_TRUE(read.ended.empty());
    EXPECT_TRUE(read.greeted.empty());
}

TEST(GameFacts, AWordOfNoFactOrAValueOfAnotherTypeIsRefused) {
    const std::pair<const char*, const char*> refused[] = {
        {"chest=2 colour=red", "\"colour=red\" names no fact"},
        {"chest", "\"chest\" names no fact"},
        {"loaded=yes", "\"loaded=yes\" does not read as its fact"},
        {"worn=1.5", "\"worn=1.5\" does not read as its fact"},
        {"passes=-1", "\"passes=-1\" does not read as its fact"},
        {"time=4294967296", "\"time=4294967296\" does not read as its fact"},
        {"greeted=300:1", "\"greeted=300:1\" does not read as its fact"},
        {"createfails=0,,1", "\"createfails=0,,1\" does not read as its fact"},
    };
    for (const auto& [words, reason] : refused) {
        GameFacts facts;
        std::string error;
        EXPECT_FALSE(readFacts(words, facts, error)) << words;
        EXPECT_EQ(error, reason);
    }
}

using GameFactsAnswer = EmulatorTest;

// The simulator reads `query facts` as the game answers it, before any plug-in is loaded too.
TEST_F(GameFactsAnswer, ReadsAsTheSimulatorReadsIt) {
    char reply[4096];
    ASSERT_EQ(tswEmuControl("query facts", reply, sizeof reply), TSW_OK);
    GameFacts facts;
    std::string error;
    EXPECT_TRUE(readFacts(reply, facts, error)) << error << "\n" << reply;
    EXPECT_FALSE(facts.loaded);
    EXPECT_EQ(facts.worn, -1);
    EXPECT_EQ(facts.group, "PLAYER");
}

}  // namespace
