// The verb table behind both command languages: a form's usage is its parser. Which form a
// command selects, the typed values its handler is given, the named mistake (with the word it
// points at) for a command that does not read, and the start-up checks on the table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/nearest_words.h"
#include "emulator/verb_placeholders.h"
#include "emulator/verb_table.h"

namespace {

// What the last handler was given, as text.
struct Log {
    std::string ran;
};

ControlReply record(Log& log, const Args& args) {
    log.ran = args.form().usage;
    return ok();
}

ControlReply recordDoor(Log& log, const Args& args) {
    log.ran = std::to_string(args.whole<std::uint32_t>(0)) + " state " +
              std::to_string(args.whole<int>(1));
    return ok();
}

ControlReply recordPlace(Log& log, const Args& args) {
    const Vec3 at = args.position(0);
    log.ran = std::to_string(static_cast<int>(at.x + at.y + at.z)) +
              (args.given(1) ? " facing " + std::to_string(static_cast<int>(args.number(1))) : "");
    return ok();
}

ControlReply recordPrompt(Log& log, const Args& args) {
    log.ran =
        "[" + args.text(0) + "] [" + args.joined(0) + "] " + (args.is(1, "shown") ? "+" : "-");
    return ok();
}

ControlReply recordBadge(Log& log, const Args& args) {
    log.ran = args.word(0) + (args.given(1) ? " offset" : "") + (args.given(2) ? " rotation" : "");
    return ok();
}

ControlReply recordNames(Log& log, const Args& args) {
    for (const std::string& name : args.words(0)) {
        log.ran += name + ";";
    }
    return ok();
}

ControlReply readChoiceAsNumber(Log&, const Args& args) {
    return ok(std::to_string(args.whole(0)));
}

constexpr Placeholder FLAG = {"FLAG", Takes::WORD, "a ped flag", 0, 0, "combat"};
constexpr Placeholder DOOR_STATE = {"N", Takes::WHOLE, "a door state", 0, 4, "1"};
constexpr Placeholder OFFICE = {"N", Takes::WHOLE, "a law office", 1, 8, "2"};
constexpr Placeholder ANGLES = {"X Y Z", Takes::POSITION, "an offset or a rotation"};

// clang-format off
constexpr VerbOf<Log> VERBS[] = {
    {"ped NAME", record, DocTable::WORLD, "a ped"},
    {"ped set NAME FLAG on|off", record, DocTable::WORLD, "a flag", {&FLAG}},
    {"door HASH state N", recordDoor, DocTable::OFFICES, "a door's state, {N}", {&DOOR_STATE}},
    {"door HASH closed on|off", record, DocTable::OFFICES, "a door closed or open"},
    {"run MS", record, DocTable::TIME, "time"},
    {"player at X Y Z [HEADING]", recordPlace, DocTable::WORLD, "a place"},
    {"player at office N", record, DocTable::WORLD, "an office, {N}", {&OFFICE}},
    {"player at door HASH", record, DocTable::WORLD, "a door"},
    {"expect prompt TEXT shown|absent", recordPrompt, DocTable::EXPECT, "a prompt"},
    {"expect badge MODEL|none [offset X Y Z] [rotation X Y Z]", recordBadge, DocTable::EXPECT,
     "a badge", {&ANGLES}},
    {"scripts NAME...", recordNames, DocTable::TIME, "names"},
    {"key down|up", readChoiceAsNumber, DocTable::TIME, "a key"},
};
// clang-format on

class VerbTableTest : public ::testing::Test {
  protected:
    VerbTableTest() : table(placeholders::SHARED) { table.add(VERBS); }

    ControlReply run(const std::string& line) {
        log.ran.clear();
        return table.run(log, Command(line));
    }

