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

// A moment is kept after each command and each frame with a timeline line, but only when the
// world differs from the last one kept (a later game time alone is nothing new); the last one
// then shows the world for those lines too. Each line keeps the scenario line it came from, and
// an expectation is a line of its own.
TEST(Report, KeepsAMomentOnlyWhenTheWorldChanged) {
    const std::string page =
        reportOf("player at 1 2 3\nrun 100\nrun 100\nplayer at 4 5 6\nexpect badge none\n", 0);
    EXPECT_EQ(occurrences(page, "{\"lines\":"), 3u) << page;
    // Each moment shows the world up to the line before the next one: the runs changed nothing.
    for (const char* moment : {"{\"lines\":0,", "{\"lines\":3,", "{\"lines\":5,"}) {
        EXPECT_NE(page.find(moment), std::string::npos) << moment;
    }
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

// The failed expectation and the failure stand at the failure's time, with its line.
TEST(Report, FailureIsKeptWithItsLineAndTime) {
    const std::string page = reportOf("# blips\nrun 100\nexpect blips 3\n", 1);
    EXPECT_NE(page.find("\"passed\":false,\"failedLine\":3"), std::string::npos);
    EXPECT_NE(page.find("[112,\"failed\",\"expect blips 3\",3],[112,\"failure\",\"line 3: expected "
                        "3 blips on the map, found 0\",3]"),
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
