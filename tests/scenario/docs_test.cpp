// docs/scenarios.md is the scenario language's manual: every verb's usage and every ped flag
// must be in it, as written. docs/emulated_game.md gives every native's reading, one row each;
// docs/reference.md is the reference tables as the code makes them.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "emulator/control.h"
#include "sim/reference_tables.h"
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

// A host verb whose words a simulator verb takes is never reached from a scenario.
bool takenBySimulator(const Verb& verb) {
    return simVerbs().find(splitWords(verb.words)) != nullptr;
}

void expectListed(const std::string& docs, const char* usage) {
    for (const std::string& form : usageForms(usage)) {
        EXPECT_NE(docs.find("`" + form + "`"), std::string::npos)
            << "docs/scenarios.md does not list `" << form << "`";
    }
}

TEST(ScenarioDocs, ListEveryVerbAsItsUsageReads) {
    const std::string docs = manual();
    ASSERT_FALSE(docs.empty()) << TSW_SCENARIO_DOCS;
    for (const Verb& verb : emulator().verbs().verbs()) {
        if (!takenBySimulator(verb)) {
            expectListed(docs, verb.usage);
        }
    }
    for (const SimVerb& verb : simVerbs().verbs()) {
        expectListed(docs, verb.usage);
    }
}

// Its own forms of these three (each passes the command on to the host), and no other: a
// simulator verb whose words start a host verb's would hide that verb from every scenario.
TEST(ScenarioDocs, SimulatorTakesOverOnlyLoadRunAndMark) {
    std::string taken;
    for (const Verb& verb : emulator().verbs().verbs()) {
        if (takenBySimulator(verb)) {
            taken += std::string(taken.empty() ? "" : ", ") + verb.words;
        }
    }
    EXPECT_EQ(taken, "run, load, mark");
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
