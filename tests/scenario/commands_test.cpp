// A scenario line that does not read is answered with its verb's usage, as the verb's table
// writes it: the simulator's own verbs and the emulated host's alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim/scenario_runner.h"
#include "tests/process_folder.h"

namespace {

std::string failureOf(const std::vector<std::string>& lines) {
    ScenarioOptions options;
    options.scenarioPath = "commands";
    options.pluginPath = TSW_PLUGIN;
    options.quiet = true;
    std::FILE* sink = std::tmpfile();
    const ScenarioOutcome outcome = playScenarioLines(options, lines, sink);
    std::fclose(sink);
    return outcome.failure;
}

std::string failureOf(const std::string& line) {
    return failureOf(std::vector<std::string>{line});
}

TEST(Commands, AMalformedLineIsAnsweredWithTheUsageOfItsVerb) {
    EXPECT_EQ(failureOf("folder sideways"),
              "usage: folder readonly, or folder locked, or folder writable");
    EXPECT_EQ(failureOf("expect log once"), "usage: expect log once TEXT");
    EXPECT_EQ(failureOf("player at office"),
              "bad command: usage: player at X Y Z [HEADING], or player at office N, or player "
              "at door HASH, or player at box N");
    EXPECT_EQ(failureOf("clock step 0"), "bad command: a frame step of 0 would stop time");
}

// The reason the scenario stopped and what it printed, for a story in files of its own.
struct Played {
    std::string failure;
    std::string printed;
};

Played play(const std::string& story, bool quiet = true) {
    const std::filesystem::path folder = processFolder("commands");
    std::filesystem::create_directories(folder / "setup");
    std::ofstream(folder / "story.txt") << story;
    ScenarioOptions options;
    options.scenarioPath = (folder / "story.txt").string();
    options.pluginPath = TSW_PLUGIN;
    options.quiet = quiet;
    std::FILE* out = std::tmpfile();
    const int result = runScenario(options, out);
    std::string printed(1 << 16, '\0');
    std::rewind(out);
    printed.resize(std::fread(printed.data(), 1, printed.size(), out));
    std::fclose(out);
    return {result == 0 ? "" : printed, printed};
}

void writeSetUp(const std::string& name, const std::string& text) {
    const std::filesystem::path setUp = processFolder("commands") / "setup";
    std::filesystem::create_directories(setUp);
    std::ofstream(setUp / name) << text;
}

}  // namespace

// Names are found through an index of their own: a removed ped's name is free again, and no
// longer names anything.
TEST(Commands, ARemovedPedsNameIsFreeAgain) {
    const std::string spawn = "ped spawn ann A_M_M_VALTOWNFOLK_01 -300 760 118";
    EXPECT_EQ(failureOf({spawn, spawn}), "bad command: a ped named ann exists already");
    EXPECT_EQ(failureOf({spawn, "ped remove ann", spawn, "ped move ann -301 760 118"}), "");
    const std::string unknown = failureOf("ped move ann -301 760 118");
    EXPECT_NE(unknown, "");
    EXPECT_EQ(failureOf({spawn, "ped remove ann", "ped move ann -301 760 118"}), unknown);
}

TEST(Commands, AWrongWordIsNamedWithTheNearestKnownOnes) {
    EXPECT_EQ(failureOf("expect tarce SET_PLAYER_RESET_FLAG"),
              "unknown command \"expect tarce\": no command has \"tarce\" after \"expect\" (did "
              "you mean expect trace?)");
    // The simulator's verbs and the host's are one language.
    EXPECT_EQ(failureOf("nodta"), "unknown command \"nodta\" (did you mean nodata?)");
    EXPECT_EQ(failureOf("expect trace SET_PLAYR_RESET_FLAG"),
              "bad command: unknown native SET_PLAYR_RESET_FLAG (did you mean "
              "SET_PLAYER_RESET_FLAG?)");
    EXPECT_EQ(failureOf("key down F5"),
              "bad command: bad number \"F5\" for VK; usage: key down|up VK");
    EXPECT_EQ(failureOf("ped spawn ann A_F_M_VALTOWNFOLK_01 1 2 3 daed"),
              "bad command: unknown ped flag daed (did you mean dead?)");
    EXPECT_EQ(failureOf("ped spawn ann A_F_M_VALTOWNFOLK_01 1 2 3 heading=west"),
              "bad command: bad value \"west\" in the ped flag heading=west");
    const std::string failure =
        play("ped spawn ann A_F_M_VALTOWNFOLK_01 1 2 3\nexpect switch anne on\n").failure;
    EXPECT_NE(failure.find("no ped named anne (did you mean ann?)"), std::string::npos) << failure;
}

