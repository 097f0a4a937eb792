#include "sim/report/report_recorder.h"

#include <fstream>

#include "emulator/control_api.h"
#include "emulator/json_writer.h"
#include "sim/report/report_page.h"

namespace {

// The emulated host's JSON, through the C interface (so also across the DLL under Wine).
std::string fetch(int part) {
    std::string text(64 * 1024, '\0');
    std::size_t length = tswEmuReport(part, text.data(), text.size());
    if (length >= text.size()) {
        text.resize(length + 1);
        length = tswEmuReport(part, text.data(), text.size());
    }
    text.resize(length);
    return text;
}

// The world without its first member, the game time: two moments alike but for the time show
// nothing new.
std::string withoutTime(const std::string& world) {
    const auto comma = world.find(',');
    return comma == std::string::npos ? std::string() : world.substr(comma);
}

}  // namespace

void ReportRecorder::start(const std::vector<std::string>& source) {
    source_ = source;
    map_ = fetch(TSW_REPORT_MAP);
}

void ReportRecorder::line(std::uint32_t gameTime, const std::string& text) {
    const bool command = text.rfind("> ", 0) == 0;
    lines_.push_back(
        {gameTime, command ? "command" : "event", command ? text.substr(2) : text, scenarioLine_});
}

void ReportRecorder::check(std::uint32_t gameTime, const std::string& text, bool held) {
    lines_.push_back({gameTime, held ? "held" : "failed", text, scenarioLine_});
}

void ReportRecorder::failure(std::uint32_t gameTime, const std::string& message) {
    lines_.push_back({gameTime, "failure", message, scenarioLine_});
}

void ReportRecorder::moment() {
    linesAtLastMoment_ = lines_.size();
    std::string world = fetch(TSW_REPORT_STATE);
    if (!moments_.empty() && withoutTime(moments_.back().world) == withoutTime(world)) {
        moments_.back().lines = lines_.size();  // the lines since changed nothing it shows
        return;
    }
    const auto time = static_cast<std::uint32_t>(std::stoul(world.substr(world.find(':') + 1)));
    moments_.push_back({time, lines_.size(), std::move(world)});
}

void ReportRecorder::momentIfNewLines() {
    if (lines_.size() != linesAtLastMoment_) {
        moment();
    }
}

bool ReportRecorder::write(const std::string& path, const std::string& scenario, bool passed,
                           std::size_t failedLine, std::string& error) const {
    JsonWriter json;
    json.beginObject();
    json.field("scenario", scenario);
    json.field("passed", passed);
    json.field("failedLine", static_cast<std::uint32_t>(failedLine));
    json.key("source").beginArray();
    for (const std::string& text : source_) {
        json.value(text);
    }
    json.endArray();
    json.key("lines").beginArray();
    for (const Line& line : lines_) {
        json.beginArray();
        json.value(line.time);
        json.value(line.kind);
        json.value(line.text);
        json.value(static_cast<std::uint32_t>(line.scenarioLine));
        json.endArray();
    }
    json.endArray();
    json.endObject();
    // The world's JSON goes in as the emulated host wrote it.
    std::string data = json.text();
    data.pop_back();
    data += ",\"map\":" + (map_.empty() ? std::string("{}") : map_) + ",\"moments\":[";
    for (std::size_t i = 0; i < moments_.size(); ++i) {
        data += (i == 0 ? "{\"lines\":" : ",{\"lines\":") + std::to_string(moments_[i].lines) +
                ",\"world\":" + moments_[i].world + "}";
    }
    data += "]}";
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << reportPage(scenario, data);
    if (!file.flush()) {
        error = "cannot write the report " + path;
        return false;
    }
    return true;
}
