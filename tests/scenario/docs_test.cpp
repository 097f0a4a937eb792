// docs/scenarios.md is the scenario language's manual: its command tables are what the verbs'
// declarations make, and every ped flag must be in it. docs/emulated_game.md gives every native's
// reading, one row each; docs/reference.md is the reference tables as the code makes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/control.h"
#include "sim/command_docs.h"
#include "sim/reference_tables.h"
#include "sim/scenario_text.h"
#include "sim/sim_verbs.h"

namespace {

std::string fileText(const char* path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The manual's text with the table cells' escaped bars read as bars.
std::string manual() {
    std::string plain = fileText(TSW_SCENARIO_DOCS);
    for (std::size_t at = plain.find("\\|"); at != std::string::npos; at = plain.find("\\|", at)) {
        plain.erase(at, 1);
    }
    return plain;
}

// The first line where the two texts differ, with its number; empty where they are the same.
std::string firstDifference(const std::string& written, const std::string& made) {
    const std::vector<std::string> a = linesOf(written);
    const std::vector<std::string> b = linesOf(made);
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string left = i < a.size() ? a[i] : "(none)";
        const std::string right = i < b.size() ? b[i] : "(none)";
        if (left != right) {
            return "line " + std::to_string(i + 1) + " reads\n  " + left +
                   "\nbut the tables make\n  " + right;
        }
    }
    return written == made ? "" : "the line ends differ";
}

// The command tables are made from the verbs' declarations; the file must be what they make.
TEST(ScenarioDocs, CommandTablesAreWhatTheVerbTablesMakeNow) {
    const std::string docs = fileText(TSW_SCENARIO_DOCS);
    ASSERT_FALSE(docs.empty()) << TSW_SCENARIO_DOCS;
    EXPECT_EQ(firstDifference(docs, withCommandTables(docs, scenarioUsageLines())), "")
        << "docs/scenarios.md's command tables are not current: ./tsw sim --scenario-docs "
           "docs/scenarios.md > new.md && mv new.md docs/scenarios.md";
}

// A table with no place in the file would leave its commands out of the manual unseen.
TEST(ScenarioDocs, HaveAPlaceForEveryTable) {
    const std::string docs = fileText(TSW_SCENARIO_DOCS);
    for (const std::string& line : linesOf(scenarioUsageLines())) {
        const std::string table = line.substr(0, line.find('\t'));
        EXPECT_NE(docs.find("<!-- commands: " + table + " "), std::string::npos)
            << "docs/scenarios.md has no table " << table << " for " << line;
    }
}

// Its own forms of these three (each passes the command on to the host), and no other: a
// simulator verb whose words start a host verb's would hide that verb from every scenario.
TEST(ScenarioDocs, SimulatorTakesOverOnlyLoadRunAndMark) {
    const VerbTable<Emulator>& host = emulator().verbs();
    std::string taken;
    for (std::size_t i = 0; i < host.verbs().size(); ++i) {
        if (simVerbs().takes(splitWords(host.form(i).usage))) {
            taken += (taken.empty() ? "" : ", ") + host.form(i).usage;
        }
    }
    EXPECT_EQ(taken, "load PATH, run MS, mark");
}

TEST(ScenarioDocs, ListEveryPedFlag) {
    const std::string docs = manual();
    for (const Area* area : emulator().world.areas()) {
        for (const PedFlag& flag : area->pedFlags()) {
            const std::string name = flag.name;
            const std::string written = name.back() == '=' ? "`" + name : "`" + name + "`";
            EXPECT_NE(docs.find(written), std::string::npos)
                << "docs/scenarios.md does not list the ped flag " << name;
        }
    }
}

// A row for every native the emulated host answers, and none for a native it does not.
TEST(EmulatedGameDocs, GiveEveryNativesReadingOnce) {
    std::istringstream lines(fileText(TSW_EMULATED_GAME_DOCS));
    std::map<std::uint64_t, int> rows;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("| `")) {
            const std::string name = line.substr(3, line.find('`', 3) - 3);
            const auto hash = nativeHashByName(name);
            ASSERT_TRUE(hash.has_value()) << "a row for " << name << ", no native of the list";
            ++rows[*hash];
        }
    }
    for (const NativeEntry& entry : emulator().natives.entries()) {
        EXPECT_EQ(rows[entry.hash], 1) << "rows for " << entry.name;
    }
    EXPECT_EQ(rows.size(), emulator().natives.size());
}

// The reference is made from the code's tables; the file in docs/ must be what they make now.
TEST(ReferenceDocs, AreWhatTheTablesMakeNow) {
    EXPECT_EQ(fileText(TSW_REFERENCE_DOCS), referenceTables())
        << "docs/reference.md is not current: ./tsw sim --reference > docs/reference.md";
}

}  // namespace
