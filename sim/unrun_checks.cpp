#include "sim/unrun_checks.h"

#include <algorithm>

#include "emulator/file_path.h"
#include "sim/scenario_text.h"

namespace fs = std::filesystem;

ScenarioFile includedFile(const ScenarioFile& from, const std::string& name) {
    return {(from.path.parent_path() / pathOf(name)).lexically_normal(),
            utf8Of((pathOf(from.shown).parent_path() / pathOf(name)).lexically_normal())};
}

std::string placeOf(const std::string& shown, std::size_t number) {
    return shown + ":" + std::to_string(number);
}

std::string withItsPlace(const std::string& line, const std::string& shown, std::size_t number) {
    return line + "  (" + placeOf(shown, number) + ")";
}

void collectUnrunChecks(const std::vector<std::string>& lines, std::size_t after,
                        const ScenarioFile& file, std::size_t scenarioLine,
                        std::vector<fs::path>& open, std::vector<UnrunCheck>& out) {
    for (std::size_t number = after + 1; number <= lines.size(); ++number) {
        const std::string line = trim(lines[number - 1]);
        const std::size_t holder = scenarioLine != 0 ? scenarioLine : number;
        const std::string word = firstWord(line);
        if (word == "expect") {
            out.push_back(
                {holder, scenarioLine != 0 ? withItsPlace(line, file.shown, number) : line});
        } else if (word == "include") {
            const ScenarioFile inner = includedFile(file, restAfterWords(line, 1));
            bool readable = false;
            const std::vector<std::string> innerLines = readLines(utf8Of(inner.path), readable);
            if (readable && std::find(open.begin(), open.end(), inner.path) == open.end()) {
                open.push_back(inner.path);
                collectUnrunChecks(innerLines, 0, inner, holder, open, out);
                open.pop_back();
            }
        }
    }
}
