#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "persist/setting_rows.h"

// Key codes the keyboard table has a record for; 0 is no key.
bool isKeyCode(std::uint32_t code);

// What the key setting of SETTING_ROWS[row] does with this code, in the player's words:
// "Numpad 5 puts the badge back where it started", "no key puts ..." for 0.
std::string keyDoes(std::size_t row, std::uint32_t code);

// The diagnostics log's account of the settings file, one line a finding, in the player's
// words. First every setting: the file's own text with its line (or that it is missing), what
// the reader makes of it when that is not what the text says, and what the value in force
// does. Then each name the plug-in does not read, with the known name nearest it (a misspelt
// key is the usual cause of a dead setting), each repeat that only its first stands for, and
// each key code two settings share. fileBytes is empty when the file cannot be read; read holds
// the values the profile reader gave.
std::vector<std::string> settingsReport(const std::optional<std::string>& fileBytes,
                                        const RawSettings& read);
