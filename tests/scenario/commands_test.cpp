// A scenario line that does not read is answered with its verb's usage, as the verb's table
// writes it: the simulator's own verbs and the emulated host's alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "emulator/atlas.h"
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

TEST(Commands, AMalformedLineIsNamedWithWhatItsFormWantsThere) {
    EXPECT_EQ(failureOf("folder sideways"), "sideways is not readonly, locked or writable");
    EXPECT_EQ(failureOf("folder redonly"),
              "redonly is not readonly, locked or writable (did you mean readonly?)");
    EXPECT_EQ(failureOf("expect log once"), "TEXT is missing: a text");
    EXPECT_EQ(failureOf("player at office"),
              "N is missing: a law office, 1 to " + std::to_string(atlas::LAW_OFFICE_COUNT));
    EXPECT_EQ(failureOf("player at offce 2"),
              "offce is not a position, office, door or box (did you mean office?)");
    EXPECT_EQ(failureOf("clock step 0"), "a frame step of 0 would stop time");
    EXPECT_EQ(failureOf("ped set ann combat"), "on|off is missing");
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
              "unknown native SET_PLAYR_RESET_FLAG (did you mean SET_PLAYER_RESET_FLAG?)");
    EXPECT_EQ(failureOf("key down F5"), "F5 is not a key code: 1 to 254");
    EXPECT_EQ(failureOf("ped spawn ann A_F_M_VALTOWNFOLK_01 1 2 3 daed"),
              "unknown ped flag daed (did you mean dead?)");
    EXPECT_EQ(failureOf("ped spawn ann A_F_M_VALTOWNFOLK_01 1 2 3 heading=west"),
              "west is not a heading in degrees: a finite number (the ped flag heading=west)");
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
    EXPECT_EQ(failureOf("other program holds settings none"), "settings is not data or temporary");
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
    const std::string pastLast = std::to_string(std::size(atlas::DOOR_BOXES) + 1);
    EXPECT_EQ(
        failureOf("player at box " + pastLast),
        pastLast + " is not a door box: 1 to " + std::to_string(std::size(atlas::DOOR_BOXES)));
}

// The file, the line, the line again with a caret under the wrong word, and the usage.
TEST(Commands, AMalformedLineIsPointedAtWhereItStands) {
    const std::string printed = play("run 100\n\tdoor 0x119AC64B  state 7\n").failure;
    EXPECT_NE(printed.find("story.txt:2: 7 is not a door state: 0 to 4\n"
                           "    door 0x119AC64B  state 7\n"
                           "                           ^\n"
                           "    usage: door HASH state N, or door HASH closed on|off\n"),
              std::string::npos)
        << printed;
    EXPECT_NE(play("run 2000 ms\n")
                  .failure.find("story.txt:1: ms is not expected here\n"
                                "    run 2000 ms\n"
                                "             ^~\n"
                                "    usage: run MS\n"),
              std::string::npos);
    EXPECT_NE(play("nodta\n").failure.find("unknown command \"nodta\" (did you mean nodata?)\n"
                                           "    nodta\n"
                                           "    ^~~~~\n"),
              std::string::npos);
}

// Each was a fault: an uncaught exception, a run of 0 ms (natively) or an abort (under Wine),
// a run that never ended, a heading that reached a float-to-int conversion.
TEST(Commands, NumbersBeyondTheirTypeAreNamedErrors) {
    for (const char* rules : {"", "invariants on"}) {
        SCOPED_TRACE(rules);
        const auto failure = [&](const std::string& line) {
            return failureOf(std::vector<std::string>{rules, line});
        };
        EXPECT_EQ(failure("run 99999999999999999999"),
                  "99999999999999999999 is not a time in milliseconds: 0 to 4294967295");
        EXPECT_EQ(failure("run 4294967296"),
                  "4294967296 is not a time in milliseconds: 0 to 4294967295");
        EXPECT_EQ(failure("run 4294967295"),
                  "4294967295 ms is never reached in frames of 16 ms before the tick count comes "
                  "round: a run is at most 4294967280 ms");
    }
    // Frames of 1 ms reach every run; this one would take hours, so it is only read.
    EXPECT_EQ(failureOf(std::vector<std::string>{"clock step 1", "run 4294967296"}),
              "4294967296 is not a time in milliseconds: 0 to 4294967295");
    EXPECT_EQ(failureOf("player at 1 2 3 nan"), "nan is not a heading in degrees: a finite number");
    EXPECT_EQ(failureOf("player at 1 inf 3"),
              "inf is not a number: a position is X Y Z, three finite numbers");
    EXPECT_EQ(failureOf(std::vector<std::string>{"ped spawn ann A_M_M_VALTOWNFOLK_01 1 2 3",
                                                 "ped move ann 1 2 3 -inf"}),
              "-inf is not a heading in degrees: a finite number");
    EXPECT_EQ(failureOf("ped spawn ann A_M_M_VALTOWNFOLK_01 1 2 3 heading=1e39"),
              "1e39 is not a heading in degrees: a finite number (the ped flag heading=1e39)");
}

// Neither is an error (a story may mean it), but a slip would change nothing unseen.
TEST(Commands, ASettingOrModelNoListKnowsIsNotedWithTheNearestName) {
    const std::string printed =
        play(
            "ini MARSHAL_GREETING GREETING_FREQENCY 10\nini BADGE_ADJUSTNG RESET_KEY 8\n"
            "ini MARSHAL_GREETING MOVING_SPEED 5\nini badge_adjusting reset_key 8\n"
            "ped spawn joe U_M_M_ValSherif_01 1 2 3\nped spawn ann a_m_m_valtownfolk_01 1 2 3\n",
            false)
            .printed;
    EXPECT_NE(printed.find("note: the plug-in reads no key GREETING_FREQENCY in "
                           "[MARSHAL_GREETING] (did you mean GREETING_FREQUENCY?)"),
              std::string::npos)
        << printed;
    EXPECT_NE(printed.find("note: the plug-in reads no section [BADGE_ADJUSTNG] (did you mean "
                           "BADGE_ADJUSTING?)"),
              std::string::npos);
    EXPECT_NE(printed.find("note: the plug-in reads no key MOVING_SPEED in [MARSHAL_GREETING]; "
                           "it reads MOVING_SPEED in [BADGE_ADJUSTING]"),
              std::string::npos);
    EXPECT_NE(printed.find("note: no ped model the emulated game lists is U_M_M_ValSherif_01 "
                           "(did you mean U_M_M_ValSheriff_01"),
              std::string::npos);
    EXPECT_EQ(printed.find("reset_key"), printed.rfind("reset_key"));  // named once: its command
    EXPECT_EQ(printed.find("is a_m_m_valtownfolk_01"), std::string::npos);
    EXPECT_EQ(play("ini MARSHAL_GREETING GREETING_FREQENCY 10\n").failure, "");
}
