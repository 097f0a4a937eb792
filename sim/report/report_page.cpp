#include "sim/report/report_page.h"

#include "emulator/json_writer.h"

// The template, made from report_page.html by the build (sim/CMakeLists.txt).
extern const char* const REPORT_PAGE_TEMPLATE;

namespace {

// The title as HTML text.
std::string escapedText(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '&':
                escaped += "&amp;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

}  // namespace

// The markers are found in the template itself, so a title or data that holds a marker's
// text is never taken for one.
std::string reportPage(const std::string& title, const std::string& data) {
    const std::string page = REPORT_PAGE_TEMPLATE;
    const std::string titleMarker = "TSW_REPORT_TITLE";
    const std::string dataMarker = "TSW_REPORT_DATA";
    const auto titleAt = page.find(titleMarker);
    const auto dataAt = page.find(dataMarker, titleAt + titleMarker.size());
    return page.substr(0, titleAt) + escapedText(title) +
           page.substr(titleAt + titleMarker.size(), dataAt - titleAt - titleMarker.size()) + data +
           page.substr(dataAt + dataMarker.size());
}
