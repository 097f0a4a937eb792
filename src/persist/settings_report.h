#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persist/setting_rows.h"

// Key codes the keyboard table has a record for; 0 is no key.
bool isKeyCode(std::uint32_t code);

// What the key setting of SETTING_ROWS[row] does with this code, in the player's words:
// "Numpad 5 puts the badge back where it started", "no key puts ..." for 0.
std::string keyDoes(std::size_t row, std::uint32_t code);

// The diagnostics log's account of the settings file, one line a finding, in the player's
// words: a heading, then the lines that need the player's look, each marked, causes before
// what follows from them (a name the reader does not know, with the known name nearest it, a
// line above every section, a repeat that only its first stands for; then each setting that
// does not read as written or does nothing; then each key code two settings share), and last,
// indented, every setting that reads as written with what it does. fileBytes is empty when the
// file cannot be read; read holds the values the profile reader gave.
struct SettingsReport {
    std::vector<std::string> lines;
    std::size_t needALook = 0;  // lines marked as needing a look
};
SettingsReport settingsReport(const std::optional<std::string>& fileBytes, const RawSettings& read);

// The line as the log writes it: "! " first when it needs the player's look, two blanks when
// it reads as written.
std::string markedLine(bool needsALook, std::string_view text);

// "all settings read as written", or how many lines need a look and how they are marked.
std::string settingsSummary(std::size_t needALook);
