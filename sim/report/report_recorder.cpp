#include "sim/report/report_recorder.h"

#include <fstream>

#include "emulator/control_api.h"
#include "emulator/file_path.h"
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

// The world's JSON without its first member, the game time: two moments alike but for the
// time share one world.
std::string withoutTime(const std::string& world) {
    const auto comma = world.find(',');
    if (comma == std::string::npos) {
        return "{}";
    }
    std::string rest = "{";  // gcc 12 warns falsely about "{" + std::string (-Wrestrict)
    rest.append(world, comma + 1);
    return rest;
}

std::uint32_t timeOf(const std::string& world) {
    return static_cast<std::uint32_t>(std::stoul(world.substr(world.find(':') + 1)));
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
    failure_ = message;
    const std::string where =
        scenarioLine_ == 0 ? std::string() : "line " + std::to_string(scenarioLine_) + ": ";
    lines_.push_back({gameTime, "failure", where + message, scenarioLine_});
}

void ReportRecorder::notRun(std::size_t scenarioLine, const std::string& text) {
    notRun_.push_back({scenarioLine, text});
}

// Each time among the new lines gets a moment; all show the world now, which is how it stood
// after each of them (a frame's lines come before the world can be read, and a line the
// simulator adds after the frame, such as a data file's write, carries the next frame's time).
void ReportRecorder::moment() {
    const std::string now = fetch(TSW_REPORT_STATE);
    std::string world = withoutTime(now);
    if (worlds_.empty() || worlds_.back() != world) {
        worlds_.push_back(std::move(world));
    }
    const std::size_t shown = worlds_.size() - 1;
    if (moments_.empty()) {
        addMoment(timeOf(now), shown);
    } else if (linesAtLastMoment_ == lines_.size()) {
        moments_.back().world = shown;  // a change no line told of: those lines lead to it
    }
    for (std::size_t i = linesAtLastMoment_; i < lines_.size(); ++i) {
        if (i + 1 == lines_.size() || lines_[i + 1].time != lines_[i].time) {
            linesAtLastMoment_ = i + 1;
            addMoment(lines_[i].time, shown);
        }
    }
}

// A moment at the last one's time with the same world only shows more lines.
void ReportRecorder::addMoment(std::uint32_t time, std::size_t world) {
    if (!moments_.empty() && moments_.back().time == time && moments_.back().world == world) {
        moments_.back().lines = linesAtLastMoment_;
        return;
    }
    moments_.push_back({time, linesAtLastMoment_, world});
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
    json.field("failure", failure_);
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
    json.key("notRun").beginArray();
    for (const Unrun& check : notRun_) {
        json.beginArray();
        json.value(static_cast<std::uint32_t>(check.scenarioLine));
        json.value(check.text);
        json.endArray();
    }
    json.endArray();
    json.key("moments").beginArray();
    for (const Moment& moment : moments_) {
        json.beginObject();
        json.field("time", moment.time);
        json.field("lines", static_cast<std::uint32_t>(moment.lines));
        json.field("world", static_cast<std::uint32_t>(moment.world));
        json.endObject();
    }
    json.endArray();
    json.endObject();
    // The worlds' JSON goes in as the emulated host wrote it.
    std::string data = json.text();
    data.pop_back();
    data += ",\"map\":" + (map_.empty() ? std::string("{}") : map_) + ",\"worlds\":[";
    for (std::size_t i = 0; i < worlds_.size(); ++i) {
        data += (i == 0 ? "" : ",") + worlds_[i];
    }
    data += "]}";
    std::ofstream file(pathOf(path), std::ios::binary | std::ios::trunc);
    file << reportPage(scenario, data);
    if (!file.flush()) {
        error = "cannot write the report " + path;
        return false;
    }
    return true;
}
