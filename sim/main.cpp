// tsw-sim: plays a scenario file against the plug-in in the emulated game.
#include <cstdio>
#include <cstring>
#include <string>

#include <vector>

#include "sim/chaos.h"
#include "sim/scenario_batch.h"
#include "sim/scenario_runner.h"
#include "sim/wine_launch.h"

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: tsw-sim [--trace FILE] [--report FILE.html] [--game-dir DIR] [--wine] "
                 "[--plugin PATH] SCENARIO\n"
                 "       tsw-sim [--wine] [--plugin PATH] --out-dir DIR SCENARIO...\n"
                 "  --trace FILE     write every native call to FILE\n"
                 "  --report FILE    write the scenario report, one HTML page, to FILE\n"
                 "  --game-dir DIR   the game's folder (default: a fresh temporary one)\n"
                 "  --wine           run the real TinStarWarden.asi under Wine\n"
                 "  --plugin PATH    the plug-in library to load (default: the built one)\n"
                 "  --out-dir DIR    play each scenario in turn in this one process: its timeline\n"
                 "                   to DIR/NAME.log, its trace to DIR/NAME.trace, and a line\n"
                 "                   NAME: passed|FAILED for each\n"
                 "usage: tsw-sim [--wine] [--plugin PATH] --chaos SEED [--frames N] [--seeds N]\n"
                 "               [--seconds S] [--chaos-out DIR]\n"
                 "  --chaos SEED     play a random game from SEED with every rule checked\n"
                 "  --frames N       frames per game (default 20000)\n"
                 "  --seeds N        games from SEED on, one after the other (default 1)\n"
                 "  --seconds S      instead, as many games as S seconds allow\n"
                 "  --chaos-out DIR  where a failing seed's shrunk scenario goes (default .)\n");
}

bool number(const char* text, std::uint64_t& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return *text != '\0' && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
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
    std::uint64_t value = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        const bool chaosNumber = hasValue && (arg == "--chaos" || arg == "--frames" ||
                                              arg == "--seeds" || arg == "--seconds");
        if (chaosNumber && number(argv[i + 1], value)) {
            chaos = chaos || arg == "--chaos";
            (arg == "--chaos"    ? chaosOptions.firstSeed
             : arg == "--frames" ? chaosOptions.frames
                                 : chaosOptions.seeds) = value;
            if (arg == "--seconds") {
                chaosOptions.seconds = static_cast<double>(value);
            }
            extraArgs.insert(extraArgs.end(), {arg, argv[++i]});
        } else if (arg == "--chaos-out" && hasValue) {
            chaosOptions.outDir = argv[++i];
        } else if (arg == "--out-dir" && hasValue) {
            outDir = argv[++i];
        } else if (arg == "--trace" && hasValue) {
            options.tracePath = argv[++i];
        } else if (arg == "--report" && hasValue) {
            options.reportPath = argv[++i];
        } else if (arg == "--game-dir" && hasValue) {
            options.gameDir = argv[++i];
        } else if (arg == "--plugin" && hasValue) {
            options.pluginPath = argv[++i];
        } else if (arg == "--wine") {
            wine = true;
        } else if (arg == "--help" || arg == "-h") {
            usage();
            return 0;
        } else if (!arg.empty() && arg[0] != '-') {
            scenarios.push_back(arg);
        } else {
            usage();
            return 2;
        }
    }
    // Several scenarios only with --out-dir, which names each one's files itself.
    const bool oneRunsFiles =
        !options.tracePath.empty() || !options.reportPath.empty() || !options.gameDir.empty();
    const bool each = !outDir.empty();
    if (scenarios.empty() == !chaos || (scenarios.size() > 1 && !each) ||
        (each && (chaos || oneRunsFiles))) {
        usage();
        return 2;
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
