#include "emulator/trace.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "emulator/disk_limit.h"
#include "emulator/file_path.h"

namespace {

constexpr char HEX_DIGITS[] = "0123456789ABCDEF";

// "%llX": upper-case digits, no leading zeros.
char* putHex(char* out, std::uint64_t word) {
    const int digits = word == 0 ? 1 : (64 - std::countl_zero(word) + 3) / 4;
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = HEX_DIGITS[word & 0xF];
        word >>= 4;
    }
    return out + digits;
}

// "%016llX".
char* putHash(char* out, std::uint64_t hash) {
    for (int i = 15; i >= 0; --i) {
        out[i] = HEX_DIGITS[hash & 0xF];
        hash >>= 4;
    }
    return out + 16;
}

// Room for the longest line with this many arguments and a script name this long.
std::size_t longestLine(std::size_t scriptLength, std::size_t args) {
    constexpr std::size_t TIME = 10;
    constexpr std::size_t WORD = 19;   // " 0x" and 16 digits
    constexpr std::size_t FLOAT = 17;  // " " and the longest %.9g of a float
    return TIME + 1 + scriptLength + WORD + args * WORD + 3 + 3 * FLOAT + 1;
}

// %.9g, which to_chars with a precision of 9 writes alike, without a format string or the
// locale; only a NaN's sign is written differently by the C libraries, so those go to printf.
char* putFloat(char* out, float value) {
    if (std::isnan(value)) {
        return out + std::snprintf(out, 16, "%.9g", static_cast<double>(value));
    }
    return std::to_chars(out, out + 16, value, std::chars_format::general, 9).ptr;
}

}  // namespace

// The one formatter of the text form.
char* formatTraceLine(char* out, const TraceLineParts& line) {
    out = std::to_chars(out, out + 10, line.gameTime).ptr;
    *out++ = ' ';
    out = std::copy(line.script.begin(), line.script.end(), out);
    out = std::copy_n(" 0x", 3, out);
    out = putHash(out, line.hash);
    for (std::size_t i = 0; i < line.argCount; ++i) {
        out = putHex(std::copy_n(" 0x", 3, out), line.args[i]);
    }
    out = std::copy_n(" ->", 3, out);
    if (line.vectorResult) {
        for (float value : line.resultVector) {
            *out++ = ' ';
            out = putFloat(out, value);
        }
    } else {
        out = putHex(std::copy_n(" 0x", 3, out), line.resultWord);
    }
    return out;
}

std::string formatTraceLine(const TraceRecord& record) {
    TraceLineParts parts{
        record.gameTime,    record.script,       record.hash,       record.args.data(),
        record.args.size(), record.vectorResult, record.resultWord, {}};
    std::copy(std::begin(record.resultVector), std::end(record.resultVector), parts.resultVector);
    std::string line(longestLine(record.script.size(), record.args.size()), '\0');
    line.resize(static_cast<std::size_t>(formatTraceLine(line.data(), parts) - line.data()));
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
    file_ = ::openFile(path, "wb");  // LF on every platform
    keepRecords(keep_);
    return file_ != nullptr;
}

void Trace::closeFile() {
    if (file_ != nullptr) {
        flush();
        std::fclose(file_);
        file_ = nullptr;
        keepRecords(keep_);
    }
}

void Trace::write(std::uint32_t gameTime, std::string_view script, const NativeEntry& entry,
                  const std::uint64_t* args, const std::uint64_t* result) {
    if (file_ == nullptr) {
        return;
    }
    constexpr std::size_t BLOCK = 16 * 1024;  // about as much as a crash of the plug-in loses
    const std::size_t room = longestLine(script.size(), entry.argCount);
    if (pending_.size() - used_ < room) {
        flush();
        pending_.resize(std::max(BLOCK, room));
    }
    TraceLineParts parts{
        gameTime, script, entry.hash, args, entry.argCount, entry.resultIsVector(), result[0], {}};
    if (parts.vectorResult) {
        for (std::size_t i = 0; i < 3; ++i) {
            std::memcpy(&parts.resultVector[i], &result[i], sizeof(float));
        }
    }
    char* end = formatTraceLine(pending_.data() + used_, parts);
    *end++ = '\n';
    used_ = static_cast<std::size_t>(end - pending_.data());
}

void Trace::flush() {
    if (file_ != nullptr && used_ > 0) {
        const OwnWrites own;
        std::fwrite(pending_.data(), 1, used_, file_);
        std::fflush(file_);
    }
    used_ = 0;
}
