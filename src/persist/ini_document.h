#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One key line of a settings file. A line without '=' is a key with no value.
struct IniKey {
    std::string name;
    std::optional<std::string> value;
};

struct IniSection {
    std::string name;
    std::vector<IniKey> keys;
};

// Sections in file order. The first one holds the keys above any section line and has no
// name, so no lookup reaches it.
std::vector<IniSection> parseIniText(std::string_view text);

// The first section of that name and, in it, the first key of that name, both compared
// without regard to ASCII case. Repeats further down the file are never seen.
const IniKey* findIniKey(const std::vector<IniSection>& sections, std::string_view section,
                         std::string_view key);
