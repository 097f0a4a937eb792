// The log's account of the settings file: what a player wrote, what it reads as, what it does.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "host/key_names.h"
#include "persist/ini_reader.h"
#include "persist/profile_reader.h"
#include "persist/setting_rows.h"
#include "persist/settings_report.h"

namespace {

std::string fileText(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string shippedFile() {
    return fileText(TSW_SHIPPED_INI);
}

// The report of a file with these bytes, as the portable reader reads it.
SettingsReport fullReportOf(const std::string& bytes) {
    const auto sections = parseIniFile(bytes);
    RawSettings read{};
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        read[row] = profileInt(sections, SETTING_ROWS[row].section, SETTING_ROWS[row].key,
                               SETTING_ROWS[row].defaultValue);
    }
    return settingsReport(bytes, read);
}

std::vector<std::string> reportOf(const std::string& bytes) {
    return fullReportOf(bytes).lines;
}

// The report's line of a setting: after its heading, one a setting in the list's order.
std::size_t lineOf(SettingId id) {
    return 1 + rowOf(id);
}

// Whether the text holds the part; on failure, with the whole text.
testing::AssertionResult holds(const std::string& text, const std::string& part) {
    if (text.find(part) != std::string::npos) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "\"" << part << "\" not in\n" << text;
}

std::string joinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// The text with one line replaced, or taken out with an empty replacement.
std::string withLine(std::string text, const std::string& line, const std::string& replacement) {
    const auto at = text.find(line + "\r\n");
    EXPECT_NE(at, std::string::npos) << line;
    text.replace(at, line.size() + 2, replacement.empty() ? "" : replacement + "\r\n");
    return text;
}

// Each mistake in the player's words: the text, what it reads as, what that does, and the
// shipped value to go back to.
TEST(SettingsReport, SaysWhatEachMisreadValueReadsAsAndDoes) {
    std::string file = shippedFile();
    for (const auto& [line, wrong] : std::vector<std::pair<std::string, std::string>>{
             {"ENABLE_GREETING=1", "ENABLE_GREETING=yes"},
             {"GREETING_FREQUENCY=2", "GREETING_FREQUENCY=high"},
             {"MOVING_SPEED=100", "MOVING_SPEED=0.5"},
             {"GO_RIGHT_KEY=102", "GO_RIGHT_KEY=NUMPAD6"},
             {"GO_DOWN_KEY=34", "GO_DOWN_KEY=-5"},
             {"REFRESH_SPEED=1000", "REFRESH_SPEED=99999999999"},
             {"RESET_KEY=101", ""}}) {
        file = withLine(file, line, wrong);
    }
    const std::string log = joinedLines(reportOf(file));
    for (const char* expected : {
             "! line 8: ENABLE_GREETING=yes: not a whole number: reads as 0, so greetings are "
             "off; the shipped file has 1\n",
             "! line 10: GREETING_FREQUENCY=high: not a whole number: reads as 0, so greetings "
             "almost never come (a chance of 1 in 10001); the shipped file has 2\n",
             "! line 15: MOVING_SPEED=0.5: not a whole number: reads as 0, so the badge does not "
             "move; the shipped file has 100\n",
             "! line 33: GO_DOWN_KEY=-5: a negative number, not a key code from 1 to 254: this "
             "key does nothing; the shipped file has 34 (Page Down)\n",
             "! line 21: REFRESH_SPEED=99999999999: too large a number: reads as 1215752191, "
             "above its range of 0 to 100000: counts as 100000, so each step is followed by a "
             "pause of 1000 ms, the slowest it can; the shipped file has 1000\n",
             "! [BADGE_ADJUSTING] RESET_KEY is missing: reads as 0, so no key puts the badge back "
             "where it started; the shipped file has 101 (Numpad 5)\n",
         }) {
        EXPECT_TRUE(holds(log, expected));
    }
}

// What the player meant is what counts: a note after a number or a number in hexadecimal reads
// as written and is no finding, with the line quoted as the player spaced it.
TEST(SettingsReport, ANoteAfterANumberAndHexadecimalReadAsWritten) {
    std::string file = withLine(shippedFile(), "GO_RIGHT_KEY=102", "GO_RIGHT_KEY = 102 ; numpad 6");
    file = withLine(file, "GO_LEFT_KEY=100", "GO_LEFT_KEY=0x64");
    file = withLine(file, "ROTATE_UP_KEY=36", "ROTATE_UP_KEY=36abc");
    const SettingsReport report = fullReportOf(file);
    const std::string log = joinedLines(report.lines);
    EXPECT_TRUE(holds(log,
                      "\n  line 23: GO_RIGHT_KEY = 102 ; numpad 6: Numpad 6 moves the badge "
                      "right\n"));
    EXPECT_TRUE(holds(log, "\n  line 25: GO_LEFT_KEY=0x64: Numpad 4 moves the badge left\n"));
    EXPECT_TRUE(holds(log, "\n! line 37: ROTATE_UP_KEY=36abc: not a whole number: reads as 36"));
    EXPECT_EQ(report.needALook, 1u) << log;
}

// A negative speed counts as the top of its range, said so; a key written by its name gets its
// code, and the shipped key beside it.
TEST(SettingsReport, NegativeSpeedsAndKeyNamesInThePlayersWords) {
    std::string file = withLine(shippedFile(), "MOVING_SPEED=100", "MOVING_SPEED=-5");
    file = withLine(file, "GO_LEFT_KEY=100", "GO_LEFT_KEY=F5");
    file = withLine(file, "GO_RIGHT_KEY=102", "GO_RIGHT_KEY=NUMPAD6 ; the right one");
    const std::string log = joinedLines(reportOf(file));
    EXPECT_TRUE(holds(log,
                      "! line 15: MOVING_SPEED=-5: a negative number counts as the top of "
                      "its range, 10000, so the badge moves 0.1 units a step, the fastest "
                      "it can; the shipped file has 100\n"));
    EXPECT_TRUE(holds(log,
                      "! line 25: GO_LEFT_KEY=F5: a key's name, where its code belongs: "
                      "reads as 0, so no key moves the badge left; F5 is 116; the shipped "
                      "file has 100 (Numpad 4)\n"));
    // The shipped key by its name: its code is the shipped value, said once.
    EXPECT_TRUE(holds(log,
                      "! line 23: GO_RIGHT_KEY=NUMPAD6 ; the right one: a key's name, where "
                      "its code belongs: reads as 0, so no key moves the badge right; "
                      "Numpad 6 is 102\n"));
}

// The log's summary counts the lines to look at; a header misspelt is named before the
// settings it leaves missing, and every line to look at comes before those that read as
// written.
TEST(SettingsReport, CausesAndProblemsComeFirstAndAreCounted) {
    const std::string file = withLine(shippedFile(), "[BADGE_ADJUSTING]", "[BADGE_ADJUSTNG]");
    const SettingsReport report = fullReportOf(file);
    ASSERT_GE(report.lines.size(), 3u);
    EXPECT_EQ(report.lines[1],
              "! line 12: [BADGE_ADJUSTNG] is no section TinStarWarden reads, "
              "so nothing under it is read (did you mean [BADGE_ADJUSTING]?)");
    EXPECT_TRUE(holds(report.lines[2], "! [BADGE_ADJUSTING] MOVING_SPEED is missing"));
    bool asWritten = false;
    for (const std::string& line : report.lines) {
        asWritten = asWritten || line.starts_with("  ");
        EXPECT_FALSE(asWritten && line.starts_with("!")) << joinedLines(report.lines);
    }
    // The section line and the 17 settings under it.
    EXPECT_EQ(report.needALook, 18u);
    EXPECT_EQ(settingsSummary(report.needALook), "18 settings need a look: the lines marked !");
    EXPECT_EQ(settingsSummary(1), "1 setting needs a look: the lines marked !");
    EXPECT_EQ(settingsSummary(0), "all settings read as written");
}

// A file from before a setting came lacks it: missing, it reads as the shipped file has it,
// so it needs no look; one whose default differs does.
TEST(SettingsReport, AMissingSettingNeedsALookOnlyWhenItReadsOtherThanShipped) {
    std::string file = withLine(shippedFile(), "WRITE_LOG=0", "");
    file = withLine(file, "ENABLE_GREETING=1", "");
    EXPECT_EQ(fullReportOf(file).needALook, 0u);
    EXPECT_EQ(fullReportOf(withLine(file, "RESET_KEY=101", "")).needALook, 1u);
}

// The shipped file: one plain line a setting, no finding beyond them.
TEST(SettingsReport, TheShippedFileReadsAsItSaysWithNoFindings) {
    const SettingsReport report = fullReportOf(shippedFile());
    const std::vector<std::string>& lines = report.lines;
    EXPECT_EQ(report.needALook, 0u);
    ASSERT_EQ(lines.size(), 1 + SETTING_COUNT) << joinedLines(lines);
    EXPECT_EQ(lines[0],
              "settings read from TinStarWarden/TinStarWarden.ini: each as the file has it, "
              "what it reads as, and what that does:");
    EXPECT_EQ(lines[lineOf(SettingId::GREETING_FREQUENCY)],
              "  line 10: GREETING_FREQUENCY=2: greetings come with a chance of about 20 %");
    EXPECT_EQ(lines[lineOf(SettingId::MOVING_SPEED)],
              "  line 15: MOVING_SPEED=100: the badge moves 0.001 units a step");
    EXPECT_EQ(lines[lineOf(SettingId::ROTATING_SPEED)],
              "  line 18: ROTATING_SPEED=100: the badge turns 1 degree a step");
    EXPECT_EQ(lines[lineOf(SettingId::REFRESH_SPEED)],
              "  line 21: REFRESH_SPEED=1000: each step is followed by a pause of 10 ms");
    EXPECT_EQ(lines[lineOf(SettingId::RESET_KEY)],
              "  line 47: RESET_KEY=101: Numpad 5 puts the badge back where it started");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        EXPECT_EQ(line.find("reads as"), std::string::npos) << line;
        EXPECT_EQ(line.find("shipped"), std::string::npos) << line;
    }
}

