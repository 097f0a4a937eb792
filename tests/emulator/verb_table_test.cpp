// The verb table behind both command languages: which verb a command selects, the usage a
// malformed command is answered with, and the start-up check on the verbs' words.
#include <gtest/gtest.h>

#include "emulator/nearest_words.h"
#include "emulator/verb_table.h"

namespace {

struct Log {
    std::string ran;
};

ControlReply record(Log& log, const Words& words) {
    log.ran = words[0] + " " + std::to_string(words.size());
    return words.size() > 3 ? usage() : ok();
}

ControlReply recordSet(Log& log, const Words&) {
    log.ran = "set";
    return ok();
}

// clang-format off
constexpr VerbOf<Log> VERBS[] = {
    {"ped",     "ped NAME",                          record},
    {"ped set", "ped set NAME FLAG on|off\n"
                "ped set NAME FLAG=VALUE",           recordSet},
    {"door",    "door HASH state N\n"
                "door HASH closed on|off",           record},
};
// clang-format on

ControlReply runLine(const VerbTable<Log>& table, Log& log, const std::string& line) {
    const Words words = splitWords(line);
    const VerbOf<Log>* verb = table.find(words);
    return verb == nullptr ? badCommand("unknown") : runVerb(*verb, log, words);
}

TEST(VerbTable, TheVerbWithTheMostMatchingWordsRuns) {
    VerbTable<Log> table;
    table.add(VERBS);
    Log log;
    EXPECT_EQ(runLine(table, log, "ped set ann combat on").code, TSW_OK);
    EXPECT_EQ(log.ran, "set");
    EXPECT_EQ(runLine(table, log, "ped ann").code, TSW_OK);
    EXPECT_EQ(log.ran, "ped 2");
    EXPECT_EQ(runLine(table, log, "pedestrian ann").text, "unknown");
    EXPECT_EQ(runLine(table, log, "set ped").text, "unknown");
}

TEST(VerbTable, AMalformedCommandIsAnsweredWithTheUsageFromTheTable) {
    VerbTable<Log> table;
    table.add(VERBS);
    Log log;
    const ControlReply reply = runLine(table, log, "door 0x1 state 1 2");
    EXPECT_EQ(reply.code, TSW_BAD_COMMAND);
    EXPECT_EQ(reply.text, "usage: door HASH state N, or door HASH closed on|off");
    EXPECT_EQ(usageForms(VERBS[1].usage),
              (std::vector<std::string>{"ped set NAME FLAG on|off", "ped set NAME FLAG=VALUE"}));
}

// The word that is no number is named, from the form whose literal words the command has.
TEST(VerbTable, ABadNumberIsNamedWithItsPlaceInTheUsage) {
    VerbTable<Log> table;
    table.add(VERBS);
    Log log;
    EXPECT_EQ(runLine(table, log, "door 0x1g state 1 2").text,
              "bad number \"0x1g\" for HASH; usage: door HASH state N, or door HASH closed on|off");
    EXPECT_EQ(runLine(table, log, "door 7 state one 2").text,
              "bad number \"one\" for N; usage: door HASH state N, or door HASH closed on|off");
    // A word the usage names as a choice is no number to check.
    EXPECT_EQ(badNumber("door HASH closed on|off", splitWords("door 7 closed maybe")), "");
    EXPECT_EQ(badNumber("player at X Y Z [HEADING]\nplayer at office N",
                        splitWords("player at office two")),
              "bad number \"two\" for N; ");
    EXPECT_EQ(badNumber("player at X Y Z [HEADING]", splitWords("player at 1 2 3 west")),
              "bad number \"west\" for HEADING; ");
}

TEST(VerbTable, AnUnknownCommandNamesItsWrongWordAndTheNearestVerbs) {
    const std::vector<std::string> verbs = {"ped",          "ped set",        "ped move",    "door",
                                            "expect trace", "expect notrace", "expect badge"};
    EXPECT_EQ(unknownCommand(splitWords("pde ann"), verbs),
              "unknown command \"pde\" (did you mean ped?)");
    EXPECT_EQ(unknownCommand(splitWords("expect tarce X"), verbs),
              "unknown command \"expect tarce\": no command has \"tarce\" after \"expect\" (did "
              "you mean expect trace?)");
    EXPECT_EQ(unknownCommand(splitWords("expect"), verbs),
              "unknown command \"expect\": it needs more words");
    EXPECT_EQ(unknownCommand(splitWords("teleport 1 2 3"), verbs), "unknown command \"teleport\"");
}

TEST(NearestWords, SlipsOfCaseAndLettersFindTheWordMeant) {
    const std::vector<std::string> known = {"--trace", "--report", "--game-dir", "--seeds",
                                            "--seconds"};
    EXPECT_EQ(didYouMean("--reprot", known), " (did you mean --report?)");
    EXPECT_EQ(didYouMean("--REPORT", known), " (did you mean --report?)");
    EXPECT_EQ(nearestWords("--seed", known), (std::vector<std::string>{"--seeds"}));
    EXPECT_EQ(nearestWords("--secnods", known), (std::vector<std::string>{"--seconds", "--seeds"}));
    EXPECT_EQ(didYouMean("--verbose", known), "");
}

TEST(VerbTableDeathTest, TwoVerbsWithTheSameWordsStopTheStartNamingBoth) {
    // clang-format off
    constexpr VerbOf<Log> LATER[] = {
        {"ped  set", "ped set NAME MOOD", recordSet},
    };
    // clang-format on
    VerbTable<Log> table;
    table.add(VERBS);
    EXPECT_DEATH(table.add(LATER),
                 "two verbs take the words \"ped  set\": \"ped set NAME FLAG on\\|off\n"
                 "ped set NAME FLAG=VALUE\" and \"ped set NAME MOOD\"");
}

}  // namespace
