#include "sim/scenario_text.h"

#include <cctype>
#include <fstream>
#include <sstream>

bool readWholeFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return true;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> readLines(const std::string& path, bool& ok) {
    std::string text;
    ok = readWholeFile(path, text);
    return linesOf(text);
}

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string restAfterWords(const std::string& line, int n) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) {
        at = line.find_first_not_of(" \t", at);
        at = line.find_first_of(" \t", at);
        if (at == std::string::npos) {
            return {};
        }
    }
    return trim(line.substr(at));
}

std::string unescapeNewlines(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            result += '\n';
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::string unescapeBytes(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] != '\\' || next == '\0') {
            bytes += text[i];
        } else if (next == 'x' && i + 3 < text.size() &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
            bytes += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            const std::string known = "rnt\\";
            const std::string meant = "\r\n\t\\";
            const auto at = known.find(next);
            bytes += at == std::string::npos ? std::string{'\\', next} : std::string{meant[at]};
            ++i;
        }
    }
    return bytes;
}

std::string firstWord(const std::string& line) {
    std::istringstream stream(line);
    std::string word;
    stream >> word;
    return word;
}
