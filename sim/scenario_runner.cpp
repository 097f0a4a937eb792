#include "sim/scenario_runner.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "emulator/control_api.h"
#include "emulator/disk_limit.h"
#include "emulator/file_path.h"
#include "emulator/verb_table.h"
#include "sim/runner.h"
#include "sim/scenario_text.h"
#include "sim/sim_verbs.h"
#include "sim/unrun_checks.h"

namespace fs = std::filesystem;

namespace {

struct Failure {
    std::string message;
    std::string_view rule = {};  // the rule broken, if it is one
    // A command that does not read: the line with a caret under the wrong word, and its usage.
    std::string pointer = {};
};

// Named from where the simulator was started: the run itself plays in the game's folder.
std::string outsideGameFolder(const std::string& path) {
    std::error_code error;
    return path.empty() ? path : utf8Of(fs::absolute(pathOf(path), error));
}

}  // namespace

Runner::Runner(const ScenarioOptions& options, std::FILE* out)
    : options_(options),
      out_(out),
      tracePath_(outsideGameFolder(options.tracePath)),
      scenarioPath_(pathOf(outsideGameFolder(options.scenarioPath)).lexically_normal()),
      reportPath_(outsideGameFolder(options.reportPath)) {}

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
        report_->start(lines);
        report_->moment();
    }
    outcome_.passed = runLines(lines);
    if (invariants_) {
        outcome_.ruleTests = invariants_->testedFrames();
    }
    tswEmuSetTimelineSink(nullptr, nullptr);
    tswEmuSetFrameHook(nullptr, nullptr);
    tswEmuReset();
    folderWatch_.close();
    folder_.leave();
    std::fprintf(out_, "%s: %s\n", options_.scenarioPath.c_str(),
                 outcome_.passed ? "passed" : "FAILED");
    if (report_ && !report_->write(reportPath_, options_.scenarioPath, outcome_.passed,
                                   outcome_.failedLine, error)) {
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
                if (report_) {
                    report_->at(lineNumber_);
                }
                runLine(line);
                if (report_) {
                    report_->moment();
                }
            }
        }
        return true;
    } catch (const Failure& failure) {
        std::fprintf(out_, "%s: %s\n", where().c_str(), failure.message.c_str());
        if (!failure.pointer.empty()) {
            std::fprintf(out_, "%s\n", failure.pointer.c_str());
        }
        outcome_.failedLine = lineNumber_;
        outcome_.failure = failure.message;
        outcome_.invariantBroken = !failure.rule.empty();
        outcome_.brokenRule = failure.rule;
        outcome_.malformed = !failure.pointer.empty();
        if (report_) {
            reportFailure(lines, failure.message);
        }
        return false;
    }
}

std::string Runner::where() const {
    const std::string top = placeOf(options_.scenarioPath, lineNumber_);
    if (included_.empty()) {
        return top;
    }
    std::string text = placeOf(included_.back().shown, included_.back().line) + " (included from ";
    for (std::size_t i = included_.size() - 1; i-- > 0;) {
        text += placeOf(included_[i].shown, included_[i].line) + ", from ";
    }
    return text + top + ")";
}

void Runner::include(const std::string& file) {
    const ScenarioFile inner = includedFile(playing(), file);
    const fs::path& path = inner.path;
    const std::string& shown = inner.shown;
    const bool again = path == scenarioPath_ ||
                       std::any_of(included_.begin(), included_.end(),
                                   [&](const Included& outer) { return outer.path == path; });
    if (again) {
        throw Failure{shown + " includes itself"};
    }
    bool readable = false;
    const std::vector<std::string> lines = readLines(utf8Of(path), readable);
    if (!readable) {
        throw Failure{"cannot read the included file " + shown};
    }
    included_.push_back({path, shown, 0});
    for (const std::string& raw : lines) {
        ++included_.back().line;
        const std::string line = trim(raw);
        if (!line.empty() && line[0] != '#') {
            runLine(line);
            // A check in an included file shows the world as it held, as one in the story does.
            if (report_) {
                report_->moment();
            }
        }
    }
    included_.pop_back();
}

