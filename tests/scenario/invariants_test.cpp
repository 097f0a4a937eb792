// The rules a chaos game is held to, fed facts frame by frame as the emulated game reports them.
#include "sim/invariants.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "emulator/atlas.h"

namespace {

// The data file as the simulator reads it back.
DataFileView file(std::map<std::string, std::string> entries) {
    std::string text;
    for (const auto& [key, value] : entries) {
        text += key + "=" + value + "\n";
    }
    return dataFileView(text);
}

// A running plug-in wearing nothing, all its blips on the map.
GameFacts running() {
    GameFacts facts;
    facts.loaded = true;
    facts.instance = 1;
    facts.control = true;
    facts.worn = -1;
    facts.group = "PLAYER";
    facts.blips = static_cast<std::uint32_t>(atlas::LAW_OFFICE_COUNT);
    return facts;
}

// A running plug-in as the checker sees it, frame by frame.
class Game {
  public:
    // One frame later, with these facts ("chest=1 worn=0") over a running plug-in wearing
    // nothing: the id of the rule that broke, if one did.
    std::optional<std::string> frame(const std::string& changes) {
        tick_ += 16;
        time_ += paused ? 0 : 16;
        GameFacts facts = running();
        facts.time = time_;
        facts.tick = tick_;
        facts.paused = paused;
        facts.passes = passes_;
        std::string error;
        EXPECT_TRUE(readFacts(changes, facts, error)) << error;
        auto broken = checker_.afterFrame(time_, facts);
        if (!broken) {
            return std::nullopt;
        }
        what_ = broken->what;
        return std::string(broken->id);
    }
    void pass() { ++passes_; }

    // Frames that pass a whole badge-script pass each, `ms` of game time in all.
    std::optional<std::string> passes(std::uint32_t ms, const std::string& facts) {
        for (std::uint32_t at = 0; at < ms; at += 16) {
            pass();
            if (auto broken = frame(facts)) {
                return broken;
            }
        }
        return std::nullopt;
    }

    // What broke the last rule that broke.
    const std::string& what() const { return what_; }

    InvariantChecker checker_;
    bool paused = false;  // the game timer stands still, the tick count runs on