TEST(SettingsReport, NoFileGivesEveryDefaultAndWhatItDoes) {
    const SettingsReport report = settingsReport(std::nullopt, RawSettings{1});
    const std::string log = joinedLines(report.lines);
    ASSERT_EQ(report.lines.size(), 1 + SETTING_COUNT);
    EXPECT_NE(report.lines[0].find("no settings file at TinStarWarden/TinStarWarden.ini"),
              std::string::npos);
    EXPECT_TRUE(holds(log,
                      "\n  [MARSHAL_GREETING] ENABLE_GREETING is missing: reads as 1, so "
                      "greetings are on\n"));
    EXPECT_TRUE(holds(log,
                      "\n! [BADGE_ADJUSTING] ENABLE_DISABLE_EDIT_KEY is missing: reads as 0, "
                      "so no key switches badge adjustment on and off; the shipped file has "
                      "96 (Numpad 0)\n"));
}

// A misspelt name is the usual cause of a dead setting: each gets a line with the name meant.
TEST(SettingsReport, NamesItDoesNotReadGetTheNearestKnownName) {
    const std::string log =
        joinedLines(reportOf("GO_UP_KEY=33\r\n"
                             "[MARSHAL_GREETING]\r\n"
                             "; a note\r\n"
                             "# another\r\n"
                             "ENABLE_GREETNG=0\r\n"
                             "WRITE_LOG=1\r\n"
                             "[badge_adjustng]\r\n"
                             "GO_RIGHT_KEY=102\r\n"
                             "[DIAGNOSTICS]\r\n"
                             "nonsense\r\n"));
    for (const char* expected : {
             "! line 1: \"GO_UP_KEY=33\" stands above the first section line and is not read: it "
             "belongs under [BADGE_ADJUSTING]\n",
             "! line 5: \"ENABLE_GREETNG=0\" is no setting TinStarWarden reads (did you mean "
             "ENABLE_GREETING?)\n",
             "! line 6: WRITE_LOG is no setting of [MARSHAL_GREETING] and is not read there: it "
             "belongs under [DIAGNOSTICS]\n",
             "! line 7: [badge_adjustng] is no section TinStarWarden reads, so nothing under it is "
             "read (did you mean [BADGE_ADJUSTING]?)\n",
             "! line 10: \"nonsense\" is no setting TinStarWarden reads\n",
             "! [BADGE_ADJUSTING] GO_RIGHT_KEY is missing",
         }) {
        EXPECT_TRUE(holds(log, expected));
    }
    EXPECT_EQ(log.find("a note"), std::string::npos) << log;
    EXPECT_EQ(log.find("another"), std::string::npos) << log;
}