void Runner::runLine(const std::string& line) {
    if (firstWord(line) != "expect" && !options_.quiet) {
        print(gameTime(), "> " + line);
    }
    if (invariants_) {
        // The rules see the files the plug-in is about to find.
        if (firstWord(line) == "load") {
            settleFiles();
        }
        invariants_->onCommand(line);
    }
    line_ = line;
    const Command command(line);
    noteUnsetKey(command.words);
    if (!simVerbs().takes(command.words)) {
        // A command that answers (`time`, `query facts`) shows its answer.
        const std::string answer = control(line);
        if (!answer.empty()) {
            print(gameTime(), "answer: " + answer);
        }
    } else if (const ControlReply reply = simVerbs().run(*this, command); reply.code != TSW_OK) {
        // The simulator's own replies read as they are, without the host's "bad command: ".
        throw Failure{reply.text, {}, reply.detail};
    }
    if (report_ && command.words[0] == "expect") {
        report_->check(gameTime(), shownLine(), true);
    }
}

// A key pressed that no setting names: the story's settings, not the plug-in, are then why
// nothing happens.
void Runner::noteUnsetKey(const Words& words) {
    std::int64_t code = 0;
    if (words.size() != 3 || words[0] != "key" || words[1] != "down" ||
        !readWholeNumber(words[2], code)) {
        return;
    }
    if (!folder_.settingsNameKey(static_cast<std::uint32_t>(code))) {
        print(gameTime(), "note: no key setting of TinStarWarden.ini is " + words[2] +
                              ", so the plug-in does not act on this key");
    }
}

// The line as the report shows it: one from an included file says which.
std::string Runner::shownLine() const {
    return included_.empty() ? line_
                             : withItsPlace(line_, included_.back().shown, included_.back().line);
}

// The file whose lines are being played: the scenario or the innermost include.
ScenarioFile Runner::playing() const {
    return included_.empty() ? ScenarioFile{scenarioPath_, options_.scenarioPath}
                             : ScenarioFile{included_.back().path, included_.back().shown};
}

// The failed check, the failure (one in an included file names its place, as the printed one
// does) and the checks it kept from running.
void Runner::reportFailure(const std::vector<std::string>& lines, const std::string& message) {
    if (firstWord(line_) == "expect") {
        report_->check(gameTime(), shownLine(), false);
    }
    const std::string place =
        included_.empty() ? "" : placeOf(included_.back().shown, included_.back().line) + ": ";
    report_->failure(gameTime(), place + message);
    reportChecksNotRun(lines);
    report_->moment();
}

// The checks after the failing line, innermost file first, as they would have run.
void Runner::reportChecksNotRun(const std::vector<std::string>& lines) {
    std::vector<fs::path> open{scenarioPath_};
    std::vector<UnrunCheck> checks;
    for (const Included& file : included_) {
        open.push_back(file.path);
    }
    for (std::size_t i = included_.size(); i-- > 0;) {
        bool readable = false;
        const Included& file = included_[i];
        collectUnrunChecks(readLines(utf8Of(file.path), readable), file.line,
                           {file.path, file.shown}, lineNumber_, open, checks);
    }
    collectUnrunChecks(lines, lineNumber_, {scenarioPath_, options_.scenarioPath}, 0, open, checks);
    for (const UnrunCheck& check : checks) {
        report_->notRun(check.scenarioLine, check.text);
    }
}

// A run is measured on the host's clock, as `run` is: a paused game's timer stands still.
void Runner::runCheckedFrames(std::uint32_t length) {
    std::uint32_t start = 0;
    for (std::uint32_t tick = start = checkedTick(); tick - start < length;) {
        control("run 1");
        tick = checkInvariants();
    }
}

std::uint32_t Runner::frameStep() {
    const std::string clock = query("query clock");
    const auto at = clock.find("step=");
    return at == std::string::npos
               ? 0
               : static_cast<std::uint32_t>(std::strtoul(clock.c_str() + at + 5, nullptr, 10));
}

void Runner::note(const std::string& text) {
    print(gameTime(), "note: " + text);
}

std::uint32_t Runner::checkedTick() {
    return facts().tick;
}

GameFacts Runner::facts() {
    GameFacts facts;
    std::string error;
    if (!readFacts(query("query facts"), facts, error)) {
        throw Failure{"the emulated game's facts do not read: " + error};
    }
    return facts;
}

