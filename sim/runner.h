#pragma once
// One play of a scenario: the game folder, the emulated host behind its C interface, the rules
// (`invariants on`), the report, and the line being run. The simulator's own verbs
// (sim_verbs.cpp) act on it; every other command goes to the emulated host.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/data_file_view.h"
#include "sim/file_stamp.h"
#include "sim/game_folder.h"
#include "sim/invariants.h"
#include "sim/report/report_recorder.h"
#include "sim/scenario_runner.h"
#include "sim/unrun_checks.h"

inline constexpr const char* GAME_FILES = "TinStarWarden";
inline constexpr const char* DATA_FILE = "TinStarWarden/TinStarWarden.dat";
inline constexpr const char* LOG_FILE = "TinStarWarden/TinStarWarden.log";

class Runner {
  public:
    Runner(const ScenarioOptions& options, std::FILE* out);

    int run();
    ScenarioOutcome play(const std::vector<std::string>& lines);

    // What the simulator's verbs act on.
    const std::string& pluginPath() const { return options_.pluginPath; }
    GameFolder& folder() { return folder_; }
    // The folder is not held open while it may be removed...
    void releaseFolder() { folderWatch_.close(); }
    // ...and the files' baseline starts again from what they hold after, once the game may
    // next see them.
    void filesChanged();
    // Runs a file's lines where the `include` stands; FILE is taken from the including file's
    // folder.
    void include(const std::string& file);
    // The rules start from the files as they are (a fresh folder holds no data file).
    void startInvariants() {
        invariants_ = std::make_unique<InvariantChecker>();
        rulesUnsettled_ = true;
    }
    bool invariantsOn() const { return invariants_ != nullptr; }
    // A command for the emulated host; a reply other than OK ends the scenario. Returns the
    // host's answer (empty for most commands).
    std::string control(const std::string& command);
    bool pluginLoaded();
    // Time a frame at a time, the rules checked after each.
    void runCheckedFrames(std::uint32_t ms);
    std::uint32_t frameStep();
    // A line on the timeline that is no error: what the story wrote may not be what it meant.
    void note(const std::string& text);
    // The data file's bytes at the last `mark` (empty with no file then, or no mark yet).
    std::optional<std::string>& markedData() { return markedData_; }

  private:
    std::optional<std::string> markedData_;

    static void onTimeline(std::uint32_t gameTime, const char* text, void* self);
    static void onFrame(std::uint32_t gameTime, void* self);
    void print(std::uint32_t gameTime, const std::string& text);
    void watchFiles(std::uint32_t gameTime);
    void watchDataFile(std::uint32_t gameTime);
    void resetDataBaseline();
    void settleFiles();
    void watchLog(std::uint32_t gameTime);

    bool runLines(const std::vector<std::string>& lines);
    // Where the line being run stands: "FILE:LINE", with the includes it came through.
    std::string where() const;
    std::string shownLine() const;
    ScenarioFile playing() const;
    void reportFailure(const std::vector<std::string>& lines, const std::string& message);
    void reportChecksNotRun(const std::vector<std::string>& lines);
    void runLine(const std::string& line);
    void noteUnsetKey(const Words& words);
    [[noreturn]] void failCommand(const std::string& command, int code, const std::string& reply);
    std::uint32_t checkInvariants();
    std::uint32_t checkedTick();
    // What the emulated game reports now for the rules (`query facts`).
    GameFacts facts();
    std::string query(const std::string& command);
    // Every verb's leading words, the simulator's and the host's: an unknown command is named
    // over both.
    std::vector<std::string> verbsOfBoth();
    std::uint32_t gameTime();

    const ScenarioOptions& options_;
    std::FILE* out_;
    const std::string tracePath_;
    const std::filesystem::path scenarioPath_;  // absolute
    const std::string reportPath_;
    GameFolder folder_;
    DataFileView lastData_;
    FileStamp lastStamp_;
    FileStamp lastLogStamp_;
    OpenFolder folderWatch_;
    FileStamp lastFolderStamp_;
    std::int64_t lastFolderLook_ = 0;  // when the folder was last looked at (fileClockNow)
    std::string logShown_;             // the log's text as the timeline has shown it
    std::size_t lineNumber_ = 0;
    struct Included {
        std::filesystem::path path;  // absolute: the run plays in the game's folder
        std::string shown;           // as the scenario names it
        std::size_t line = 0;
    };
    std::vector<Included> included_;  // the includes being run, outermost first
    std::string line_;
    std::unique_ptr<InvariantChecker> invariants_;  // from `invariants on`
    // Changed by the scenario since the baseline was read; the rules were on at the change.
    bool filesUnsettled_ = false;
    bool rulesUnsettled_ = false;
    ScenarioOutcome outcome_;
    std::unique_ptr<ReportRecorder> report_;  // with --report only
};