// Unlike the data file, where the last of two lines wins, the first counts here: of two keys,
// and of two sections. Names match whatever their case, as the reader matches them.
TEST(SettingsReport, OfTwoEqualNamesTheFirstCounts) {
    const std::string log =
        joinedLines(reportOf("[BADGE_ADJUSTING]\r\nRESET_KEY=82\r\nreset_key=101\r\n[Badge_"
                             "Adjusting]\r\nGO_UP_KEY=33\r\n"));
    EXPECT_TRUE(holds(log, "  line 2: RESET_KEY=82: R puts the badge back where it started\n"));
    EXPECT_TRUE(holds(log,
                      "! line 3: reset_key again in [BADGE_ADJUSTING]: only the first, at line "
                      "2, counts\n"));
    EXPECT_TRUE(holds(log,
                      "! line 4: [Badge_Adjusting] again: only the first, at line 1, is read, "
                      "not this one\n"));
    EXPECT_TRUE(holds(log, "! [BADGE_ADJUSTING] GO_UP_KEY is missing"));
}

TEST(SettingsReport, OneKeyForTwoSettingsIsNamedOnce) {
    const std::string log =
        joinedLines(reportOf(withLine(shippedFile(), "GO_LEFT_KEY=100", "GO_LEFT_KEY=102")));
    EXPECT_TRUE(
        holds(log, "! Numpad 6 is the key of both GO_RIGHT_KEY and GO_LEFT_KEY: it does both\n"));
    EXPECT_EQ(log.find("is the key of both GO_LEFT_KEY"), std::string::npos) << log;
}

