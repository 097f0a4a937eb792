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

// One line's parts as a call leaves them, so a call can be written without making a record.
struct TraceLineParts {
    std::uint32_t gameTime = 0;
    std::string_view script;
    NativeHash hash = 0;
    const std::uint64_t* args = nullptr;
    std::size_t argCount = 0;
    bool vectorResult = false;
    std::uint64_t resultWord = 0;
    float resultVector[3] = {0.0f, 0.0f, 0.0f};
};

std::string formatTraceLine(const TraceRecord& record);
// Writes the line (without its line end) at out, which has room for it; returns its end.
char* formatTraceLine(char* out, const TraceLineParts& line);
// Reads a line of the text form back. The native must be one the table knows and the line must
// carry as many arguments as its letters give; false with the reason otherwise.
bool parseTraceLine(std::string_view line, const NativeTable& table, TraceRecord& record,
                    std::string& error);
// Addresses (pointer arguments, ">p" results) differ between runs and builds: set to 0, so
// that two runs' records compare equal when everything else is.
TraceRecord withoutAddresses(TraceRecord record);

// Writes every call to a file (when asked) and keeps records (when asked, for tests).
class Trace {
  public:
    ~Trace();
    bool openFile(const std::string& path);
    void closeFile();
    void keepRecords(bool keep) {
        keep_ = keep;
        wanted_ = keep_ || file_ != nullptr;
    }
    bool keepsRecords() const { return keep_; }
    bool wantsRecords() const { return wanted_; }

    // One call in the text form, straight from the call's words: no record is made. Lines are
    // gathered and written a block at a time, and at the end of every frame.
    void write(std::uint32_t gameTime, std::string_view script, const NativeEntry& entry,
               const std::uint64_t* args, const std::uint64_t* result);
    void flush();
    void keep(TraceRecord record) { records_.push_back(std::move(record)); }

    const std::vector<TraceRecord>& records() const { return records_; }

  private:
    std::FILE* file_ = nullptr;
    std::vector<char> pending_;  // formatted lines not yet written
    std::size_t used_ = 0;
    bool keep_ = false;
    bool wanted_ = false;  // kept or written: asked of every call
    std::vector<TraceRecord> records_;
};
