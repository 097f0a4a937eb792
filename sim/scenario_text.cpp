#include "sim/scenario_text.h"
#include "emulator/file_path.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string_view>

bool readWholeFile(const std::string& path, std::string& text) {
    std::ifstream file(pathOf(path), std::ios::binary);
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

namespace {

// The bytes a backslash and a letter name in a scenario's text, and the letters.
constexpr std::string_view NAMED_BYTES = "\r\n\t\\";
constexpr std::string_view BYTE_NAMES = "rnt\\";

}  // namespace

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
            const auto at = BYTE_NAMES.find(next);
            bytes += at == std::string_view::npos ? std::string{'\\', next}
                                                  : std::string{NAMED_BYTES[at]};
            ++i;
        }
    }
    return bytes;
}

std::string escapeBytes(const std::string& bytes) {
    std::string text;
    for (const char byte : bytes) {
        const auto at = NAMED_BYTES.find(byte);
        const auto code = static_cast<unsigned char>(byte);
        if (at != std::string_view::npos) {
            text += std::string{'\\', BYTE_NAMES[at]};
        } else if (code < 0x20 || code >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", code);
            text += hex;
        } else {
            text += byte;
        }
    }
    return text;
}

std::string firstWord(const std::string& line) {
    std::istringstream stream(line);
    std::string word;
    stream >> word;
    return word;
}