  private:
    std::uint32_t tick_ = 0;
    std::uint32_t time_ = 0;
    std::uint64_t passes_ = 1;
    std::string what_;
};

TEST(Rules, OneBadgeAtMostAndTheRecordedOneBackSoonWhileControlIsOff) {
    Game game;
    game.checker_.onFilesChanged(file({{"badge", "3"}}));
    EXPECT_FALSE(game.frame("control=0"));  // the attachment check has not run yet
    EXPECT_FALSE(game.passes(16, "control=0"));
    EXPECT_EQ(game.passes(16, "control=0"), "recorded-badge-on");
    EXPECT_FALSE(game.passes(500, "control=0 chest=1 worn=3 group=REL_COP"));
    EXPECT_EQ(game.frame("control=0 chest=2 worn=3 group=REL_COP"), "one-badge");
}

TEST(Rules, TheBadgeWornIsTheOneTheDataFileRecords) {
    Game game;
    game.checker_.onFilesChanged(file({{"badge", "7"}}));
    EXPECT_FALSE(game.frame("chest=0 worn=-1"));
    EXPECT_EQ(game.frame("chest=1 worn=0"), "worn-is-recorded");
    game.checker_.onDataFileWritten(file({{"badge", "0"}}));
    EXPECT_FALSE(game.frame("chest=1 worn=0"));
}

// While the folder is locked no save can land; once it takes writes again the badge chosen
// must reach the file within 2 s of the tick count, a pause or not: a plug-in that never tries
// again, or tries on the game timer, breaks the rule then.
TEST(Rules, ABadgeChosenWhileLockedReachesTheFileWithinTwoSecondsOfTheUnlockPausedOrNot) {
    for (const bool paused : {false, true}) {
        for (const bool savedLate : {true, false}) {
            Game game;
            game.paused = paused;
            game.checker_.onFilesChanged(file({{"badge", "7"}}));
            game.checker_.onCommand("folder locked");
            EXPECT_FALSE(game.passes(60000, "chest=1 worn=0 control=0 group=REL_COP"));
            game.checker_.onCommand("folder writable");
            EXPECT_FALSE(game.passes(1900, "chest=1 worn=0 group=REL_COP"));
            if (savedLate) {
                game.checker_.onDataFileWritten(file({{"badge", "0"}}));
            }
            const auto broken = game.passes(2000, "chest=1 worn=0 group=REL_COP");
            EXPECT_EQ(broken.value_or(""), savedLate ? "" : "worn-is-recorded");
            EXPECT_EQ(game.what(), savedLate ? ""
                                             : "the player wears badge 0 but the data file "
                                               "records 7, 2 s after the disk took writes again");
        }
    }
}

// The unload tries a due save once more: one that finds the disk taking writes loses nothing,
// so a second badge on the player after the next start breaks the rules.
TEST(Rules, AnUnloadThatFindsTheDiskTakingWritesLosesNothing) {
    Game game;
    game.checker_.onFilesChanged(file({{"badge", "1"}}));
    game.checker_.onCommand("disk full");
    EXPECT_FALSE(game.frame("chest=1 worn=0"));
    game.checker_.onCommand("disk room");
    game.checker_.onCommand("unload");
    game.checker_.onCommand("load");
    EXPECT_EQ(game.frame("chest=2 worn=0 group=REL_COP"), "one-badge");
}

// A choice that could not be saved is gone with an unload: the file is the truth again only
// after the next save. Till then the next start may put the recorded badge on beside the one
// worn.
TEST(Rules, AnUnloadWhileTheFileLagsLosesTheChoiceUntilTheNextSave) {
    Game game;
    game.checker_.onFilesChanged(file({{"badge", "1"}}));
    game.checker_.onCommand("folder locked");
    EXPECT_FALSE(game.frame("chest=1 worn=0"));
    game.checker_.onCommand("unload");
    game.checker_.onCommand("folder writable");
    game.checker_.onCommand("load");
    EXPECT_FALSE(game.passes(20000, "chest=2 worn=0 group=REL_COP"));
    game.checker_.onDataFileWritten(file({{"badge", "1"}}));
    EXPECT_EQ(game.frame("chest=1 worn=0 group=REL_COP"), "worn-is-recorded");
    game.checker_.onDataFileWritten(file({{"badge", "0"}}));
    EXPECT_FALSE(game.frame("chest=1 worn=0 group=REL_COP"));
    EXPECT_EQ(game.frame("chest=2 worn=0 group=REL_COP"), "one-badge");
}

// The folder taking writes again, or a data file the story writes itself, changes nothing in
// the world: the badge worn beside the recorded one stays until the plug-in saves.
TEST(Rules, AChoiceLostWithAnUnloadStaysLostWhenTheFolderOrTheStoryChangesTheFiles) {
    Game game;
    game.checker_.onFilesChanged(file({{"badge", "3"}}));
    game.checker_.onCommand("folder locked");
    EXPECT_FALSE(game.passes(1000, "chest=1 worn=4 group=REL_COP"));
    game.checker_.onCommand("unload");
    EXPECT_FALSE(game.frame("loaded=0 chest=1 worn=4"));
    game.checker_.onCommand("load");
    EXPECT_FALSE(game.passes(3000, "instance=2 chest=2 worn=3 group=REL_COP"));
    game.checker_.onCommand("folder writable");
    game.checker_.onFilesChanged(file({{"badge", "3"}}));  // the simulator reads them again
    EXPECT_FALSE(game.passes(3000, "instance=2 chest=2 worn=3 group=REL_COP"));
    game.checker_.onDataFileWritten(file({{"badge", "3"}}));
    EXPECT_EQ(game.frame("instance=2 chest=2 worn=3 group=REL_COP"), "one-badge");
}

TEST(Rules, LawAfterASecondAndThreePassesAndAPlainPlayerTwoPassesAfter) {
    Game game;
    // A second worn (a frame is 16 ms and a pass here), then the pass under way may have read
    // the player where he stood before: the next whole pass decides.
    EXPECT_FALSE(game.passes(1024, "chest=1 worn=0 group=PLAYER"));
    EXPECT_FALSE(game.passes(32, "chest=1 worn=0 group=PLAYER"));
    EXPECT_EQ(game.passes(16, "chest=1 worn=0 group=PLAYER"), "law-on-duty");

    // Moving the player starts the wait again.
    game.checker_.onCommand("player at 1 2 3");
    EXPECT_FALSE(game.passes(1024, "chest=1 worn=0 group=PLAYER"));
    EXPECT_FALSE(game.passes(1000, "chest=1 worn=0 group=REL_COP"));
    // With the mission flag up the player is off duty two passes later.
    EXPECT_FALSE(game.passes(32, "chest=1 worn=0 mission=1 group=REL_COP"));
    EXPECT_EQ(game.passes(16, "chest=1 worn=0 mission=1 group=REL_COP"), "plain-off-duty");
}

TEST(Rules, NobodyGreetsTwiceUnlessAwayOrTheTablesStartedAfresh) {
    Game game;
    EXPECT_FALSE(game.frame("greeted=300:1:3.0"));
    EXPECT_EQ(game.frame("greeted=300:2:3.0"), "greets-once");

    Game away;
    EXPECT_FALSE(away.frame("greeted=300:1:3.0"));
    EXPECT_FALSE(away.frame("greeted=300:1:50.5"));
    EXPECT_FALSE(away.frame("greeted=300:2:3.0"));

    // The forgetting step runs before a greeting in the same frame: away now counts.
    Game leaving;
    EXPECT_FALSE(leaving.frame("greeted=300:1:3.0"));
    EXPECT_FALSE(leaving.frame("greeted=300:2:60.0"));

    Game reloaded;
    EXPECT_FALSE(reloaded.frame("greeted=300:1:3.0"));
    EXPECT_FALSE(reloaded.frame("instance=2 greeted=300:2:3.0"));

    // Restarted scripts start with empty tables too.
    Game restarted;
    EXPECT_FALSE(restarted.frame("greeted=300:1:3.0"));
    EXPECT_FALSE(restarted.frame("restarts=1 greeted=300:2:3.0"));
    EXPECT_EQ(restarted.frame("restarts=1 greeted=300:3:3.0"), "greets-once");
}

// After a restart the waits count the new run's passes: its start-up wait has none.
TEST(Rules, RestartedScriptsGetTheirWaitsAfresh) {
    Game game;
    EXPECT_FALSE(game.passes(1100, "chest=1 worn=0 group=REL_COP"));
    game.checker_.onCommand("host restarts scripts");
    EXPECT_FALSE(game.frame("restarts=1 chest=1 worn=0 group=REL_COP"));
    for (int frame = 0; frame < 100; ++frame) {  // 1.6 s without a pass, in the wrong group
        EXPECT_FALSE(game.frame("restarts=1 chest=1 worn=0 group=PLAYER")) << frame;
    }
    EXPECT_FALSE(game.passes(1024, "restarts=1 chest=1 worn=0 group=PLAYER"));
    EXPECT_FALSE(game.passes(32, "restarts=1 chest=1 worn=0 group=PLAYER"));
    EXPECT_EQ(game.passes(16, "restarts=1 chest=1 worn=0 group=PLAYER"), "law-on-duty");
}

// A model the game has not loaded costs the attachment check a pass per refused creation.
TEST(Rules, TheRecordedBadgeMayTakeAPassMoreForEachCreationTheGameWillRefuse) {
    Game game;
    game.checker_.onFilesChanged(file({{"badge", "1"}}));
    const std::string loading = "control=0 createfails=0,3";
    EXPECT_FALSE(game.passes(16 * 5, loading));
    EXPECT_EQ(game.passes(16, loading), "recorded-badge-on");

    // Another badge chosen: its wait begins again, from the next frame.
    game.checker_.onDataFileWritten(file({{"badge", "2"}}));
    EXPECT_FALSE(game.passes(16 * 3, "control=0 createfails="));
    EXPECT_EQ(game.passes(16, "control=0 createfails="), "recorded-badge-on");
}

TEST(Rules, ADataFileWriteKeepsEveryKeyAndEveryLineReads) {
    Game game;
    game.checker_.onFilesChanged(file({{"badge", "0"}, {"xxxxx", "0.01"}, {"mine", "x"}}));
    game.checker_.onDataFileWritten(file({{"badge", "1"}, {"xxxxx", "0.01"}, {"mine", "x"}}));
    EXPECT_FALSE(game.frame(""));
    game.checker_.onDataFileWritten(file({{"badge", "1"}, {"xxxxx", "0.01"}}));
    EXPECT_EQ(game.frame(""), "data-file-keeps-keys");

    Game garbled;
    garbled.checker_.onDataFileWritten(dataFileView("badge=1\na=b=c\n"));
    EXPECT_EQ(garbled.frame(""), "data-file-reads");
}

TEST(Rules, OnlyTheBadgeScriptMayEndAndOnlyWithoutADataFile) {
    Game game;
    EXPECT_EQ(game.frame("ended=BadgeMenuScript"), "menu-script-runs");

    Game withFile;
    withFile.checker_.onFilesChanged(file({{"badge", "0"}}));
    withFile.checker_.onCommand("load");
    EXPECT_EQ(withFile.frame("ended=BadgeScript"), "badge-script-runs");

    Game withoutFile;
    withoutFile.checker_.onFilesChanged(DataFileView{});
    withoutFile.checker_.onCommand("load");
    EXPECT_FALSE(withoutFile.frame("ended=BadgeScript"));
}

TEST(Rules, TheRunningPluginShowsEachPromptOnceAndABlipAnOffice) {
    Game game;
    EXPECT_FALSE(game.frame("select=1 remove=1 doorprompts=1"));
    EXPECT_EQ(game.frame("select=2"), "prompts-once");
    EXPECT_EQ(game.frame("doorprompts=2"), "prompts-once");
    EXPECT_EQ(game.frame("blips=" + std::to_string(atlas::LAW_OFFICE_COUNT + 1)),
              "blips-per-office");
}

// A second of game time after the game took a blip (or the scripts began anew) all of them are
// back; a player a second at an office is offered "REMOVE BADGE".
TEST(Rules, BlipsComeBackAndAnOfficeOffersItsPromptWithinASecond) {
    Game game;  // the wait begins in the frame after the command
    game.checker_.onCommand("game removes blip 3");
    const std::string oneGone = "blips=" + std::to_string(atlas::LAW_OFFICE_COUNT - 1);
    EXPECT_FALSE(game.passes(1024, oneGone));
    EXPECT_EQ(game.passes(16, oneGone), "blips-come-back");

    Game office;
    EXPECT_FALSE(office.passes(1008, "office=2 remove=0"));
    EXPECT_EQ(office.passes(16, "office=2 remove=0"), "remove-prompt-at-office");
    office.checker_.onCommand("game loads save");
    EXPECT_FALSE(office.passes(1024, "office=2 remove=0 restarts=1"));
    EXPECT_FALSE(office.passes(16, "office=2 remove=1 restarts=1"));
    EXPECT_EQ(office.passes(16, "office=2 remove=0 restarts=1"), "remove-prompt-at-office");
}

}  // namespace

