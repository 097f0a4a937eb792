#include "persist/ini_document.h"

namespace {

// The profile reader's white space: ASCII blanks and the DOS end-of-file mark.
bool isProfileSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1A';
}

std::string_view trimFront(std::string_view text) {
    while (!text.empty() && isProfileSpace(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view trimBack(std::string_view text) {
    while (!text.empty() && isProfileSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Names and values are kept as C strings: a NUL ends them.
std::string untilNul(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

IniKey keyFromLine(std::string_view line, std::size_t number) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return IniKey{untilNul(line), std::nullopt, number, untilNul(line)};
    }
    return IniKey{untilNul(trimBack(line.substr(0, equals))),
                  untilNul(trimFront(line.substr(equals + 1))), number, untilNul(line)};
}

// "[name]" and "[ name ] text": the name runs to the last ']', without the white space
// around it. A '[' with no ']' starts a key.
std::optional<std::string> sectionName(std::string_view line) {
    const auto close = line.rfind(']');
    if (!line.starts_with('[') || close == std::string_view::npos) {
        return std::nullopt;
    }
    return untilNul(trimBack(trimFront(line.substr(1, close - 1))));
}

void addLine(std::vector<IniSection>& sections, std::string_view line, std::size_t number) {
    line = trimBack(trimFront(line));
    if (line.empty()) {
        return;
    }
    if (auto name = sectionName(line)) {
        sections.push_back(IniSection{std::move(*name), {}, number});
    } else {
        sections.back().keys.push_back(keyFromLine(line, number));
    }
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool sameIniName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

std::vector<IniSection> parseIniText(std::string_view text) {
    std::vector<IniSection> sections(1);
    // Either line end ends a line: the reader takes a lone CR as one too. The empty line
    // between the CR and LF of a CR LF is no line of its own to an editor, so it is not counted.
    std::size_t number = 1;
    bool afterCr = false;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        if (!(afterCr && end == 0 && text.front() == '\n')) {
            addLine(sections, text.substr(0, end), number++);
        }
        afterCr = end != std::string_view::npos && text[end] == '\r';
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return sections;
}

const IniKey* findIniKey(const std::vector<IniSection>& sections, std::string_view section,
                         std::string_view key) {
    for (const IniSection& candidate : sections) {
        if (candidate.name.empty() || !sameIniName(candidate.name, section)) {
            continue;
        }
        for (const IniKey& entry : candidate.keys) {
            if (sameIniName(entry.name, key)) {
                return &entry;
            }
        }
        return nullptr;
    }
    return nullptr;
}
