#include "tools/trace_compare.h"

#include "emulator/trace.h"

namespace {

std::string describeLine(std::size_t number, const std::string& text) {
    return "  line " + std::to_string(number) + ": " + (text.empty() ? "(end of trace)" : text);
}

// The record in its text form with the addresses masked: compared as text, so that a result
// that is not a number still equals itself.
bool maskedLine(const std::string& line, const NativeTable& table, TraceRecord& record,
                std::string& masked, std::string& error) {
    if (!parseTraceLine(line, table, record, error)) {
        return false;
    }
    masked = formatTraceLine(withoutAddresses(record));
    return true;
}

}  // namespace

TraceComparison compareTraces(std::istream& first, std::istream& second, const NativeTable& table) {
    TraceComparison result;
    std::string a;
    std::string b;
    for (std::size_t number = 1;; ++number) {
        const bool moreA = static_cast<bool>(std::getline(first, a));
        const bool moreB = static_cast<bool>(std::getline(second, b));
        if (!moreA && !moreB) {
            result.same = true;
            return result;
        }
        if (!moreA || !moreB) {
            result.report = "one trace ends before the other:\n" +
                            describeLine(number, moreA ? a : "") + "\n" +
                            describeLine(number, moreB ? b : "");
            return result;
        }
        TraceRecord recordA;
        TraceRecord recordB;
        std::string maskedA;
        std::string maskedB;
        std::string error;
        // Most lines hold no address and are the same bytes: read once, to know they read.
        if (a == b && parseTraceLine(a, table, recordA, error)) {
            result.lines = number;
            continue;
        }
        const bool readA = maskedLine(a, table, recordA, maskedA, error);
        if (!readA || !maskedLine(b, table, recordB, maskedB, error)) {
            result.report = std::string("unreadable record in the ") +
                            (readA ? "second" : "first") + " trace: " + error + "\n" +
                            describeLine(number, readA ? b : a);
            return result;
        }
        if (maskedA != maskedB) {
            result.report = "the traces differ at call " + std::to_string(number) + " (" +
                            table.find(recordA.hash)->name + "):\n" + describeLine(number, a) +
                            "\n" + describeLine(number, b);
            return result;
        }
        result.lines = number;
    }
}