namespace {

std::uint64_t testedFrames(const Game& game, std::string_view id) {
    for (std::size_t i = 0; i < rules().size(); ++i) {
        if (rules()[i].id == id) {
            return game.checker_.testedFrames()[i];
        }
    }
    ADD_FAILURE() << "no rule " << id;
    return 0;
}

// Shrinking keys on the id, and a break names it: two rules of one id would be one rule. The
// emulated host's own rule is among them.
TEST(RuleTable, EachIdOnceEachWithItsDoc) {
    std::set<std::string_view> ids;
    for (const Rule& rule : rules()) {
        EXPECT_TRUE(ids.insert(rule.id).second) << rule.id << " twice";
        EXPECT_NE(std::string_view(rule.doc), "") << rule.id;
    }
    EXPECT_EQ(ids.count(WELL_FORMED_CALLS), 1u);
}

// A rule counts a frame as a test only where it could have broken in it: a rule the chaos games
// never put to the test is one they cannot catch a fault of.
TEST(RuleTable, ARuleCountsTheFramesItCouldHaveBrokenIn) {
    Game game;
    EXPECT_FALSE(game.frame(""));
    EXPECT_FALSE(game.frame("chest=1 worn=0"));
    EXPECT_FALSE(game.frame("chest=1 worn=0 select=1"));
    EXPECT_EQ(testedFrames(game, "one-badge"), 2u);
    EXPECT_EQ(testedFrames(game, "prompts-once"), 1u);
    EXPECT_EQ(testedFrames(game, "greets-once"), 0u);
    EXPECT_EQ(testedFrames(game, "data-file-reads"), 0u);
    game.checker_.onDataFileWritten(file({{"badge", "0"}}));
    EXPECT_FALSE(game.frame("chest=1 worn=0"));
    EXPECT_FALSE(game.frame("chest=1 worn=0"));
    EXPECT_EQ(testedFrames(game, "data-file-reads"), 1u);
    // Unloaded, the rules of the running plug-in are not asked at all.
    EXPECT_FALSE(game.frame("loaded=0 chest=2"));
    EXPECT_EQ(testedFrames(game, "one-badge"), 4u);
}

}  // namespace
