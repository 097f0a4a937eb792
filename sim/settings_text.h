#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "persist/shipped_settings.h"

// The settings text with KEY=VALUE under [SECTION], changed as a player changes it in an
// editor: the first line of that key in the first section of that name (names compared
// without regard to ASCII case, as the game reads them) takes the new value, and the notes and
// every other line stay; a key the section lacks is added after its last line, a section the
// file lacks at its end. New lines end as the text's first line does.
std::string withSetting(const std::string& text, const std::string& section, const std::string& key,
                        const std::string& value);

// Whether a key setting (a NAME_KEY=VALUE line) of the text has this key code: a key no setting
// names does nothing in the plug-in, which a story pressing it should hear of.
bool settingNamesKey(const std::string& text, std::uint32_t code);

// An `ini` line's section or key that the settings text (the shipped file, which holds every
// setting the plug-in reads) does not have, as a note with the nearest names: no error, as a
// story may mean it, but a slip would leave the setting at its default unseen.
std::optional<std::string> unreadSetting(const std::string& text, const std::string& section,
                                         const std::string& key);
