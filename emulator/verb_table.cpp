#include "emulator/verb_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <utility>

#include "emulator/nearest_words.h"

Words splitWords(const std::string& line) {
    return Command(line).words;
}

const char* docTableName(DocTable table) {
    switch (table) {
        case DocTable::INCLUDE:
            return "include";
        case DocTable::FILES:
            return "files";
        case DocTable::TIME:
            return "time";
        case DocTable::WORLD:
            return "world";
        case DocTable::OPTIONS:
            return "options";
        case DocTable::OFFICES:
            return "offices";
        case DocTable::EXPECT:
            return "expect";
    }
    return "";
}

std::string usageReply(const std::vector<const Form*>& forms) {
    std::string text = "usage: ";
    for (std::size_t i = 0; i < forms.size(); ++i) {
        text += (i > 0 ? ", or " : "") + forms[i]->usage;
    }
    return text;
}

std::string pointAt(const Command& command, std::size_t word) {
    constexpr const char* INDENT = "    ";
    const std::size_t column =
        word < command.starts.size() ? command.starts[word] : command.text.size() + 1;
    const std::size_t length = word < command.starts.size() ? command.ends[word] - column : 1;
    std::string caret(column, ' ');
    for (std::size_t i = 0; i < column && i < command.text.size(); ++i) {
        caret[i] = command.text[i] == '\t' ? '\t' : ' ';  // a tab lines up as it does above
    }
    caret += '^' + std::string(length - 1, '~');
    return INDENT + command.text + "\n" + INDENT + caret;
}

ControlReply malformed(const Command& command, const Mistake& mistake, const std::string& usage) {
    return {TSW_MALFORMED_COMMAND, mistake.message,
            pointAt(command, mistake.word) + "\n    " + usage};
}

ControlReply wrongWord(const Args& args, std::size_t value, std::size_t nth,
                       const std::string& message) {
    Mistake mistake;
    mistake.kind = Mistake::Kind::WRONG;
    mistake.word = args.wordAt(value, nth);
    mistake.message = message;
    return malformed(args.command(), mistake, "usage: " + args.form().usage);
}

std::string expandedDoc(const Form& form, const char* doc) {
    std::string text = doc;
    for (const Element& element : form.elements) {
        const Placeholder* slot = element.slot;
        if (slot == nullptr || slot->takes != Takes::WHOLE) {
            continue;
        }
        const std::string name = std::string("{") + slot->name + "}";
        const std::string range = std::to_string(slot->low) + " to " + std::to_string(slot->high);
        for (auto at = text.find(name); at != std::string::npos; at = text.find(name, at)) {
            text.replace(at, name.size(), range);
        }
    }
    return text;
}

std::size_t matchedWords(const Words& verbWords, const Words& words) {
    if (verbWords.size() > words.size()) {
        return 0;
    }
    for (std::size_t i = 0; i < verbWords.size(); ++i) {
        if (verbWords[i] != words[i]) {
            return 0;
        }
    }
    return verbWords.size();
}

void verbTableError(const std::string& usage, const std::string& problem) {
    std::fprintf(stderr, "verb table: the form \"%s\" %s\n", usage.c_str(), problem.c_str());
    std::abort();
}

std::string normalUsage(const Form& form) {
    std::string text;
    for (const std::string& word : splitWords(form.usage)) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

namespace {

std::string joined(const Words& words, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && i < words.size(); ++i) {
        text += (i == 0 ? "" : " ") + words[i];
    }
    return text;
}

std::vector<Words> split(const std::vector<std::string>& verbWords) {
    std::vector<Words> verbs;
    for (const std::string& verb : verbWords) {
        verbs.push_back(splitWords(verb));
    }
    return verbs;
}

// How many leading words of the command some verb has too.
std::size_t knownLeadingWords(const Words& words, const std::vector<Words>& verbs) {
    std::size_t known = 0;
    for (const Words& verb : verbs) {
        std::size_t same = 0;
        while (same < verb.size() && same < words.size() && verb[same] == words[same]) {
            ++same;
        }
        known = std::max(known, same);
    }
    return known;
}

// The verbs nearest the command's words, each compared with as many words as it has.
// Only the words from the first unknown one on count towards what a slip may be.
std::vector<std::string> nearestVerbs(const Words& words, std::size_t known,
                                      const std::vector<Words>& verbs,
                                      const std::vector<std::string>& verbWords) {
    std::vector<std::pair<std::size_t, std::size_t>> near;  // distance, verb
    for (std::size_t i = 0; i < verbs.size(); ++i) {
        const std::string written = joined(words, verbs[i].size());
        const std::string slipped =
            written.substr(std::min(written.size(), joined(words, known).size()));
        const std::size_t d = editDistance(written, verbWords[i]);
        if (isSlip(slipped, d)) {
            near.emplace_back(d, i);
        }
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> nearest;
    for (std::size_t i = 0; i < near.size() && nearest.size() < 3; ++i) {
        nearest.push_back(verbWords[near[i].second]);
    }
    return nearest;
}

std::string quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

}  // namespace

std::size_t unknownWord(const Words& words, const std::vector<std::string>& verbWords) {
    return std::min(knownLeadingWords(words, split(verbWords)), words.size());
}

std::string unknownCommand(const Words& words, const std::vector<std::string>& verbWords) {
    const std::vector<Words> verbs = split(verbWords);
    const std::size_t known = knownLeadingWords(words, verbs);
    // Appended piece by piece: GCC 12 misreads "text" + std::string as an overlapping copy.
    std::string text = "unknown command ";
    text += quoted(joined(words, std::min(known + 1, words.size())));
    if (known > 0 && known < words.size()) {
        text += ": no command has ";
        text += quoted(words[known]);
        text += " after ";
        text += quoted(joined(words, known));
    } else if (known > 0) {
        text += ": it needs more words";
    }
    return text + didYouMean(nearestVerbs(words, known, verbs, verbWords));
}
