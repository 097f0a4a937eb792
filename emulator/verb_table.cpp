#include "emulator/verb_table.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <utility>

#include "emulator/nearest_words.h"

Words splitWords(const std::string& line) {
    Words words;
    std::istringstream stream(line);
    std::string word;
    while (stream >> word) {
        words.push_back(word);
    }
    return words;
}

std::vector<std::string> usageForms(const char* usage) {
    std::vector<std::string> forms;
    std::istringstream stream(usage);
    std::string form;
    while (std::getline(stream, form)) {
        forms.push_back(form);
    }
    return forms;
}

std::string usageReply(const char* usage) {
    std::string text = "usage: ";
    const std::vector<std::string> forms = usageForms(usage);
    for (std::size_t i = 0; i < forms.size(); ++i) {
        text += (i > 0 ? ", or " : "") + forms[i];
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

void sameWordsError(const char* words, const char* firstUsage, const char* secondUsage) {
    std::fprintf(stderr, "verb table: two verbs take the words \"%s\": \"%s\" and \"%s\"\n", words,
                 firstUsage, secondUsage);
    std::abort();
}

namespace {

std::string joined(const Words& words, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && i < words.size(); ++i) {
        text += (i == 0 ? "" : " ") + words[i];
    }
    return text;
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

// X Y Z, offsets, headings, times, counts, key codes, dollars, hashes.
bool wantsNumber(const std::string& placeholder) {
    static const std::set<std::string> numbers = {"X",       "Y",  "Z", "DX", "DY",      "DZ",
                                                  "HEADING", "MS", "N", "VK", "DOLLARS", "HASH"};
    return numbers.count(placeholder) > 0;
}

bool isNumber(const std::string& word) {
    char* end = nullptr;
    std::strtod(word.c_str(), &end);
    return !word.empty() && *end == '\0';
}

// A literal word of a usage form ("on|off", "office") takes the word written.
bool literalTakes(const std::string& literal, const std::string& word) {
    std::istringstream choices(literal);
    for (std::string choice; std::getline(choices, choice, '|');) {
        if (choice == word) {
            return true;
        }
    }
    return false;
}

std::string quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

bool isPlaceholder(const std::string& token) {
    return !token.empty() && std::isupper(static_cast<unsigned char>(token[0]));
}

}  // namespace

std::string unknownCommand(const Words& words, const std::vector<std::string>& verbWords) {
    std::vector<Words> verbs;
    for (const std::string& verb : verbWords) {
        verbs.push_back(splitWords(verb));
    }
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

// The form whose literal words the command has (the most of them) decides.
std::string badNumber(const char* usage, const Words& words) {
    std::string found;
    std::size_t bestLiterals = 0;
    bool anyFits = false;
    for (const std::string& form : usageForms(usage)) {
        Words tokens = splitWords(form);
        std::size_t literals = 0;
        std::string bad;
        bool fits = true;
        for (std::size_t i = 0; i < tokens.size() && i < words.size() && fits; ++i) {
            std::string token = tokens[i];
            token.erase(std::remove_if(token.begin(), token.end(),
                                       [](char c) { return c == '[' || c == ']'; }),
                        token.end());
            if (!isPlaceholder(token)) {
                fits = literalTakes(token, words[i]);
                literals += fits ? 1 : 0;
            } else if (bad.empty() && wantsNumber(token) && !isNumber(words[i])) {
                bad = "bad number ";
                bad += quoted(words[i]);
                bad += " for " + token + "; ";
            }
        }
        if (fits && (!anyFits || literals > bestLiterals)) {
            found = bad;
            bestLiterals = literals;
            anyFits = true;
        }
    }
    return found;
}
