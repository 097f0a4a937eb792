// Every form docs/scenarios.md lists is played once, written from its placeholders' examples:
// it must read as the form it came from, and its handler must take the values it is given (a
// handler that reads a value as what it is not stops the program, naming its form). What the
// command then does may fail: the world of one line holds only the player and a ped.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "emulator/control.h"
#include "sim/command_docs.h"
#include "sim/scenario_runner.h"
#include "sim/scenario_text.h"
#include "sim/sim_verbs.h"
#include "tests/sanitized_share.h"

namespace {

std::string example(const Element& element) {
    if (element.kind != Element::Kind::SLOT) {
        return element.words[0];
    }
    const Placeholder& slot = *element.slot;
    return slot.example != nullptr ? slot.example : std::to_string(slot.low);
}

// The form written with every optional group, each choice's first word and every placeholder's
// example.
std::string exampleCommand(const Form& form) {
    std::string command;
    for (const Element& element : form.elements) {
        command += (command.empty() ? "" : " ") + example(element);
    }
    return command;
}

// A copy of the form: a play makes the emulated game anew, and its verb table with it.
struct Documented {
    Form form;
    std::string command;
};

// The forms a scenario can write: the simulator's, then the host's it does not take over.
std::vector<Documented> documentedForms() {
    std::vector<Documented> forms;
    const VerbTable<Runner>& sim = simVerbs();
    for (std::size_t i = 0; i < sim.verbs().size(); ++i) {
        forms.push_back({sim.form(i), exampleCommand(sim.form(i))});
    }
    const VerbTable<Emulator>& host = emulator().verbs();
    for (std::size_t i = 0; i < host.verbs().size(); ++i) {
        if (!sim.takes(splitWords(host.form(i).usage))) {
            forms.push_back({host.form(i), exampleCommand(host.form(i))});
        }
    }
    return forms;
}

ScenarioOutcome playLine(const std::string& line) {
    ScenarioOptions options;
    options.scenarioPath = std::string(TSW_SCENARIO_DIR) + "/usage_forms.txt";  // for includes
    options.pluginPath = TSW_PLUGIN;
    options.quiet = true;
    std::FILE* sink = std::tmpfile();
    const ScenarioOutcome outcome =
        playScenarioLines(options, {"ped spawn ann A_M_M_VALTOWNFOLK_01 -300 760 118", line}, sink);
    std::fclose(sink);
    return outcome;
}

TEST(UsageForms, TheDocumentedFormsAreThePlayedOnes) {
    EXPECT_EQ(documentedForms().size(), linesOf(scenarioUsageLines()).size());
}

// Under the sanitizers every tenth form is played (each reads all the same).
TEST(UsageForms, EveryDocumentedFormReadsAndRunsOnce) {
    const std::vector<Documented> forms = documentedForms();
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const Documented& documented = forms[i];
        SCOPED_TRACE(documented.form.usage + ": " + documented.command);
        EXPECT_TRUE(parseForm(documented.form, Command(documented.command)).ok());
        if (i % SANITIZED_SHARE != 0) {
            continue;
        }
        const ScenarioOutcome outcome = playLine(documented.command);
        EXPECT_FALSE(outcome.malformed) << outcome.failure;
        EXPECT_TRUE(outcome.passed || outcome.failedLine == 2) << outcome.failure;
    }
}

}  // namespace
