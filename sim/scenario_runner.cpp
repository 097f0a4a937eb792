#include "sim/scenario_runner.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "emulator/control_api.h"
#include "sim/data_file_view.h"
#include "sim/file_stamp.h"
#include "sim/game_folder.h"
#include "sim/invariants.h"
#include "sim/report/report_recorder.h"

namespace fs = std::filesystem;

namespace {

const char* const GAME_FILES = "TinStarWarden";
const char* const DATA_FILE = "TinStarWarden/TinStarWarden.dat";
const char* const LOG_FILE = "TinStarWarden/TinStarWarden.log";

struct Failure {
    std::string message;
    bool invariant = false;
};

class Runner {
  public:
    Runner(const ScenarioOptions& options, std::FILE* out)
        : options_(options),
          out_(out),
          tracePath_(outsideGameFolder(options.tracePath)),
          reportPath_(outsideGameFolder(options.reportPath)) {}

    int run();
    ScenarioOutcome play(const std::vector<std::string>& lines);

  private:
    static void onTimeline(std::uint32_t gameTime, const char* text, void* self);
    static void onFrame(std::uint32_t gameTime, void* self);
    void print(std::uint32_t gameTime, const std::string& text);
    void watchFiles(std::uint32_t gameTime);
    void watchDataFile(std::uint32_t gameTime);
    void resetDataBaseline();
    void watchLog(std::uint32_t gameTime);

    bool runLines(const std::vector<std::string>& lines);
    void runLine(const std::string& line);
    void runCheckedFrames(const std::string& line);
    std::uint32_t checkInvariants();
    std::string query(const std::string& command);
    bool fileCommand(const std::string& line);
    void control(const std::string& command);
    std::uint32_t gameTime();

    void expectData(const std::string& line);
    void expectNoData(const std::string& line);
    void expectDataFile(const std::string& line);
    void expectLog(const std::string& line);

    // Named from where the simulator was started: the run itself plays in the game's folder.
    static std::string outsideGameFolder(const std::string& path) {
        std::error_code error;
        return path.empty() ? path : fs::absolute(path, error).string();
    }

    const ScenarioOptions& options_;
    std::FILE* out_;
    const std::string tracePath_;
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
    std::unique_ptr<InvariantChecker> invariants_;  // from `invariants on`
    ScenarioOutcome outcome_;
    std::unique_ptr<ReportRecorder> report_;  // with --report only
};

bool readWholeFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return true;
}

// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> readLines(const std::string& path, bool& ok) {
    std::string text;
    ok = readWholeFile(path, text);
    return linesOf(text);
}

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The words after the first n words, as written (spaces inside kept).
std::string restAfterWords(const std::string& line, int n) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) {
        at = line.find_first_not_of(" \t", at);
        at = line.find_first_of(" \t", at);
        if (at == std::string::npos) {
            return {};
        }
    }
    return trim(line.substr(at));
}

std::string unescapeNewlines(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            result += '\n';
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

// \r, \n, \t, \\ and \xHH as the bytes they name; anything else as written.
std::string unescapeBytes(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] != '\\' || next == '\0') {
            bytes += text[i];
        } else if (next == 'x' && i + 3 < text.size() &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
            bytes += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            const std::string known = "rnt\\";
            const std::string meant = "\r\n\t\\";
            const auto at = known.find(next);
            bytes += at == std::string::npos ? std::string{'\\', next} : std::string{meant[at]};
            ++i;
        }
    }
    return bytes;
}

std::string firstWord(const std::string& line) {
    std::istringstream stream(line);
    std::string word;
    stream >> word;
    return word;
}

}  // namespace

int runScenario(const ScenarioOptions& options, std::FILE* out) {
    Runner runner(options, out);
    return runner.run();
}

ScenarioOutcome playScenarioLines(const ScenarioOptions& options,
                                  const std::vector<std::string>& lines, std::FILE* out) {
    Runner runner(options, out);
    return runner.play(lines);
}

int Runner::run() {
    bool readable = false;
    const std::vector<std::string> lines = readLines(options_.scenarioPath, readable);
    if (!readable) {
        std::fprintf(out_, "cannot read the scenario %s\n", options_.scenarioPath.c_str());
        return 1;
    }
    return play(lines).passed ? 0 : 1;
}

