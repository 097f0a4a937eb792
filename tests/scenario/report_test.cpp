// The scenario report's page and what it keeps; the page in a real browser is tested in
// tests/report.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "sim/report/report_page.h"
#include "sim/scenario_runner.h"
#include "tests/process_folder.h"

namespace {

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Plays the story with a report and returns the page.
std::string reportOf(const std::string& story, int expectedResult) {
    const auto folder = processFolder("tsw-report");
    std::ofstream(folder / "report_story.txt") << story;
    ScenarioOptions options;
    options.scenarioPath = (folder / "report_story.txt").string();
    options.pluginPath = TSW_PLUGIN;
    options.reportPath = (folder / "report_story.html").string();
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(runScenario(options, out), expectedResult);
    std::fclose(out);
    std::ifstream page(options.reportPath);
    std::ostringstream text;
    text << page.rdbuf();
    return text.str();
}

// The time of the timeline line (as the page's data holds it) that starts with the text.
std::uint32_t timeOfLine(const std::string& page, const std::string& text) {
    const auto at = page.find(",\"event\",\"" + text);
    EXPECT_NE(at, std::string::npos) << text;
    const auto start = page.rfind('[', at);
    return at == std::string::npos ? 0
                                   : static_cast<std::uint32_t>(std::stoul(page.substr(start + 1)));
}

}  // namespace

// One file that works offline: nothing is fetched, linked or imported.
TEST(ReportPage, NeedsNothingFromOutside) {
    const std::string page = reportPage("story", "{}");
    for (const char* outside : {"src=", "<link", "url(", "@import", "fetch(", "XMLHttpRequest",
                                "href=\"http", "href='http"}) {
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;
    }
    EXPECT_NE(page.find("id=\"report-data\">{}</script>"), std::string::npos);
}

TEST(ReportPage, TitleIsTextAndMarkersInItStayText) {
    const std::string page = reportPage("a<b>&TSW_REPORT_DATA", "{\"x\":1}");
    EXPECT_NE(page.find("<title>a&lt;b&gt;&amp;TSW_REPORT_DATA</title>"), std::string::npos);
    EXPECT_NE(page.find("id=\"report-data\">{\"x\":1}</script>"), std::string::npos);
}

