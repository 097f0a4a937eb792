#include "sim/settings_text.h"

#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "emulator/nearest_words.h"

namespace {

struct Line {
    std::string text;
    std::string end;  // "\r\n", "\n", or empty for a last line without one
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        std::string end = newline == std::string_view::npos ? "" : "\n";
        if (!end.empty() && line.ends_with('\r')) {
            line.remove_suffix(1);
            end = "\r\n";
        }
        lines.push_back({std::string(line), end});
    }
    return lines;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmed(line);
    const auto close = line.rfind(']');
    if (!line.starts_with('[') || close == std::string_view::npos) {
        return std::nullopt;
    }
    return trimmed(line.substr(1, close - 1));
}

bool isKeyLine(std::string_view line, std::string_view key) {
    const auto equals = line.find('=');
    return equals != std::string_view::npos && sameName(trimmed(line.substr(0, equals)), key);
}

std::string joinedLines(const std::vector<Line>& lines) {
    std::string text;
    for (const Line& line : lines) {
        text += line.text + line.end;
    }
    return text;
}

bool isSection(std::string_view line, std::string_view section) {
    const auto name = sectionName(line);
    return name && sameName(*name, section);
}

// Inserts the line before `at`; a last line without a line end gets one first.
void insertLine(std::vector<Line>& lines, std::size_t at, Line line) {
    if (at == lines.size() && !lines.empty() && lines.back().end.empty()) {
        lines.back().end = line.end;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

}  // namespace

std::string withSetting(const std::string& text, const std::string& section, const std::string& key,
                        const std::string& value) {
    std::vector<Line> lines = splitLines(text);
    const std::string end = lines.empty() || lines.front().end.empty() ? "\r\n" : lines.front().end;
    const std::string setting = key + "=" + value;
    std::size_t at = 0;
    while (at < lines.size() && !isSection(lines[at].text, section)) {
        ++at;
    }
    if (at == lines.size()) {
        insertLine(lines, lines.size(), {"[" + section + "]", end});
        insertLine(lines, lines.size(), {setting, end});
        return joinedLines(lines);
    }
    std::size_t last = at;
    for (std::size_t i = at + 1; i < lines.size() && !sectionName(lines[i].text); ++i) {
        if (isKeyLine(lines[i].text, key)) {
            lines[i].text = setting;
            return joinedLines(lines);
        }
        if (!trimmed(lines[i].text).empty()) {
            last = i;
        }
    }
    insertLine(lines, last + 1, {setting, end});
    return joinedLines(lines);
}

bool settingNamesKey(const std::string& text, std::uint32_t code) {
    for (const Line& line : splitLines(text)) {
        const auto equals = line.text.find('=');
        if (equals == std::string::npos ||
            !trimmed(std::string_view(line.text).substr(0, equals)).ends_with("_KEY")) {
            continue;
        }
        const std::string value(trimmed(std::string_view(line.text).substr(equals + 1)));
        char* end = nullptr;
        const unsigned long number = std::strtoul(value.c_str(), &end, 10);
        if (!value.empty() && *end == '\0' && number == code) {
            return true;
        }
    }
    return false;
}

namespace {

struct SettingName {
    std::string section;
    std::string key;
};

std::vector<SettingName> settingNames(const std::string& text) {
    std::vector<SettingName> names;
    std::string section;
    for (const Line& line : splitLines(text)) {
        const std::string_view written = trimmed(line.text);
        const auto equals = written.find('=');
        if (const auto name = sectionName(written)) {
            section = *name;
        } else if (equals != std::string_view::npos && !written.starts_with(';')) {
            names.push_back({section, std::string(trimmed(written.substr(0, equals)))});
        }
    }
    return names;
}

}  // namespace

std::optional<std::string> unreadSetting(const std::string& text, const std::string& section,
                                         const std::string& key) {
    std::vector<std::string> sections;
    std::vector<std::string> keys;  // the section's
    std::string elsewhere;          // a section that has the key
    for (const SettingName& name : settingNames(text)) {
        const bool inSection = sameName(name.section, section);
        if (inSection && sameName(name.key, key)) {
            return std::nullopt;
        }
        if (sections.empty() || sections.back() != name.section) {
            sections.push_back(name.section);
        }
        if (inSection) {
            keys.push_back(name.key);
        } else if (sameName(name.key, key) && elsewhere.empty()) {
            elsewhere = name.section;
        }
    }
    if (keys.empty()) {
        return "the plug-in reads no section [" + section + "]" + didYouMean(section, sections);
    }
    return "the plug-in reads no key " + key + " in [" + section + "]" + didYouMean(key, keys) +
           (elsewhere.empty() ? "" : "; it reads " + key + " in [" + elsewhere + "]");
}