ScenarioOutcome Runner::play(const std::vector<std::string>& lines) {
    std::string error;
    if (!folder_.enter(options_.gameDir, error)) {
        std::fprintf(out_, "%s\n", error.c_str());
        outcome_.failure = error;
        return outcome_;
    }
    tswEmuReset();
    tswEmuSetTimelineSink(&Runner::onTimeline, this);
    tswEmuSetFrameHook(&Runner::onFrame, this);
    if (!reportPath_.empty()) {
        report_ = std::make_unique<ReportRecorder>();
        report_->start();
        report_->moment();
    }
    outcome_.passed = runLines(lines);
    tswEmuSetTimelineSink(nullptr, nullptr);
    tswEmuSetFrameHook(nullptr, nullptr);
    tswEmuReset();
    folderWatch_.close();
    folder_.leave();
    std::fprintf(out_, "%s: %s\n", options_.scenarioPath.c_str(),
                 outcome_.passed ? "passed" : "FAILED");
    if (report_ && !report_->write(reportPath_, options_.scenarioPath, outcome_.passed, error)) {
        std::fprintf(out_, "%s\n", error.c_str());
        outcome_.passed = false;
        outcome_.failure = error;
    }
    return outcome_;
}

bool Runner::runLines(const std::vector<std::string>& lines) {
    try {
        control("scripts BadgeScript BadgeMenuScript");
        if (!tracePath_.empty()) {
            control("trace " + tracePath_);
        }
        resetDataBaseline();
        for (const std::string& raw : lines) {
            ++lineNumber_;
            const std::string line = trim(raw);
            if (!line.empty() && line[0] != '#') {
                runLine(line);
                if (report_) {
                    report_->moment();
                }
            }
        }
        return true;
    } catch (const Failure& failure) {
        std::fprintf(out_, "%s:%zu: %s\n", options_.scenarioPath.c_str(), lineNumber_,
                     failure.message.c_str());
        outcome_.failedLine = lineNumber_;
        outcome_.failure = failure.message;
        outcome_.invariantBroken = failure.invariant;
        if (report_) {
            report_->failure(gameTime(),
                             "line " + std::to_string(lineNumber_) + ": " + failure.message);
            report_->moment();
        }
        return false;
    }
}

void Runner::runLine(const std::string& line) {
    if (firstWord(line) != "expect" && !options_.quiet) {
        print(gameTime(), "> " + line);
    }
    if (invariants_) {
        invariants_->onCommand(line);
    }
    if (fileCommand(line)) {
        return;
    }
    if (line == "load") {
        control("load " + options_.pluginPath);
    } else if (invariants_ && firstWord(line) == "run") {
        runCheckedFrames(line);
    } else {
        control(line);
    }
}

// With the rules on, time moves a frame at a time and they are checked after each.
void Runner::runCheckedFrames(const std::string& line) {
    const std::string ms = restAfterWords(line, 1);
    if (ms.empty() || ms.find_first_not_of("0123456789") != std::string::npos) {
        throw Failure{"usage: run MS"};
    }
    const std::uint32_t start = gameTime();
    const auto length = static_cast<std::uint32_t>(std::stoul(ms));
    for (std::uint32_t now = start; now - start < length;) {
        control("run 1");
        now = checkInvariants();
    }
}

// Returns the game time the facts were read at.
std::uint32_t Runner::checkInvariants() {
    const Facts facts = Facts::parse(query("query facts"));
    const auto now = static_cast<std::uint32_t>(facts.number("time"));
    if (const auto broken = invariants_->afterFrame(now, facts)) {
        char when[32];
        std::snprintf(when, sizeof when, "at %.3f s: ", now / 1000.0);
        throw Failure{std::string("rule broken ") + when + *broken, true};
    }
    return now;
}

std::string Runner::query(const std::string& command) {
    static char reply[65536];  // every greeter a few words: room for thousands
    const int code = tswEmuControl(command.c_str(), reply, sizeof reply);
    if (code != TSW_OK) {
        throw Failure{std::string("emulator failure: ") + reply, code == TSW_EMULATOR_FAILED};
    }
    return reply;
}

