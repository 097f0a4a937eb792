#include "sim/chaos.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "sim/chaos_progress.h"
#include "sim/chaos_story.h"
#include "sim/rules.h"

namespace {

using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class Shrinker {
  public:
    Shrinker(const ChaosOptions& options, std::string rule)
        : options_(options), rule_(std::move(rule)) {}

    // Delta debugging: drop ever smaller chunks of the units while the rule still breaks.
    std::vector<Lines> shrink(std::vector<Lines> units) {
        std::size_t chunks = 2;
        while (units.size() >= 2 && !outOfReplays()) {
            const std::size_t size = (units.size() + chunks - 1) / chunks;
            bool reduced = false;
            for (std::size_t first = 0; first < units.size() && !outOfReplays(); first += size) {
                std::vector<Lines> candidate(units.begin(), units.begin() + first);
                candidate.insert(candidate.end(),
                                 units.begin() + std::min(units.size(), first + size), units.end());
                if (stillBreaks(candidate)) {
                    units = std::move(candidate);
                    chunks = std::max<std::size_t>(chunks - 1, 2);
                    reduced = true;
                    break;
                }
            }
            if (!reduced) {
                if (chunks >= units.size()) {
                    break;
                }
                chunks = std::min(units.size(), chunks * 2);
            }
        }
        return units;
    }

    bool stillBreaks(const std::vector<Lines>& units) {
        ++tries_;
        ScenarioOptions scenario = options_.scenario;
        scenario.quiet = true;
        scenario.scenarioPath = "shrinking";
        std::FILE* sink = std::tmpfile();
        Lines lines{"invariants on"};
        const Lines story = join(units);
        lines.insert(lines.end(), story.begin(), story.end());
        const ScenarioOutcome outcome = playScenarioLines(scenario, lines, sink);
        std::fclose(sink);
        return outcome.invariantBroken && outcome.brokenRule == rule_;
    }

    static Lines join(const std::vector<Lines>& units) {
        Lines lines;
        for (const Lines& unit : units) {
            lines.insert(lines.end(), unit.begin(), unit.end());
        }
        return lines;
    }

    std::size_t tries() const { return tries_; }
    bool outOfReplays() const { return tries_ >= options_.shrinkReplays; }

  private:
    const ChaosOptions& options_;
    std::string rule_;
    std::size_t tries_ = 0;
};

// The story up to the line that broke, in steps (each up to and including its `run`).
std::vector<Lines> stepsUpTo(const Lines& story, std::size_t failedLine) {
    std::vector<Lines> steps(1);
    for (std::size_t i = 0; i < story.size() && i < failedLine; ++i) {
        steps.back().push_back(story[i]);
        if (story[i].rfind("run ", 0) == 0) {
            steps.emplace_back();
        }
    }
    if (steps.back().empty()) {
        steps.pop_back();
    }
    return steps;
}

std::vector<Lines> linesAsUnits(const Lines& lines) {
    std::vector<Lines> units;
    for (const std::string& line : lines) {
        units.push_back({line});
    }
    return units;
}

std::string writeScenario(const ChaosOptions& options, std::uint64_t seed,
                          const std::string& failure, const Lines& lines) {
    std::filesystem::create_directories(options.outDir);
    const std::filesystem::path path = std::filesystem::path(options.outDir) /
                                       (std::string("chaos-") + std::to_string(seed) + ".txt");
    std::ofstream file(path);
    file << "# Found by tsw-sim --chaos " << seed << " --frames " << options.frames
         << ", shrunk to the commands that still break the rule:\n# " << failure
         << "\ninvariants on\n";
    for (const std::string& line : lines) {
        file << line << "\n";
    }
    return path.string();
}

}  // namespace

// Two passes, steps then single commands; every candidate is played with the rules on.
Lines shrinkStory(const ChaosOptions& options, const Lines& story, const ScenarioOutcome& broken,
                  std::size_t& tries) {
    Shrinker shrinker(options, broken.brokenRule);
    std::vector<Lines> steps = stepsUpTo(story, broken.failedLine);
    std::erase_if(steps.front(), [](const std::string& l) { return l == "invariants on"; });
    const std::vector<Lines> kept = shrinker.shrink(steps);
    std::vector<Lines> units = linesAsUnits(Shrinker::join(kept));
    units = shrinker.shrink(units);
    tries = shrinker.tries();
    return Shrinker::join(units);
}

