// tsw-sim: plays a scenario file against the plug-in in the emulated game.
#include <cstdio>
#include <cstring>
#include <string>

#include "sim/scenario_runner.h"
#include "sim/wine_launch.h"

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: tsw-sim [--trace FILE] [--report FILE.html] [--game-dir DIR] [--wine] "
                 "[--plugin PATH] SCENARIO\n"
                 "  --trace FILE     write every native call to FILE\n"
                 "  --report FILE    write the scenario report, one HTML page, to FILE\n"
                 "  --game-dir DIR   the game's folder (default: a fresh temporary one)\n"
                 "  --wine           run the real TinStarWarden.asi under Wine\n"
                 "  --plugin PATH    the plug-in library to load (default: the built one)\n");
}

}  // namespace

int main(int argc, char** argv) {
    ScenarioOptions options;
    options.pluginPath = TSW_DEFAULT_PLUGIN;
    bool wine = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--trace" && hasValue) {
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
        } else if (!arg.empty() && arg[0] != '-' && options.scenarioPath.empty()) {
            options.scenarioPath = arg;
        } else {
            usage();
            return 2;
        }
    }
    if (options.scenarioPath.empty()) {
        usage();
        return 2;
    }
    if (wine) {
        return runUnderWine(options);
    }
    return runScenario(options, stdout);
}