// The plug-in reads its files when it loads: set up while it runs, they would be read by nobody.
TEST(Commands, TheFilesAreSetUpOnlyWhileNoPlugInRuns) {
    const std::string failure = play("load\nrun 100\nini BADGE_ADJUSTING RESET_KEY 8\n").failure;
    EXPECT_NE(failure.find("story.txt:3: \"ini\" sets up the game folder's files, which the "
                           "plug-in reads when it loads: use it before \"load\", or between "
                           "\"unload\" and \"load\""),
              std::string::npos)
        << failure;
    EXPECT_EQ(play("load\nrun 100\nunload\ndata badge=2\nnodata\nload\n").failure, "");
}

// Sharing modes are Windows': natively the scenario says where it can be played.
TEST(Commands, AFileHeldByAnotherProgramIsPlayedUnderWineOnly) {
    const std::string failure = failureOf("other program holds data none");
    EXPECT_NE(failure.find("is a Windows matter: play this with --wine"), std::string::npos)
        << failure;
    EXPECT_EQ(failureOf("other program holds settings none"),
              "usage: other program holds data|temporary SHARING");
    EXPECT_EQ(failureOf("other program lets go"), "");
}

TEST(Commands, CommandsThatAnswerShowTheirAnswer) {
    const std::string printed = play("run 100\ntime\nquery facts\n", false).printed;
    EXPECT_NE(printed.find("] answer: 112\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("] answer: time=112 loaded=0 "), std::string::npos) << printed;
}

// An included file runs where the include stands, and a failure in it names both places.
// A key no setting names cannot do anything in the plug-in: the timeline says so where it is
// pressed, and is silent about a key the settings name (hex or decimal alike).
TEST(Commands, AKeyNoSettingNamesIsNotedWhereItIsPressed) {
    const std::string note = "note: no key setting of TinStarWarden.ini is ";
    EXPECT_EQ(play("key down 96\nkey down 0x66\n", false).printed.find(note), std::string::npos);
    EXPECT_NE(play("key down 200\n", false).printed.find(note + "200, so the plug-in"),
              std::string::npos);
    EXPECT_NE(play("noini\nkey down 96\n", false).printed.find(note + "96"), std::string::npos);
    EXPECT_EQ(
        play("noini\nini BADGE_ADJUSTING RESET_KEY 96\nkey down 96\n", false).printed.find(note),
        std::string::npos);
}

TEST(Commands, AnIncludedFileRunsInPlaceAndAFailureNamesBothLines) {
    writeSetUp("badge.txt", "# a badge\ndata badge=2\ninclude more.txt\n");
    writeSetUp("more.txt", "data xxxxx=0.01\n\nexpect data badge 3\n");
    const std::string failure = play("nodata\ninclude setup/badge.txt\nload\n").failure;
    EXPECT_NE(failure.find("setup/more.txt:3 (included from " + processFolder("commands").string()),
              std::string::npos)
        << failure;
    EXPECT_NE(failure.find("setup/badge.txt:3, from "), std::string::npos) << failure;
    EXPECT_NE(failure.find("story.txt:2): expected badge=3 in the data file, found badge=2"),
              std::string::npos)
        << failure;
}

TEST(Commands, AFileThatIncludesItselfIsAnErrorNotALoop) {
    writeSetUp("loop.txt", "include ../story.txt\n");
    EXPECT_NE(play("include setup/loop.txt\n").failure.find("story.txt includes itself"),
              std::string::npos);
    EXPECT_NE(play("include setup/none.txt\n").failure.find("cannot read the included file"),
              std::string::npos);
}

// The atlas's places by what a writer reads in docs/reference.md: a door's hash, a box's number.
TEST(Commands, ThePlayerStandsAtADoorOrInADoorBoxByItsName) {
    EXPECT_EQ(play("player at door 0x62C9F23E\nexpect interior player 3\n"
                   "player at box 1\nexpect interior player 2\n")
                  .failure,
              "");
    EXPECT_EQ(failureOf("player at door 0x12345678"),
              "bad command: no office door 0x12345678 (docs/reference.md lists them)");
    EXPECT_EQ(failureOf("player at box 20"), "bad command: there are door boxes 1 to 19");
}
