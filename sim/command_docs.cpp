#include "sim/command_docs.h"

#include <map>
#include <vector>

#include "emulator/control_api.h"
#include "emulator/verb_table.h"
#include "sim/scenario_text.h"
#include "sim/sim_verbs.h"

namespace {

constexpr const char* BLOCK_START = "<!-- commands: ";
constexpr const char* BLOCK_END = "<!-- end of commands -->";

// The host's answer to `query usage`, from a fresh emulated game.
std::string hostUsageLines() {
    static std::string reply(1 << 18, '\0');
    tswEmuReset();
    tswEmuControl("query usage", reply.data(), reply.size());
    return reply.c_str();
}

// A table cell: bars escaped, as Markdown tables need.
std::string cell(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        escaped += c == '|' ? "\\|" : std::string(1, c);
    }
    return escaped;
}

// Each table's rows, in the order of the usage lines.
std::map<std::string, std::string> tableRows(const std::string& usageLines) {
    std::map<std::string, std::string> rows;
    for (const std::string& line : linesOf(usageLines)) {
        const auto tab = line.find('\t');
        const auto secondTab = line.find('\t', tab + 1);
        if (tab == std::string::npos || secondTab == std::string::npos) {
            continue;
        }
        const std::string usage = line.substr(tab + 1, secondTab - tab - 1);
        rows[line.substr(0, tab)] +=
            "| `" + cell(usage) + "` | " + cell(line.substr(secondTab + 1)) + " |\n";
    }
    return rows;
}

std::string header(const std::string& table) {
    return table == docTableName(DocTable::EXPECT) ? "| Command | Holds when |\n|---|---|\n"
                                                   : "| Command | Effect |\n|---|---|\n";
}

}  // namespace

std::string scenarioUsageLines() {
    const VerbTable<Runner>& sim = simVerbs();
    std::string lines;
    for (std::size_t i = 0; i < sim.verbs().size(); ++i) {
        lines += usageLine(sim.form(i), sim.verbs()[i]);
    }
    for (const std::string& line : linesOf(hostUsageLines())) {
        const auto tab = line.find('\t');
        const std::string usage = line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1);
        if (!sim.takes(splitWords(usage))) {
            lines += line + "\n";
        }
    }
    return lines;
}

std::string withCommandTables(const std::string& docs, const std::string& usageLines) {
    const std::map<std::string, std::string> rows = tableRows(usageLines);
    std::string made;
    std::size_t at = 0;
    for (auto start = docs.find(BLOCK_START); start != std::string::npos;
         start = docs.find(BLOCK_START, at)) {
        const auto nameStart = start + std::string(BLOCK_START).size();
        const auto startEnd = docs.find('\n', start);
        const auto end = docs.find(BLOCK_END, startEnd);
        if (startEnd == std::string::npos || end == std::string::npos) {
            break;
        }
        const std::string name = docs.substr(nameStart, docs.find(' ', nameStart) - nameStart);
        const auto table = rows.find(name);
        made += docs.substr(at, startEnd + 1 - at);
        made += table == rows.end() ? docs.substr(startEnd + 1, end - startEnd - 1)
                                    : header(name) + table->second;
        at = end;
    }
    return made + docs.substr(at);
}
