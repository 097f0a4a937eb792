#include "emulator/verb_table.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

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
