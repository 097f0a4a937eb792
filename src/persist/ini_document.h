#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One key line of a settings file. A line without '=' is a key with no value.
struct IniKey {
    std::string name;
    std::optional<std::string> value;
    std::size_t line = 0;  // from 1, as an editor counts: CR LF is one line end
    std::string written;   // the whole line as written, without the blanks at its ends
};

struct IniSection {
    std::string name;
    std::vector<IniKey> keys;
    std::size_t line = 0;  // of the section line; 0 for the keys above the first one
};

// Sections in file order. The first one holds the keys above any section line and has no
// name, so no lookup reaches it.
std::vector<IniSection> parseIniText(std::string_view text);

// Names as the reader compares them: without regard to ASCII case.
bool sameIniName(std::string_view a, std::string_view b);

// The first section of that name and, in it, the first key of that name, both compared
// without regard to ASCII case. Repeats further down the file are never seen.
const IniKey* findIniKey(const std::vector<IniSection>& sections, std::string_view section,
                         std::string_view key);
