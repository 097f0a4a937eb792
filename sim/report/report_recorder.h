#pragma once
// What a scenario report keeps while the scenario plays: the scenario's source, every line of
// the timeline with the scenario line it came from, every expectation with whether it held (and
// those the failure left unrun), and the world as the emulated host describes it
// (tswEmuReport) after each command and after each frame that put a line on the timeline.
//
// Every time on the timeline is a moment of its own, showing the world as it stood after that
// time's lines; a world is kept once however many moments show it.
#include <cstdint>
#include <string>
#include <vector>

class ReportRecorder {
  public:
    // The fixed places, read once the emulated game exists.
    void start(const std::vector<std::string>& source);
    // The scenario line (1-based) that what follows comes from.
    void at(std::size_t scenarioLine) { scenarioLine_ = scenarioLine; }
    void line(std::uint32_t gameTime, const std::string& text);
    // An `expect` line, held or not.
    void check(std::uint32_t gameTime, const std::string& text, bool held);
    // An `expect` line the failure kept from running, at the scenario line it stands in (or the
    // `include` that holds it).
    void notRun(std::size_t scenarioLine, const std::string& text);
    // The failure that stopped the scenario: on the timeline and at the top of the page.
    void failure(std::uint32_t gameTime, const std::string& message);
    // The world now, for the lines since the last moment.
    void moment();
    // Only when a line came since the last moment.
    void momentIfNewLines();

    // The page (report_page.h) with everything kept; false with the reason when it cannot be
    // written.
    // failedLine: the scenario line that stopped it (0: none, or before the first line).
    bool write(const std::string& path, const std::string& scenario, bool passed,
               std::size_t failedLine, std::string& error) const;

  private:
    struct Line {
        std::uint32_t time;
        std::string kind;  // "command", "event", "held", "failed" (an expectation) or "failure"
        std::string text;
        std::size_t scenarioLine;
    };
    struct Moment {
        std::uint32_t time;
        std::size_t lines;  // lines on the timeline up to which it shows the world
        std::size_t world;  // in worlds_
    };
    struct Unrun {
        std::size_t scenarioLine;
        std::string text;
    };
    void addMoment(std::uint32_t time, std::size_t world);

    std::vector<std::string> source_;
    std::size_t scenarioLine_ = 0;
    std::string map_;
    std::vector<Line> lines_;
    std::vector<Moment> moments_;
    std::vector<std::string> worlds_;  // JSON without the game time, each unlike the one before
    std::vector<Unrun> notRun_;
    std::string failure_;
    std::size_t linesAtLastMoment_ = 0;
};