namespace {

int reportBreak(const ChaosOptions& options, std::uint64_t seed, const Lines& story,
                const ScenarioOutcome& outcome, std::FILE* out) {
    std::fprintf(out, "seed %llu: %s\n", static_cast<unsigned long long>(seed),
                 outcome.failure.c_str());
    if (!outcome.invariantBroken) {
        std::fprintf(out, "(not a rule of the game: the story itself went wrong at line %zu)\n",
                     outcome.failedLine);
        return 1;
    }
    std::size_t tries = 0;
    const Lines shrunk = shrinkStory(options, story, outcome, tries);
    const std::string path = writeScenario(options, seed, outcome.failure, shrunk);
    std::fprintf(out, "shrunk from %zu to %zu commands in %zu replays%s: %s\n", story.size(),
                 shrunk.size() + 1, tries,
                 tries >= options.shrinkReplays ? " (all it may take; it may shrink further)" : "",
                 path.c_str());
    return 1;
}

}  // namespace

namespace {

// The frames each rule was put to the test in, over the games played.
class RuleTally {
  public:
    RuleTally() : frames_(rules().size()) {}

    void add(const std::vector<std::uint64_t>& frames) {
        for (std::size_t i = 0; i < frames.size() && i < frames_.size(); ++i) {
            frames_[i] += frames[i];
        }
    }

    // The rules no game put to the test: the games could not have broken them.
    std::string untested() const {
        std::string ids;
        for (std::size_t i = 0; i < frames_.size(); ++i) {
            if (frames_[i] == 0) {
                ids += std::string(ids.empty() ? "" : ", ") + rules()[i].id;
            }
        }
        return ids;
    }

    // "ID FRAMES" a line, every rule, for a count over several runs (tests/scenario/).
    bool write(const std::filesystem::path& path) const {
        std::ofstream file(path);
        for (std::size_t i = 0; i < frames_.size(); ++i) {
            file << rules()[i].id << " " << frames_[i] << "\n";
        }
        return static_cast<bool>(file);
    }

  private:
    std::vector<std::uint64_t> frames_;
};

// Seconds left: what the time allows, or the games still to play at the pace so far.
double secondsLeft(const ChaosOptions& options, std::uint64_t played, double elapsed) {
    if (options.seconds > 0) {
        return std::max(0.0, options.seconds - elapsed);
    }
    return played == 0 ? 0 : elapsed / played * static_cast<double>(options.seeds - played);
}

}  // namespace

int runChaos(const ChaosOptions& options, std::FILE* out) {
    const Clock::time_point start = Clock::now();
    ChaosProgress progress(options.progress != nullptr ? options.progress : out);
    std::uint64_t played = 0;
    std::set<std::string> broken;  // the rules broken so far; each shrunk once, at its first seed
    RuleTally tally;
    bool failed = false;
    for (std::uint64_t seed = options.firstSeed;; ++seed) {
        const bool timed = options.seconds > 0;
        if ((timed && secondsSince(start) >= options.seconds) ||
            (!timed && played == options.seeds)) {
            break;
        }
        const Lines story = chaosStory(seed, options.frames);
        ScenarioOptions scenario = options.scenario;
        scenario.quiet = true;
        scenario.scenarioPath = std::string("chaos seed ") + std::to_string(seed);
        std::FILE* sink = std::tmpfile();
        const ScenarioOutcome outcome = playScenarioLines(scenario, story, sink);
        std::fclose(sink);
        ++played;
        tally.add(outcome.ruleTests);
        if (!outcome.passed) {
            failed = true;
            const std::string rule = outcome.invariantBroken ? outcome.brokenRule : outcome.failure;
            if (broken.insert(rule).second) {
                if (options.progress != nullptr) {
                    progress.finish();
                }
                reportBreak(options, seed, story, outcome, out);
            }
        }
        if (options.progress != nullptr) {
            const double elapsed = secondsSince(start);
            progress.update({played, played * options.frames, broken.size(), elapsed,
                             secondsLeft(options, played, elapsed)});
        }
    }
    if (options.progress != nullptr) {
        progress.finish();
    }
    const std::string verdict = !failed ? "held every rule"
                                        : "broke " + std::to_string(broken.size()) +
                                              (broken.size() == 1 ? " rule" : " rules");
    std::fprintf(
        out, "%llu games of %llu frames %s (seeds %llu to %llu, %.1f s)\n",
        static_cast<unsigned long long>(played), static_cast<unsigned long long>(options.frames),
        verdict.c_str(), static_cast<unsigned long long>(options.firstSeed),
        static_cast<unsigned long long>(options.firstSeed + played - 1), secondsSince(start));
    if (const std::string untested = tally.untested(); !untested.empty()) {
        std::fprintf(out, "no game put these rules to the test (none could have broken them): %s\n",
                     untested.c_str());
    }
    const std::filesystem::path tallyPath =
        std::filesystem::path(options.outDir) /
        ("rules-tested-" + std::to_string(options.firstSeed) + ".txt");
    std::error_code error;
    std::filesystem::create_directories(options.outDir, error);
    if (!tally.write(tallyPath)) {
        std::fprintf(out, "cannot write %s\n", tallyPath.string().c_str());
        return 1;
    }
    return failed ? 1 : 0;
}
