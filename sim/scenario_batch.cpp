#include "sim/scenario_batch.h"

#include <filesystem>
#include <system_error>

#include "emulator/file_path.h"

namespace fs = std::filesystem;

int playEach(const ScenarioOptions& options, const std::vector<std::string>& scenarios,
             const std::string& outDir, std::FILE* out) {
    std::error_code error;
    fs::create_directories(pathOf(outDir), error);
    for (const std::string& scenario : scenarios) {
        const std::string stem = utf8Of(pathOf(outDir) / pathOf(scenario).stem());
        ScenarioOptions one = options;
        one.scenarioPath = scenario;
        one.tracePath = stem + ".trace";
        std::FILE* log = openFile(stem + ".log", "wb");
        if (log == nullptr) {
            std::fprintf(out, "cannot write %s.log\n", stem.c_str());
            return 1;
        }
        const int result = runScenario(one, log);
        std::fclose(log);
        std::fprintf(out, "%s: %s\n", utf8Of(pathOf(scenario).stem()).c_str(),
                     result == 0 ? "passed" : "FAILED");
        std::fflush(out);
    }
    return 0;
}
