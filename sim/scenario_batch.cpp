#include "sim/scenario_batch.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

int playEach(const ScenarioOptions& options, const std::vector<std::string>& scenarios,
             const std::string& outDir, std::FILE* out) {
    std::error_code error;
    fs::create_directories(outDir, error);
    for (const std::string& scenario : scenarios) {
        const fs::path stem = fs::path(outDir) / fs::path(scenario).stem();
        ScenarioOptions one = options;
        one.scenarioPath = scenario;
        one.tracePath = stem.string() + ".trace";
        std::FILE* log = std::fopen((stem.string() + ".log").c_str(), "wb");
        if (log == nullptr) {
            std::fprintf(out, "cannot write %s.log\n", stem.string().c_str());
            return 1;
        }
        const int result = runScenario(one, log);
        std::fclose(log);
        std::fprintf(out, "%s: %s\n", stem.filename().string().c_str(),
                     result == 0 ? "passed" : "FAILED");
        std::fflush(out);
    }
    return 0;
}