// Returns the tick count the facts were read at.
std::uint32_t Runner::checkInvariants() {
    const GameFacts now = facts();
    if (auto broken = invariants_->afterFrame(now.time, now)) {
        char when[32];
        std::snprintf(when, sizeof when, " at %.3f s: ", now.time / 1000.0);
        throw Failure{"rule " + std::string(broken->id) + " broken" + when + broken->what,
                      broken->id};
    }
    return now.tick;
}

std::string Runner::query(const std::string& command) {
    static char reply[65536];  // every greeter a few words: room for thousands
    const int code = tswEmuControl(command.c_str(), reply, sizeof reply);
    if (code != TSW_OK) {
        throw Failure{std::string("emulator failure: ") + reply,
                      code == TSW_EMULATOR_FAILED ? WELL_FORMED_CALLS : std::string_view()};
    }
    return reply;
}

std::vector<std::string> Runner::verbsOfBoth() {
    std::vector<std::string> verbs = simVerbs().verbWords();
    for (const std::string& verb : linesOf(query("query verbs"))) {
        if (std::find(verbs.begin(), verbs.end(), verb) == verbs.end()) {
            verbs.push_back(verb);  // `load` and `run` are the simulator's already
        }
    }
    return verbs;
}

bool Runner::pluginLoaded() {
    return facts().loaded;
}

// Read again only before the next command to the game: a story that writes thousands of lines
// into the data file reads it once, not once a line.
void Runner::filesChanged() {
    filesUnsettled_ = true;
    rulesUnsettled_ = rulesUnsettled_ || invariants_ != nullptr;
}

void Runner::settleFiles() {
    std::string error;
    if (!folder_.writeSettings(error)) {
        throw Failure{error};
    }
    if (filesUnsettled_) {
        resetDataBaseline();
    }
    if (rulesUnsettled_) {
        invariants_->onFilesChanged(readDataFile(DATA_FILE));
    }
    filesUnsettled_ = false;
    rulesUnsettled_ = false;
}

// A fault the emulated host caught is a broken rule too: no malformed call, ever.
std::string Runner::control(const std::string& command) {
    settleFiles();
    static char reply[65536];
    const int code = tswEmuControl(command.c_str(), reply, sizeof reply);
    if (code != TSW_OK) {
        failCommand(command, code, reply);
    }
    return reply;
}

void Runner::failCommand(const std::string& command, int code, const std::string& reply) {
    switch (code) {
        case TSW_EXPECTATION_FAILED:
            throw Failure{reply};
        case TSW_MALFORMED_COMMAND: {
            const auto lineEnd = reply.find('\n');
            throw Failure{reply.substr(0, lineEnd),
                          {},
                          lineEnd == std::string::npos ? "" : reply.substr(lineEnd + 1)};
        }
        case TSW_BAD_COMMAND:
            if (reply.starts_with("unknown command")) {
                const Command words(command);
                if (simVerbs().answers(words.words)) {  // "folder sideways"
                    const ControlReply own = simVerbs().run(*this, words);
                    throw Failure{own.text, {}, own.detail};
                }
                std::vector<std::string> verbs = verbsOfBoth();
                throw Failure{unknownCommand(words.words, verbs),
                              {},
                              pointAt(words, unknownWord(words.words, verbs))};
            }
            throw Failure{"bad command: " + reply};
        default:
            throw Failure{std::string("emulator failure: ") + reply,
                          invariants_ != nullptr ? WELL_FORMED_CALLS : std::string_view()};
    }
}

std::uint32_t Runner::gameTime() {
    char reply[32];
    tswEmuControl("time", reply, sizeof reply);
    return static_cast<std::uint32_t>(std::stoul(reply));
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

// A whole line in one write, and out at once (a crash loses none of the timeline).
void Runner::print(std::uint32_t gameTime, const std::string& text) {
    if (!options_.quiet) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "[%9.3f] ", gameTime / 1000.0);
        const std::string line = stamp + text + "\n";
        const OwnWrites own;
        std::fwrite(line.data(), 1, line.size(), out_);
        std::fflush(out_);
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
    DataFileView now = readDataFile(DATA_FILE);
    if (invariants_) {
        invariants_->onDataFileWritten(now);
    }
    const std::string changes = describeChanges(lastData_, now);
    print(gameTime, changes.empty() ? "data file rewritten, nothing changed"
                                    : "data file written: " + changes);
    lastData_ = std::move(now);
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
