#include "emulator/trace.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

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

ParamLetters splitParams(std::string_view params) {
    const auto arrow = params.find('>');
    if (arrow == std::string_view::npos) {
        return {params, false, false};
    }
    const std::string_view result = params.substr(arrow + 1);
    return {params.substr(0, arrow), result == "p", result == "v"};
}

namespace {

std::vector<std::string_view> splitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const auto start = line.find_first_not_of(" \t\r", at);
        if (start == std::string_view::npos) {
            break;
        }
        const auto end = std::min(line.find_first_of(" \t\r", start), line.size());
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

// "0x" and at least one hexadecimal digit, nothing else.
bool readHex(std::string_view word, std::uint64_t& value) {
    if (word.size() < 3 || word.substr(0, 2) != "0x") {
        return false;
    }
    const auto [end, error] =
        std::from_chars(word.data() + 2, word.data() + word.size(), value, 16);
    return error == std::errc{} && end == word.data() + word.size();
}

bool readFloat(std::string_view word, float& value) {
    const std::string text(word);  // strtof reads "nan" and "inf", as printf writes them
    char* end = nullptr;
    value = std::strtof(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

}  // namespace

bool parseTraceLine(std::string_view line, const NativeTable& table, TraceRecord& record,
                    std::string& error) {
    const std::vector<std::string_view> words = splitWords(line);
    std::uint64_t hash = 0;
    const auto time =
        words.empty()
            ? std::from_chars_result{}
            : std::from_chars(words[0].data(), words[0].data() + words[0].size(), record.gameTime);
    if (words.size() < 5 || time.ec != std::errc{} ||
        time.ptr != words[0].data() + words[0].size() || words[2].size() != 18 ||
        !readHex(words[2], hash)) {
        error = "not a trace record";
        return false;
    }
    const NativeEntry* entry = table.find(hash);
    if (entry == nullptr) {
        error = "unknown native " + std::string(words[2]);
        return false;
    }
    const std::size_t arrow =
        static_cast<std::size_t>(std::find(words.begin() + 3, words.end(), "->") - words.begin());
    const std::size_t results = arrow < words.size() ? words.size() - arrow - 1 : 0;
    const auto mismatch = [&] {
        error = std::string(entry->name) + " record does not match its parameters \"" +
                entry->params + "\"";
        return false;
    };
    if (arrow - 3 != entry->arity() || results != (entry->resultIsVector() ? 3u : 1u)) {
        return mismatch();
    }
    record.script = std::string(words[1]);
    record.hash = hash;
    record.params = entry->params;
    record.args.resize(arrow - 3);
    for (std::size_t i = 0; i < record.args.size(); ++i) {
        if (!readHex(words[3 + i], record.args[i])) {
            return mismatch();
        }
    }
    record.vectorResult = results == 3;
    record.resultWord = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        record.resultVector[i] = 0.0f;
        if (record.vectorResult && !readFloat(words[arrow + 1 + i], record.resultVector[i])) {
            return mismatch();
        }
    }
    return record.vectorResult || readHex(words[arrow + 1], record.resultWord) || mismatch();
}

TraceRecord withoutAddresses(TraceRecord record) {
    const ParamLetters letters = splitParams(record.params);
    for (std::size_t i = 0; i < record.args.size() && i < letters.args.size(); ++i) {
        if (letters.args[i] == 'p') {
            record.args[i] = 0;
        }
    }
    if (letters.addressResult) {
        record.resultWord = 0;
    }
    return record;
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

void Trace::mark() {
    countsSinceMark_.assign(countsSinceMark_.size(), 0);
}

std::uint64_t Trace::countSinceMark(std::size_t nativeIndex) const {
    return nativeIndex < countsSinceMark_.size() ? countsSinceMark_[nativeIndex] : 0;
}
