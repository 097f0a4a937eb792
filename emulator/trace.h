#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/native_table.h"
#include "host/native_hashes.h"

// One native call as the host saw it. The text form is a contract other tools read:
//   <game ms> <script> 0x<hash, 16 digits> 0x<word> ... -> 0x<result word>
// with the result of a native that answers a position (">v") written as its three floats
// instead of the word, whatever the call answered.
struct TraceRecord {
    std::uint32_t gameTime = 0;
    std::string script;
    NativeHash hash = 0;
    std::vector<std::uint64_t> args;
    std::string params;  // the parameter letters (native_table.h), to tell addresses from values
    bool vectorResult = false;
    std::uint64_t resultWord = 0;
    float resultVector[3] = {0.0f, 0.0f, 0.0f};

    bool operator==(const TraceRecord&) const = default;
};

// A native's parameter letters (native_table.h) split into the arguments and the result mark.
struct ParamLetters {
    std::string_view args;
    bool addressResult = false;  // ">p": the result is an address
    bool vectorResult = false;   // ">v": the result is a position
};
ParamLetters splitParams(std::string_view params);

std::string formatTraceLine(const TraceRecord& record);
// Reads a line of the text form back. The native must be one the table knows and the line must
// carry as many arguments as its letters give; false with the reason otherwise.
bool parseTraceLine(std::string_view line, const NativeTable& table, TraceRecord& record,
                    std::string& error);
// Addresses (pointer arguments, ">p" results) differ between runs and builds: set to 0, so
// that two runs' records compare equal when everything else is.
TraceRecord withoutAddresses(TraceRecord record);

// Collects records (when asked), writes them to a file (when asked) and counts calls per native
// since the last mark.
class Trace {
  public:
    ~Trace();
    bool openFile(const std::string& path);
    void closeFile();
    void keepRecords(bool keep) { keep_ = keep; }
    bool wantsRecords() const { return keep_ || file_ != nullptr; }

    void add(TraceRecord record);
    void count(std::size_t nativeIndex) {
        if (nativeIndex >= countsSinceMark_.size()) {
            countsSinceMark_.resize(nativeIndex + 1, 0);
        }
        ++countsSinceMark_[nativeIndex];
    }
    void mark();
    std::uint64_t countSinceMark(std::size_t nativeIndex) const;

    const std::vector<TraceRecord>& records() const { return records_; }

  private:
    std::FILE* file_ = nullptr;
    bool keep_ = false;
    std::vector<TraceRecord> records_;
    std::vector<std::uint64_t> countsSinceMark_;
};