// Line numbers as an editor shows them, whatever the line ends.
TEST(SettingsReport, LinesAreCountedAsAnEditorCountsThem) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        const std::string e = end;
        const std::string log = joinedLines(
            reportOf("[MARSHAL_GREETING]" + e + e + "GREETING_FREQUENCY=10" + e + "X=1" + e));
        EXPECT_TRUE(holds(log, "  line 3: GREETING_FREQUENCY=10: greetings always come"));
        EXPECT_TRUE(holds(log, "! line 4: \"X=1\""));
    }
}

TEST(SettingsReport, EmptyValuesAndLinesWithoutEqualsReadAsTheDefault) {
    const std::string log =
        joinedLines(reportOf("[MARSHAL_GREETING]\nENABLE_GREETING=\nGREETING_FREQUENCY\n"));
    EXPECT_TRUE(holds(log, "! line 2: ENABLE_GREETING=: empty: reads as 1, so greetings are on\n"));
    EXPECT_TRUE(holds(log,
                      "! line 3: GREETING_FREQUENCY: no '=' on the line: reads as 0, so "
                      "greetings almost never come"));
}

TEST(SettingsReport, GreetingChanceFollowsTheThresholdAcrossItsWrap) {
    const auto chanceLine = [](const std::string& value) {
        for (const std::string& line :
             reportOf("[MARSHAL_GREETING]\nGREETING_FREQUENCY=" + value + "\n")) {
            if (line.find("GREETING_FREQUENCY=") != std::string::npos) {
                return line;
            }
        }
        return std::string();
    };
    EXPECT_NE(chanceLine("5").find("about 50 %"), std::string::npos);
    EXPECT_NE(chanceLine("11").find("always"), std::string::npos);
    // 4294967 x 1000 passes the largest signed number: the threshold is negative.
    EXPECT_NE(chanceLine("4294967").find("never come unasked"), std::string::npos);
}

// The key names the log and the read-me use; codes a layout names its own way stay numbers.
TEST(KeyNames, NameKeysAsTheKeyboardShowsThem) {
    EXPECT_EQ(keyName(96), "Numpad 0");
    EXPECT_EQ(keyName(105), "Numpad 9");
    EXPECT_EQ(keyName(33), "Page Up");
    EXPECT_EQ(keyName(48), "0");
    EXPECT_EQ(keyName(90), "Z");
    EXPECT_EQ(keyName(112), "F1");
    EXPECT_EQ(keyName(135), "F24");
    EXPECT_EQ(keyName(186), "key code 186");
    EXPECT_EQ(keyName(0x6C), "key code 108");
}

// The read-me's table of key codes ("Numpad + / Numpad -    107 / 109", "A to Z    65 to 90")
// names each code as the log does, and it names every shipped key the same way.
TEST(KeyNames, TheReadMeNamesKeysAsTheLogDoes) {
    const std::string readMe = fileText(TSW_README_SOURCE);
    const std::regex pair(R"((\S+(?: \S+)?) (to|/) (\S+(?: \S+)?) {2,}(\d+) (to|/) (\d+))");
    int pairs = 0;
    for (auto it = std::sregex_iterator(readMe.begin(), readMe.end(), pair);
         it != std::sregex_iterator(); ++it, ++pairs) {
        const std::smatch& m = *it;
        EXPECT_EQ(m[2], m[5]) << m[0];
        EXPECT_EQ(keyName(std::stoul(m[4])), m[1].str()) << m[0];
        EXPECT_EQ(keyName(std::stoul(m[6])), m[3].str()) << m[0];
    }
    EXPECT_EQ(pairs, 8);
    const auto section = readMe.find("ADJUSTING WHERE THE BADGE SITS");
    const std::string adjusting =
        readMe.substr(section, readMe.find("CHANGING KEYS", section) - section);
    for (const SettingRow& row : SETTING_ROWS) {
        if (row.does != nullptr) {
            EXPECT_TRUE(holds(adjusting, " " + keyName(row.shipped) + " "))
                << row.key << ": " << keyName(row.shipped);
        }
    }
}