    VerbTable<Log> table;
    Log log;
};

TEST_F(VerbTableTest, TheFormWithTheMostLeadingWordsThatReadsRuns) {
    EXPECT_EQ(run("ped set ann combat on").code, TSW_OK);
    EXPECT_EQ(log.ran, "ped set NAME FLAG on|off");
    EXPECT_EQ(run("ped ann").code, TSW_OK);
    EXPECT_EQ(log.ran, "ped NAME");
    EXPECT_EQ(run("player at office 3").code, TSW_OK);
    EXPECT_EQ(log.ran, "player at office N");
    EXPECT_EQ(run("pde ann").text, "unknown command \"pde\" (did you mean ped?)");
}

TEST_F(VerbTableTest, AHandlerIsGivenTypedValues) {
    ASSERT_EQ(run("door 0x1FE862E6 state 4").code, TSW_OK);
    EXPECT_EQ(log.ran, "535323366 state 4");
    ASSERT_EQ(run("player at 1.5 -2 3e1").code, TSW_OK);
    EXPECT_EQ(log.ran, "29");
    ASSERT_EQ(run("player at 1 2 3 -90.5").code, TSW_OK);
    EXPECT_EQ(log.ran, "6 facing -90");
    ASSERT_EQ(run("scripts Badge  Menu").code, TSW_OK);
    EXPECT_EQ(log.ran, "Badge;Menu;");
}

// A text takes what the rest of the form leaves: "shown" ends it, spaces inside are kept.
TEST_F(VerbTableTest, ATextTakesTheWordsTheRestOfTheFormLeaves) {
    ASSERT_EQ(run("expect prompt \"Select  Badge\" shown").code, TSW_OK);
    EXPECT_EQ(log.ran, "[\"Select  Badge\"] [Select Badge] +");
    ASSERT_EQ(run("expect prompt shown absent").code, TSW_OK);
    EXPECT_EQ(log.ran, "[shown] [shown] -");
    EXPECT_EQ(run("expect prompt absent").text, "TEXT is missing: a text");
}

TEST_F(VerbTableTest, AnOptionalGroupIsThereWhenItsWordIsWritten) {
    ASSERT_EQ(run("expect badge none").code, TSW_OK);
    EXPECT_EQ(log.ran, "none");
    ASSERT_EQ(run("expect badge s_badge rotation 1 2 3").code, TSW_OK);
    EXPECT_EQ(log.ran, "s_badge rotation");
    ASSERT_EQ(run("expect badge s_badge offset 1 2 3 rotation 1 2 3").code, TSW_OK);
    EXPECT_EQ(log.ran, "s_badge offset rotation");
    EXPECT_EQ(run("expect badge s_badge rotation 1 2 3 offset 1 2 3").text,
              "offset is not expected here");
    EXPECT_EQ(run("expect badge s_badge offset 1 two 3").text,
              "two is not a number: an offset or a rotation is X Y Z, three finite numbers");
}

// The cases: a count out of its list's range, a word too many, one too few.
TEST_F(VerbTableTest, AMistakeIsNamedAndPointedAtWithTheUsage) {
    const ControlReply state = run("door 0x1FE862E6 state 7");
    EXPECT_EQ(state.code, TSW_MALFORMED_COMMAND);
    EXPECT_EQ(state.text, "7 is not a door state: 0 to 4");
    EXPECT_EQ(state.detail,
              "    door 0x1FE862E6 state 7\n"
              "                          ^\n"
              "    usage: door HASH state N, or door HASH closed on|off");
    const ControlReply extra = run("run 2000 ms");
    EXPECT_EQ(extra.text, "ms is not expected here");
    EXPECT_EQ(extra.detail, "    run 2000 ms\n             ^~\n    usage: run MS");
    const ControlReply missing = run("door 1 state");
    EXPECT_EQ(missing.text, "N is missing: a door state, 0 to 4");
    EXPECT_EQ(missing.detail,
              "    door 1 state\n"
              "                 ^\n"
              "    usage: door HASH state N, or door HASH closed on|off");
    EXPECT_EQ(run("door 1 stat on").text, "stat is not state or closed (did you mean state?)");
    EXPECT_EQ(run("ped set ann combat maybe").text, "maybe is not on or off");
}

// Where forms fail at the same word, the message says what each wanted there.
TEST_F(VerbTableTest, FormsThatFailAtTheSameWordAreNamedTogether) {
    EXPECT_EQ(run("player at offce 2").text,
              "offce is not a position, office or door (did you mean office?)");
    EXPECT_EQ(run("player at office 9").text, "9 is not a law office: 1 to 8");
    EXPECT_EQ(run("player at").text, "a position, office or door is missing");
}

// Today's faults: an overflow that threw, a number past 32 bits read as 0, not-a-number.
TEST_F(VerbTableTest, ANumberIsCheckedAgainstItsType) {
    EXPECT_EQ(run("run 99999999999999999999").text,
              "99999999999999999999 is not a time in milliseconds: 0 to 4294967295");
    EXPECT_EQ(run("run 4294967296").text,
              "4294967296 is not a time in milliseconds: 0 to 4294967295");
    EXPECT_EQ(run("run -1").text, "-1 is not a time in milliseconds: 0 to 4294967295");
    EXPECT_EQ(run("run 0x1g").text, "0x1g is not a time in milliseconds: 0 to 4294967295");
    EXPECT_EQ(run("run 0xFFFFFFFF").code, TSW_OK);
    EXPECT_EQ(run("run 010").code, TSW_OK);  // decimal, not octal
    for (const char* number : {"nan", "inf", "-infinity", "1e39"}) {
        EXPECT_EQ(run(std::string("player at 1 2 3 ") + number).text,
                  std::string(number) + " is not a heading in degrees: a finite number");
    }
}

TEST_F(VerbTableTest, ADocsRangeComesFromItsPlaceholder) {
    EXPECT_EQ(expandedDoc(table.form(2), VERBS[2].doc), "a door's state, 0 to 4");
    EXPECT_EQ(usageLine(table.form(6), VERBS[6]), "world\tplayer at office N\tan office, 1 to 8\n");
    EXPECT_EQ(table.verbWords(),
              (std::vector<std::string>{"ped", "ped set", "door", "run", "player at",
                                        "player at office", "player at door", "expect prompt",
                                        "expect badge", "scripts", "key"}));
}

TEST(VerbTable, AnUnknownCommandNamesItsWrongWordAndTheNearestVerbs) {
    const std::vector<std::string> verbs = {"ped",          "ped set",        "ped move",    "door",
                                            "expect trace", "expect notrace", "expect badge"};
    EXPECT_EQ(unknownCommand(splitWords("pde ann"), verbs),
              "unknown command \"pde\" (did you mean ped?)");
    EXPECT_EQ(unknownCommand(splitWords("expect tarce X"), verbs),
              "unknown command \"expect tarce\": no command has \"tarce\" after \"expect\" (did "
              "you mean expect trace?)");
    EXPECT_EQ(unknownWord(splitWords("expect tarce X"), verbs), 1u);
    EXPECT_EQ(unknownCommand(splitWords("expect"), verbs),
              "unknown command \"expect\": it needs more words");
    EXPECT_EQ(unknownWord(splitWords("expect"), verbs), 1u);
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

// A table is written once and read at every start: a mistake in it stops the first test.
TEST(VerbTableDeathTest, AMistakeInTheTableStopsTheStart) {
    // clang-format off
    constexpr VerbOf<Log> TWICE[] = {{"ped  NAME", record, DocTable::WORLD, "again"}};
    constexpr VerbOf<Log> UNDECLARED[] = {{"ped spawn NAME MOOD", record, DocTable::WORLD, "?"}};
    constexpr VerbOf<Log> UNDOCUMENTED[] = {{"ped remove NAME", record, DocTable::WORLD, ""}};
    constexpr VerbOf<Log> UNCLOSED[] = {{"ped move NAME [X Y Z", record, DocTable::WORLD, "?"}};
    // clang-format on
    VerbTable<Log> table(placeholders::SHARED);
    table.add(VERBS);
    EXPECT_DEATH(table.add(TWICE), "the form \"ped  NAME\" stands twice");
    EXPECT_DEATH(table.add(UNDECLARED), "names MOOD, which no placeholder declares");
    EXPECT_DEATH(table.add(UNDOCUMENTED), "the form \"ped remove NAME\" has no doc");
    EXPECT_DEATH(table.add(UNCLOSED), "leaves a group open");
}

// A handler that reads a value as what it is not stops, naming its form: the test that plays
// every form finds it.
TEST(VerbTableDeathTest, AValueReadAsWhatItIsNotStopsNamingTheForm) {
    VerbTable<Log> table(placeholders::SHARED);
    table.add(VERBS);
    Log log;
    EXPECT_DEATH(table.run(log, Command("key down")),
                 "verb \"key down\\|up\": value 0 read as a whole number, but the word down");
}

}  // namespace
