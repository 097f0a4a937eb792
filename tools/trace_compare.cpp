#include "tools/trace_compare.h"

#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

const char* const ADDRESS = "<address>";

std::vector<std::string> splitWords(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    std::string word;
    while (stream >> word) {
        words.push_back(word);
    }
    return words;
}

bool parseHash(const std::string& word, NativeHash& hash) {
    if (word.size() != 18 || word.rfind("0x", 0) != 0) {
        return false;
    }
    char* end = nullptr;
    hash = std::strtoull(word.c_str() + 2, &end, 16);
    return *end == '\0';
}

// Letters before '>' are the arguments; a ">p" suffix marks an address result.
struct Signature {
    std::string args;
    bool addressResult = false;
};

Signature signatureOf(const NativeEntry& entry) {
    const std::string params = entry.params;
    const auto arrow = params.find('>');
    if (arrow == std::string::npos) {
        return {params, false};
    }
    return {params.substr(0, arrow), params.substr(arrow + 1) == "p"};
}

std::string describeLine(std::size_t number, const std::string& text) {
    return "  line " + std::to_string(number) + ": " + (text.empty() ? "(end of trace)" : text);
}

}  // namespace

bool maskAddresses(const std::string& line, const NativeTable& table, std::string& masked,
                   std::string& error) {
    const std::vector<std::string> words = splitWords(line);
    NativeHash hash = 0;
    if (words.size() < 4 || !parseHash(words[2], hash)) {
        error = "not a trace record";
        return false;
    }
    const NativeEntry* entry = table.find(hash);
    if (entry == nullptr) {
        error = "unknown native " + words[2];
        return false;
    }
    const Signature signature = signatureOf(*entry);
    std::size_t arrow = 3;
    while (arrow < words.size() && words[arrow] != "->") {
        ++arrow;
    }
    const std::size_t argCount = arrow - 3;
    const std::size_t resultWords = arrow < words.size() ? words.size() - arrow - 1 : 0;
    if (arrow == words.size() || argCount != signature.args.size() ||
        (resultWords != 1 && resultWords != 3)) {
        error = std::string(entry->name) + " record does not match its parameters \"" +
                entry->params + "\"";
        return false;
    }
    masked = words[0] + " " + words[1] + " " + words[2];
    for (std::size_t i = 0; i < argCount; ++i) {
        masked += " ";
        masked += signature.args[i] == 'p' ? ADDRESS : words[3 + i];
    }
    masked += " ->";
    for (std::size_t i = arrow + 1; i < words.size(); ++i) {
        masked += " ";
        masked += signature.addressResult ? ADDRESS : words[i];
    }
    return true;
}

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
        std::string maskedA;
        std::string maskedB;
        std::string error;
        const bool readA = maskAddresses(a, table, maskedA, error);
        if (!readA || !maskAddresses(b, table, maskedB, error)) {
            result.report = std::string("unreadable record in the ") +
                            (readA ? "second" : "first") + " trace: " + error + "\n" +
                            describeLine(number, readA ? b : a);
            return result;
        }
        if (maskedA != maskedB) {
            NativeHash hash = 0;
            parseHash(splitWords(a)[2], hash);
            result.report = "the traces differ at call " + std::to_string(number) + " (" +
                            table.find(hash)->name + "):\n" + describeLine(number, a) + "\n" +
                            describeLine(number, b);
            return result;
        }
        result.lines = number;
    }
}
