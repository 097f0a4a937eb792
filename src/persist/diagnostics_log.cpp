#include "persist/diagnostics_log.h"

namespace {

constexpr const char* FULL_NOTE =
    "(the log is full: nothing more is written until the game starts again)";
// A line end takes two bytes on Windows.
constexpr std::size_t LINE_END_BYTES = 2;

}  // namespace

void DiagnosticsLog::start(const std::string& path) {
    file_ = OwnFile();
    size_ = 0;
    std::string error;
    if (createAfresh(path, file_, error) == Creation::NOT_ALLOWED &&
        openOwnFile(path, file_, error) && !file_.truncate(error)) {
        file_ = OwnFile();
    }
}

void DiagnosticsLog::line(const std::string& text) {
    if (!on()) {
        return;
    }
    const std::size_t room = SIZE_LIMIT - size_;
    const std::size_t noteSize = std::char_traits<char>::length(FULL_NOTE) + LINE_END_BYTES;
    if (text.size() + LINE_END_BYTES + noteSize <= room) {
        append(text);
        return;
    }
    append(FULL_NOTE);
    file_ = OwnFile();
}

// Lines end as a text-mode file's do, so Notepad shows them on Windows. A failed write is
// simply lost.
void DiagnosticsLog::append(const std::string& text) {
    std::string ignored;
    file_.write(text + "\n", ignored);
    size_ += text.size() + LINE_END_BYTES;
}

DiagnosticsLog& diagnosticsLog() {
    static DiagnosticsLog log;
    return log;
}
