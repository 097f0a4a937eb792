#pragma once
// The scenario report as one HTML page that needs nothing else: the viewer (report_page.html,
// its style and script inside it) with the report's data as JSON in a script element.
#include <string>

// data: a JSON object that holds no "<" (JsonWriter escapes it in every text).
std::string reportPage(const std::string& title, const std::string& data);
