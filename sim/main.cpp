// tsw-sim: plays a scenario file against the plug-in in the emulated game.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include <vector>

#include "emulator/nearest_words.h"
#include "sim/chaos.h"
#include "sim/command_docs.h"
#include "sim/reference_tables.h"
#include "sim/scenario_batch.h"
#include "sim/scenario_runner.h"
#include "sim/scenario_text.h"
#include "sim/simulator_main.h"
#include "sim/wine_launch.h"

namespace {

struct Option {
    const char* name;
    const char* value;  // what follows it, or empty
    const char* help;
    bool chaos;  // a chaos game's option
};

// clang-format off
constexpr Option OPTIONS[] = {
    {"--trace",     "FILE", "write every native call to FILE",                          false},
    {"--report",    "FILE", "write the scenario report, one HTML page, to FILE",        false},
    {"--game-dir",  "DIR",  "the game's folder (default: a fresh temporary one)",       false},
    {"--wine",      "",     "run the real TinStarWarden.asi under Wine",                false},
    {"--plugin",    "PATH", "the plug-in library to load (default: the built one)",     false},
    {"--out-dir",   "DIR",  "play each scenario: DIR/NAME.log, DIR/NAME.trace",          false},
    {"--reference", "",     "print the reference tables (docs/reference.md)",           false},
    {"--scenario-docs", "FILE", "print FILE (docs/scenarios.md), its command tables anew", false},
    {"--help",      "",     "this text",                                                false},
    {"--chaos",     "SEED", "play a random game from SEED with every rule checked",     true},
    {"--frames",    "N",    "frames per game (default 20000)",                          true},
    {"--seeds",     "N",    "games from SEED on, one after the other (default 1)",      true},
    {"--seconds",   "S",    "instead, as many games as S seconds allow",                true},
    {"--chaos-out", "DIR",  "where a failing seed's shrunk scenario goes (default .)",  true},
    {"--progress",  "",     "show games, frames a second, rules broken, time left",     true},
};
// clang-format on

void usage(std::FILE* to) {
    std::fprintf(to,
                 "usage: tsw-sim [OPTION...] SCENARIO\n"
                 "       tsw-sim [--wine] [--plugin PATH] --out-dir DIR SCENARIO...\n"
                 "       tsw-sim [--wine] [--plugin PATH] --chaos SEED [OPTION...]\n");
    // The helps in one column, after the longest option with its value.
    int width = 0;
    for (const Option& option : OPTIONS) {
        width = std::max(
            width, static_cast<int>(std::strlen(option.name) + std::strlen(option.value) + 2));
    }
    for (const bool chaos : {false, true}) {
        std::fprintf(to, "%s", chaos ? "chaos games:\n" : "");
        for (const Option& option : OPTIONS) {
            if (option.chaos == chaos) {
                const std::string named = std::string(option.name) + " " + option.value;
                std::fprintf(to, "  %-*s%s\n", width, named.c_str(), option.help);
            }
        }
    }
    std::fprintf(to, "The scenario language, the report and the trace: docs/scenarios.md\n");
}

// What was wrong with the command line, then the usage.
int badUsage(const std::string& problem) {
    std::fprintf(stderr, "tsw-sim: %s\n", problem.c_str());
    usage(stderr);
    return 2;
}

std::string unknownOption(const std::string& arg) {
    std::vector<std::string> names;
    for (const Option& option : OPTIONS) {
        names.push_back(option.name);
    }
    return "unknown option " + arg + didYouMean(arg, names);
}

const Option* findOption(const std::string& arg) {
    const auto found = std::find_if(std::begin(OPTIONS), std::end(OPTIONS),
                                    [&](const Option& option) { return arg == option.name; });
    return found == std::end(OPTIONS) ? nullptr : found;
}

bool isOption(const std::string& arg) {
    return findOption(arg) != nullptr;
}

// A chaos game's option other than --chaos itself: it means nothing without one.
bool onlyForChaos(const std::string& arg) {
    const Option* option = findOption(arg);
    return option != nullptr && option->chaos && arg != "--chaos";
}

// What the options and scenarios named together cannot mean, or empty. chaosOnly: the first
// chaos game's option given, or empty.
std::string commandLineProblem(const ScenarioOptions& options,
                               const std::vector<std::string>& scenarios, bool chaos, bool each,
                               const std::string& chaosOnly) {
    if (!chaos && !chaosOnly.empty()) {
        return chaosOnly + " is for a chaos game: it needs --chaos SEED";
    }
    if (chaos) {
        return !scenarios.empty() ? "a chaos game plays no scenario file"
               : each             ? "--out-dir plays scenarios, not chaos games"
                                  : "";
    }
    if (scenarios.empty()) {
        return "no scenario named";
    }
    if (scenarios.size() > 1 && !each) {
        return "one scenario only, or several with --out-dir: " + scenarios[0] + " and " +
               scenarios[1];
    }
    const bool oneRunsFiles =
        !options.tracePath.empty() || !options.reportPath.empty() || !options.gameDir.empty();
    return each && oneRunsFiles
               ? "--out-dir names each scenario's files itself: no --trace, --report or --game-dir"
               : "";
}

// The scenario language's manual with its command tables made from the verb tables.
int printScenarioDocs(const std::string& path) {
    std::string docs;
    if (!readWholeFile(path, docs)) {
        std::fprintf(stderr, "tsw-sim: cannot read %s\n", path.c_str());
        return 1;
    }
    std::fputs(withCommandTables(docs, scenarioUsageLines()).c_str(), stdout);
    return 0;
}

bool number(const std::string& text, std::uint64_t& value) {
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0';
}

}  // namespace

