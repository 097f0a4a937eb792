#include "emulator/trace.h"

namespace {

void appendFormat(std::string& out, const char* format, auto... values) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, format, values...);
    out.append(buffer, static_cast<std::size_t>(length));
}

}  // namespace

std::string formatTraceLine(const TraceRecord& record) {
    std::string line;
    appendFormat(line, "%u ", record.gameTime);
    line += record.script;
    appendFormat(line, " 0x%016llX", static_cast<unsigned long long>(record.hash));
    for (std::uint64_t word : record.args) {
        appendFormat(line, " 0x%llX", static_cast<unsigned long long>(word));
    }
    line += " ->";
    if (record.vectorResult) {
        for (float value : record.resultVector) {
            appendFormat(line, " %.9g", static_cast<double>(value));
        }
    } else {
        appendFormat(line, " 0x%llX", static_cast<unsigned long long>(record.resultWord));
    }
    return line;
}

Trace::~Trace() {
    closeFile();
}

bool Trace::openFile(const std::string& path) {
    closeFile();
    file_ = std::fopen(path.c_str(), "wb");  // LF on every platform
    return file_ != nullptr;
}

void Trace::closeFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

void Trace::add(TraceRecord record) {
    if (file_ != nullptr) {
        std::fputs(formatTraceLine(record).c_str(), file_);
        std::fputc('\n', file_);
    }
    if (keep_) {
        records_.push_back(std::move(record));
    }
}

void Trace::count(std::size_t nativeIndex) {
    if (nativeIndex >= countsSinceMark_.size()) {
        countsSinceMark_.resize(nativeIndex + 1, 0);
    }
    ++countsSinceMark_[nativeIndex];
}

void Trace::mark() {
    countsSinceMark_.assign(countsSinceMark_.size(), 0);
}

std::uint64_t Trace::countSinceMark(std::size_t nativeIndex) const {
    return nativeIndex < countsSinceMark_.size() ? countsSinceMark_[nativeIndex] : 0;
}
