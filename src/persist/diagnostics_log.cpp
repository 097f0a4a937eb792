#include "persist/diagnostics_log.h"

#include <fstream>
#include <utility>

namespace {

constexpr const char* FULL_NOTE =
    "(the log is full: nothing more is written until the game starts again)";
// A line end takes two bytes on Windows.
constexpr std::size_t LINE_END_BYTES = 2;

}  // namespace

void DiagnosticsLog::start(std::string path) {
    path_ = std::move(path);
    size_ = 0;
    on_ = static_cast<bool>(std::ofstream(path_, std::ios::trunc));
}

void DiagnosticsLog::line(const std::string& text) {
    if (!on_) {
        return;
    }
    const std::size_t room = SIZE_LIMIT - size_;
    const std::size_t noteSize = std::char_traits<char>::length(FULL_NOTE) + LINE_END_BYTES;
    if (text.size() + LINE_END_BYTES + noteSize <= room) {
        append(text);
        return;
    }
    append(FULL_NOTE);
    on_ = false;
}

// Text mode, so Notepad shows the lines on Windows. A failed write is simply lost.
void DiagnosticsLog::append(const std::string& text) {
    std::ofstream(path_, std::ios::app) << text << '\n';
    size_ += text.size() + LINE_END_BYTES;
}

DiagnosticsLog& diagnosticsLog() {
    static DiagnosticsLog log;
    return log;
}