int simulatorMain(const std::vector<std::string>& args) {
    // With Windows' C library an unbuffered stream is written a character at a time, and under
    // Wine each character is a system call: lines are gathered and flushed whole.
    static char outBuffer[64 * 1024];
    std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    ScenarioOptions options;
    options.pluginPath = TSW_DEFAULT_PLUGIN;
    bool wine = false;
    bool chaos = false;
    ChaosOptions chaosOptions;
    std::vector<std::string> extraArgs;  // passed on under Wine
    std::vector<std::string> scenarios;
    std::string outDir;
    std::string chaosOnly;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (chaosOnly.empty() && onlyForChaos(arg)) {
            chaosOnly = arg;
        }
        const bool hasValue = i + 1 < args.size();
        const bool chaosNumber = hasValue && (arg == "--chaos" || arg == "--frames" ||
                                              arg == "--seeds" || arg == "--seconds");
        if (chaosNumber && number(args[i + 1], value)) {
            chaos = chaos || arg == "--chaos";
            (arg == "--chaos"    ? chaosOptions.firstSeed
             : arg == "--frames" ? chaosOptions.frames
                                 : chaosOptions.seeds) = value;
            if (arg == "--seconds") {
                chaosOptions.seconds = static_cast<double>(value);
            }
            extraArgs.insert(extraArgs.end(), {arg, args[++i]});
        } else if (arg == "--chaos-out" && hasValue) {
            chaosOptions.outDir = args[++i];
        } else if (arg == "--out-dir" && hasValue) {
            outDir = args[++i];
        } else if (arg == "--trace" && hasValue) {
            options.tracePath = args[++i];
        } else if (arg == "--report" && hasValue) {
            options.reportPath = args[++i];
        } else if (arg == "--game-dir" && hasValue) {
            options.gameDir = args[++i];
        } else if (arg == "--plugin" && hasValue) {
            options.pluginPath = args[++i];
        } else if (arg == "--wine") {
            wine = true;
        } else if (arg == "--progress") {
            chaosOptions.progress = stderr;
            extraArgs.push_back(arg);
        } else if (arg == "--reference") {
            std::fputs(referenceTables().c_str(), stdout);
            return 0;
        } else if (arg == "--scenario-docs" && hasValue) {
            return printScenarioDocs(args[++i]);
        } else if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        } else if (!arg.empty() && arg[0] != '-') {
            scenarios.push_back(arg);
        } else if (chaosNumber) {
            return badUsage(arg + " takes a whole number, not \"" + args[i + 1] + "\"");
        } else {
            return badUsage(isOption(arg) ? arg + " needs a value" : unknownOption(arg));
        }
    }
    const bool each = !outDir.empty();
    const std::string problem = commandLineProblem(options, scenarios, chaos, each, chaosOnly);
    if (!problem.empty()) {
        return badUsage(problem);
    }
    options.scenarioPath = scenarios.empty() ? "" : scenarios.front();
    if (wine) {
        if (chaos) {
            extraArgs.insert(extraArgs.end(), {"--chaos-out", chaosOptions.outDir});
        }
        if (each) {
            extraArgs.insert(extraArgs.end(), {"--out-dir", outDir});
        }
        return runUnderWine(options, extraArgs, scenarios);
    }
    if (chaos) {
        chaosOptions.scenario = options;
        return runChaos(chaosOptions, stdout);
    }
    return each ? playEach(options, scenarios, outDir, stdout) : runScenario(options, stdout);
}
