#pragma once
// What a scenario report keeps while the scenario plays: the scenario's source, every line of
// the timeline with the scenario line it came from, every expectation with whether it held,
// and the world as the emulated host describes it (tswEmuReport) after each command and after
// each frame that put a line on the timeline. A moment that shows nothing new is not kept: the
// one before shows the world for those lines too.
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
    // The failure that stopped the scenario: on the timeline and at the top of the page.
    void failure(std::uint32_t gameTime, const std::string& message);
    // The world now, kept when it differs from the last moment kept.
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
        std::string world;  // JSON
    };

    std::vector<std::string> source_;
    std::size_t scenarioLine_ = 0;
    std::string map_;
    std::vector<Line> lines_;
    std::vector<Moment> moments_;
    std::size_t linesAtLastMoment_ = 0;
};
