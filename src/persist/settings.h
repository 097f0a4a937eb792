#pragma once
#include <cstdint>

#include "persist/setting_values.h"

// Where the game build reads its settings; natively the same text, with '\' read as '/'.
inline constexpr const char* SETTINGS_PATH = ".\\TinStarWarden/TinStarWarden.ini";
// The same file as the log names it and as it is made when missing, in the data file's style.
inline constexpr const char* SETTINGS_FILE = "TinStarWarden/TinStarWarden.ini";

// The user's tuning, read once while the library loads and constant afterwards: a field for
// each setting of setting_list.inc, of its conversion's type.
struct Settings {
#define TSW_SETTING(SECTION, KEY, field, convert, ...) decltype(convert(0u)) field;
#include "persist/setting_list.inc"
#undef TSW_SETTING
};

// Read during static initialisation, so before the entry point registers any script; the
// diagnostics log, when switched on, starts then too.
extern const Settings settings;

// The values of the file at path, the speeds held to their ranges.
Settings readSettings(const char* path);