// Every time on the timeline is a moment, showing the world after that time's lines; a moment
// at a time already kept, with the world unchanged, only shows more lines, and a world is kept
// once however many moments show it. Each line keeps the scenario line it came from, and an
// expectation is a line of its own.
TEST(Report, EveryTimelineTimeIsAMoment) {
    const std::string page =
        reportOf("player at 1 2 3\nrun 100\nrun 100\nplayer at 4 5 6\nexpect badge none\n", 0);
    EXPECT_NE(page.find("\"moments\":[{\"time\":0,\"lines\":0,\"world\":0},{\"time\":0,"
                        "\"lines\":2,\"world\":1},{\"time\":112,\"lines\":3,\"world\":1},{"
                        "\"time\":224,\"lines\":5,\"world\":2}]"),
              std::string::npos)
        << page;
    EXPECT_EQ(occurrences(page, "{\"player\":"), 3u) << page;
    EXPECT_NE(page.find("\"lines\":[[0,\"command\",\"player at 1 2 3\",1],[0,\"command\",\"run "
                        "100\",2],[112,\"command\",\"run 100\",3],[224,\"command\",\"player at 4 5 "
                        "6\",4],[224,\"held\",\"expect badge none\",5]]"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("\"passed\":true,\"failedLine\":0,\"source\":[\"player at 1 2 3\",\"run "
                        "100\",\"run 100\",\"player at 4 5 6\",\"expect badge none\"]"),
              std::string::npos)
        << page;
}

// A frame's lines carry its time and a line the simulator adds after it (the data file's write)
// the next frame's: each time is a moment, both showing the world after that frame.
TEST(Report, ALineAfterTheFrameIsAMomentOfItsOwnTime) {
    const std::string page = reportOf(
        "nodata\nload\nrun 1000\nplayer at office 2\nrun 500\nprompt use Select Badge\nrun 100\n",
        0);
    const std::uint32_t attached = timeOfLine(page, "s_badgeusmarshal01x #257 attached");
    const std::uint32_t written = timeOfLine(page, "data file written: badge=0");
    EXPECT_EQ(written, attached + 16);
    for (const std::uint32_t time : {attached, written}) {
        EXPECT_NE(page.find("{\"time\":" + std::to_string(time) + ","), std::string::npos)
            << "no moment at " << time << ": " << page;
    }
}

// The failed expectation and the failure stand at the failure's time, with its line; the checks
// it kept from running are listed with their lines, an unplayed include's too.
TEST(Report, FailureIsKeptWithItsLineAndTimeAndWhatItKeptFromRunning) {
    const auto folder = processFolder("tsw-report");
    std::ofstream(folder / "report_later.txt") << "run 100\nexpect blips 0\n";
    const std::string page =
        reportOf("# blips\nrun 100\nexpect blips 3\nexpect blips 0\ninclude report_later.txt\n", 1);
    EXPECT_NE(page.find("\"passed\":false,\"failedLine\":3"), std::string::npos);
    EXPECT_NE(page.find("\"failure\":\"expected 3 blips on the map, found 0\""), std::string::npos)
        << page;
    EXPECT_NE(page.find("[112,\"failed\",\"expect blips 3\",3],[112,\"failure\",\"line 3: expected "
                        "3 blips on the map, found 0\",3]"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("\"notRun\":[[4,\"expect blips 0\"],[5,\"expect blips 0  (" +
                        (folder / "report_later.txt").string() + ":2)\"]]"),
              std::string::npos)
        << page;
}

// A failure inside an included file names its place; what it kept from running is the rest of
// that file first, then the rest of the scenario.
TEST(Report, AFailureInAnIncludedFileKeepsTheRestOfBothFromRunning) {
    const auto folder = processFolder("tsw-report");
    const std::string inner = (folder / "report_inner.txt").string();
    std::ofstream(inner) << "expect blips 3\nexpect badge none\n";
    const std::string page = reportOf("include report_inner.txt\nexpect blips 0\n", 1);
    EXPECT_NE(page.find("\"failure\":\"" + inner + ":1: expected 3 blips"), std::string::npos)
        << page;
    EXPECT_NE(page.find("\"notRun\":[[1,\"expect badge none  (" + inner +
                        ":2)\"],[2,\"expect blips 0\"]]"),
              std::string::npos)
        << page;
}

// A check in an included file says where it stands, and belongs to the include's line.
TEST(Report, AnIncludedCheckNamesItsFile) {
    const auto folder = processFolder("tsw-report");
    std::ofstream(folder / "report_setup.txt") << "run 100\nexpect blips 0\n";
    const std::string page = reportOf("# set up\ninclude report_setup.txt\n", 0);
    EXPECT_NE(page.find("[112,\"held\",\"expect blips 0  (" +
                        (folder / "report_setup.txt").string() + ":2)\",2]"),
              std::string::npos)
        << page;
}

// An included file's commands are moments as the story's are: its check shows the world it
// held in, not the one a later command at the same time made.
TEST(Report, AnIncludedCommandIsAMomentOfItsOwn) {
    const auto folder = processFolder("tsw-report");
    std::ofstream(folder / "report_moves.txt") << "player at 1 2 3\nexpect badge none\n"
                                                  "player at 4 5 6\n";
    const std::string page = reportOf("include report_moves.txt\n", 0);
    EXPECT_EQ(occurrences(page, "{\"player\":"), 3u) << page;
    EXPECT_NE(page.find("\"moments\":[{\"time\":0,\"lines\":0,\"world\":0},{\"time\":0,"
                        "\"lines\":3,\"world\":1},{\"time\":0,\"lines\":4,\"world\":2}]"),
              std::string::npos)
        << page;
}