// The read-me's table of the F keys and letters one by one ("F5 116", "Q 81"): every one, each
// code the one the log names so.
TEST(KeyNames, TheReadMesFKeysAndLettersHaveTheirCodes) {
    const std::string readMe = fileText(TSW_README_SOURCE);
    const auto start = readMe.find("The F keys and the letters one by one:");
    ASSERT_NE(start, std::string::npos);
    const std::string table = readMe.substr(start, readMe.find("Write the number", start) - start);
    const std::regex entry(R"(\b([A-Z]|F\d+) (\d+)\b)");
    int entries = 0;
    for (auto it = std::sregex_iterator(table.begin(), table.end(), entry);
         it != std::sregex_iterator(); ++it, ++entries) {
        EXPECT_EQ(keyName(std::stoul((*it)[2])), (*it)[1].str()) << (*it)[0];
    }
    EXPECT_EQ(entries, 12 + 26);
}

TEST(ProfileText, TellsAPlainNumberFromWhatReadsAsAnother) {
    EXPECT_EQ(profileTextForm("102"), ProfileText::Number);
    EXPECT_EQ(profileTextForm("+7"), ProfileText::Number);
    EXPECT_EQ(profileTextForm("\"68\""), ProfileText::Number);
    EXPECT_EQ(profileTextForm("4294967295"), ProfileText::Number);
    EXPECT_EQ(profileTextForm("0004294967295"), ProfileText::Number);
    EXPECT_EQ(profileTextForm("-0"), ProfileText::Number);
    EXPECT_EQ(profileTextForm("4294967296"), ProfileText::TooLarge);
    EXPECT_EQ(profileTextForm("-1"), ProfileText::Negative);
    EXPECT_EQ(profileTextForm("0x41"), ProfileText::NotWhole);
    EXPECT_EQ(profileTextForm("-"), ProfileText::NotWhole);
    EXPECT_EQ(profileTextForm("1 2"), ProfileText::NotWhole);
    EXPECT_EQ(profileTextForm(""), ProfileText::Empty);
    EXPECT_EQ(profileTextForm("\"\""), ProfileText::Empty);
}

// The note lines right above the setting's line in the file, as one text.
std::string noteAbove(const std::string& file, const char* key) {
    const auto setting = file.find("\r\n" + std::string(key) + "=");
    if (setting == std::string::npos) {
        return {};
    }
    std::size_t noteStart = setting;
    while (noteStart > 0 && file.compare(file.rfind("\r\n", noteStart - 1) + 2, 2, "; ") == 0) {
        noteStart = file.rfind("\r\n", noteStart - 1);
    }
    std::string note = file.substr(noteStart, setting - noteStart);
    for (auto at = note.find("\r\n; "); at != std::string::npos; at = note.find("\r\n; ")) {
        note.replace(at, 4, " ");
    }
    return note;
}

// The shipped file's notes say what the log says a key does, and name the shipped key, and
// give the range a value is held to; the plug-in's table holds the values the file ships with.
TEST(ShippedSettings, NotesAndValuesAgreeWithTheSettingsTable) {
    const std::string file = shippedFile();
    const auto sections = parseIniFile(file);
    for (const SettingRow& row : SETTING_ROWS) {
        EXPECT_EQ(profileInt(sections, row.section, row.key, -1), row.shipped) << row.key;
        const std::string note = noteAbove(file, row.key);
        ASSERT_FALSE(note.empty()) << row.key << " has no note above it";
        if (row.highest != NO_RANGE) {
            const std::string top = std::to_string(row.highest);
            EXPECT_TRUE(holds(note, "From 0 to " + top + " "));
            EXPECT_TRUE(holds(note, "a larger or negative value counts as " + top + "."));
        } else {
            EXPECT_EQ(note.find("From 0 to"), std::string::npos) << row.key << ": " << note;
        }
        if (row.does != nullptr) {
            EXPECT_TRUE(holds(note, std::string("The key that ") + row.does))
                << row.key << ": " << note;
            EXPECT_TRUE(holds(note, ": " + keyName(row.shipped))) << row.key << ": " << note;
        }
    }
}

}  // namespace