// Commands on the game folder's files, which the simulator handles itself.
bool Runner::fileCommand(const std::string& line) {
    const std::string verb = firstWord(line);
    const std::string what = firstWord(restAfterWords(line, 1));
    std::string error;
    // Not held while the folder may be removed; held again at the new baseline.
    const bool changesFolder = verb == "ini" || verb == "data" || verb == "rawdata" ||
                               verb == "nodata" || verb == "nofolder" || verb == "folder";
    if (changesFolder) {
        folderWatch_.close();
    }
    if (verb == "ini") {
        std::istringstream words(restAfterWords(line, 1));
        std::string section;
        std::string key;
        words >> section >> key;
        const std::string value = restAfterWords(line, 3);
        if (section.empty() || key.empty() || !folder_.setIni(section, key, value, error)) {
            throw Failure{error.empty() ? "usage: ini SECTION KEY VALUE" : error};
        }
    } else if (verb == "data") {
        if (!folder_.appendDataLine(restAfterWords(line, 1), error)) {
            throw Failure{error};
        }
    } else if (verb == "rawdata") {
        if (!folder_.appendDataBytes(unescapeBytes(restAfterWords(line, 1)), error)) {
            throw Failure{error};
        }
    } else if (verb == "nodata" || verb == "nofolder") {
        folder_.remove(verb == "nofolder");
    } else if (verb == "folder") {
        if (what != "readonly" && what != "writable") {
            throw Failure{"usage: folder readonly|writable"};
        }
        if (!folder_.setReadOnly(what == "readonly", error)) {
            throw Failure{error};
        }
    } else if (verb == "expect" && what == "data") {
        expectData(line);
    } else if (verb == "expect" && what == "nodata") {
        expectNoData(line);
    } else if (verb == "expect" && what == "datafile") {
        expectDataFile(line);
    } else if (verb == "expect" && what == "nodatafile") {
        if (readDataFile(DATA_FILE).exists) {
            throw Failure{"expected no data file, found one"};
        }
    } else if (verb == "expect" && (what == "log" || what == "nolog")) {
        expectLog(line);
    } else if (verb == "invariants") {
        if (what != "on") {
            throw Failure{"usage: invariants on"};
        }
        invariants_ = std::make_unique<InvariantChecker>();
    } else {
        return false;
    }
    if (changesFolder) {
        resetDataBaseline();
        if (invariants_) {
            invariants_->onFilesChanged(readDataFile(DATA_FILE));
        }
    }
    return true;
}

// A fault the emulated host caught is a broken rule too: no malformed call, ever.
void Runner::control(const std::string& command) {
    char reply[2048];
    const int code = tswEmuControl(command.c_str(), reply, sizeof reply);
    switch (code) {
        case TSW_OK:
            return;
        case TSW_EXPECTATION_FAILED:
            throw Failure{reply};
        case TSW_BAD_COMMAND:
            throw Failure{std::string("bad command: ") + reply};
        default:
            throw Failure{std::string("emulator failure: ") + reply, invariants_ != nullptr};
    }
}

std::uint32_t Runner::gameTime() {
    char reply[32];
    tswEmuControl("time", reply, sizeof reply);
    return static_cast<std::uint32_t>(std::stoul(reply));
}

void Runner::expectData(const std::string& line) {
    std::istringstream words(restAfterWords(line, 2));
    std::string key;
    words >> key;
    const std::string value = restAfterWords(line, 3);
    const DataFileView view = readDataFile(DATA_FILE);
    const auto it = view.entries.find(key);
    if (it == view.entries.end() || it->second != value) {
        throw Failure{"expected " + key + "=" + value + " in the data file, found " +
                      (!view.exists               ? std::string("no data file")
                       : it == view.entries.end() ? "no " + key + " entry"
                                                  : key + "=" + it->second)};
    }
}

void Runner::expectNoData(const std::string& line) {
    const std::string key = restAfterWords(line, 2);
    const DataFileView view = readDataFile(DATA_FILE);
    const auto it = view.entries.find(key);
    if (it != view.entries.end()) {
        throw Failure{"expected no " + key + " entry in the data file, found " + key + "=" +
                      it->second};
    }
}

void Runner::expectDataFile(const std::string& line) {
    const std::string wanted = unescapeNewlines(restAfterWords(line, 2));
    const DataFileView view = readDataFile(DATA_FILE);
    if (!view.exists || view.text != wanted) {
        throw Failure{"expected the data file to read \"" + restAfterWords(line, 2) + "\", found " +
                      (view.exists ? "\"" + view.text + "\"" : "no data file")};
    }
}

// `expect log TEXT`: a line of the log holds TEXT; `expect log once TEXT`: exactly one does;
// `expect nolog`: there is no log file.
void Runner::expectLog(const std::string& line) {
    std::string text;
    const bool exists = readWholeFile(LOG_FILE, text);
    if (firstWord(restAfterWords(line, 1)) == "nolog") {
        if (exists) {
            throw Failure{"expected no log file, found one holding \"" + text + "\""};
        }
        return;
    }
    const bool once = firstWord(restAfterWords(line, 2)) == "once";
    const std::string wanted = restAfterWords(line, once ? 3 : 2);
    if (wanted.empty()) {
        throw Failure{"usage: expect log [once] TEXT"};
    }
    const auto lines = linesOf(text);
    const auto found = std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(wanted) != std::string::npos;
    });
    if (found == 0 || (once && found != 1)) {
        throw Failure{"expected " + std::string(once ? "exactly one line" : "a line") +
                      " of the log holding \"" + wanted + "\", found " +
                      (!exists ? std::string("no log file")
                               : std::to_string(found) + " in \"" + text + "\"")};
    }
}

void Runner::onTimeline(std::uint32_t gameTime, const char* text, void* self) {
    static_cast<Runner*>(self)->print(gameTime, text);
}

void Runner::onFrame(std::uint32_t gameTime, void* self) {
    Runner& runner = *static_cast<Runner*>(self);
    runner.watchFiles(gameTime);
    if (runner.report_) {
        runner.report_->momentIfNewLines();
    }
}

void Runner::print(std::uint32_t gameTime, const std::string& text) {
    if (!options_.quiet) {
        std::fprintf(out_, "[%9.3f] %s\n", gameTime / 1000.0, text.c_str());
    }
    if (report_) {
        report_->line(gameTime, text);
    }
}

// Every frame one cheap look at the plug-in's folder, which is held open: a save replaces the
// data file, which changes the folder, and a new log changes it too. The files themselves are
// looked at only then, while the folder's time is too recent to tell a later change, and while
// there is a log (it grows in place). Under Wine the data file's full stamp costs hundreds of
// microseconds; a look at the folder by path a few, by handle much less.
void Runner::watchFiles(std::uint32_t gameTime) {
    const std::int64_t lookedAt = fileClockNow();
    FileStamp folder = folderWatch_.stamp();
    // A folder the scenario removed is looked for until the plug-in makes it again.
    if (!folder.exists && folderWatch_.open(GAME_FILES)) {
        folder = folderWatch_.stamp();
    }
    const bool unsettled =
        folder != lastFolderStamp_ || lastFolderLook_ - folder.modified < fileTimeSettles();
    lastFolderStamp_ = folder;
    lastFolderLook_ = lookedAt;
    if (unsettled) {
        watchDataFile(gameTime);
    }
    if (unsettled || lastLogStamp_.exists) {
        watchLog(gameTime);
    }
}

// Reports every write of the data file that the plug-in makes, with what changed.
void Runner::watchDataFile(std::uint32_t gameTime) {
    const FileStamp stamp = fileStamp(DATA_FILE);
    if (stamp == lastStamp_) {
        return;
    }
    lastStamp_ = stamp;
    if (!stamp.exists) {
        print(gameTime, "data file removed");
        lastData_ = DataFileView{};
        return;
    }
    const DataFileView now = readDataFile(DATA_FILE);
    if (invariants_) {
        invariants_->onDataFileWritten(now);
    }
    const std::string changes = describeChanges(lastData_, now);
    print(gameTime, changes.empty() ? "data file rewritten, nothing changed"
                                    : "data file written: " + changes);
    lastData_ = now;
}

// Shows every line the plug-in adds to its diagnostics log; a log started afresh (the plug-in
// loaded again) is shown from its first line.
void Runner::watchLog(std::uint32_t gameTime) {
    const FileStamp stamp = fileSizeAndTime(LOG_FILE);
    if (stamp == lastLogStamp_) {
        return;
    }
    lastLogStamp_ = stamp;
    std::string text;
    if (!stamp.exists || !readWholeFile(LOG_FILE, text)) {
        logShown_.clear();
        return;
    }
    if (!text.starts_with(logShown_)) {
        logShown_.clear();
    }
    // Only whole lines: the rest is shown once its line end is written.
    const auto end = text.find_last_of('\n');
    if (end == std::string::npos || end + 1 <= logShown_.size()) {
        return;
    }
    for (const std::string& added :
         linesOf(text.substr(logShown_.size(), end + 1 - logShown_.size()))) {
        print(gameTime, "log: " + added);
    }
    logShown_ = text.substr(0, end + 1);
}

void Runner::resetDataBaseline() {
    folderWatch_.open(GAME_FILES);
    lastStamp_ = fileStamp(DATA_FILE);
    lastData_ = readDataFile(DATA_FILE);
}
