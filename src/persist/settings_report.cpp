#include "persist/settings_report.h"

#include <algorithm>
#include <string_view>

#include "host/key_names.h"
#include "host/key_state.h"
#include "persist/ini_reader.h"
#include "persist/joined_text.h"
#include "persist/meant_value.h"
#include "persist/nearest_name.h"
#include "persist/number_text.h"
#include "persist/settings.h"

namespace {

// The greeting draw's range: 0 to 10000, both ends included.
constexpr std::int32_t DRAW_TOP = 10000;
// How the log sets a line that needs the player's look apart from one that reads as written.
constexpr const char* LOOK_SIGN = "!";
constexpr const char* AS_WRITTEN_INDENT = "  ";

// One line of the account: its text, and whether the player should look at it.
struct Finding {
    std::string text;
    bool needsALook = false;
};

// What each kind of setting does with the value in force (held to its range), as
// setting_list.inc names them.
std::string chanceEffect(SettingId, std::int32_t threshold) {
    if (threshold < 0) {
        return "greetings never come unasked (someone you approach still greets)";
    }
    if (threshold >= DRAW_TOP) {
        return "greetings always come (a chance of 100 %)";
    }
    if (threshold == 0) {
        return "greetings almost never come (a chance of 1 in 10001)";
    }
    const std::int64_t percent = ((threshold + 1) * 200LL / (DRAW_TOP + 1) + 1) / 2;
    return "greetings come with a chance of about " + std::to_string(percent) + " %";
}

// "the badge moves 0.001 units a step", or that it stays put; at the top of the range, that
// nothing is faster.
std::string stepEffect(float size, float top, const char* verb, const char* unit) {
    if (size == 0.0f) {
        return joined({"the badge does not ", verb});
    }
    const std::string amount = shortFloatText(size);
    return joined({"the badge ", verb, "s ", amount, unit, amount == "1" ? "" : "s", " a step",
                   size == top ? ", the fastest it can" : ""});
}

std::uint32_t topOf(SettingId id) {
    return SETTING_ROWS[rowOf(id)].highest;
}

std::string greetingsEffect(SettingId, bool on) {
    return on ? "greetings are on" : "greetings are off";
}

std::string moveEffect(SettingId id, float step) {
    return stepEffect(step, asOffsetStep(topOf(id)), "move", " unit");
}

std::string turnEffect(SettingId id, float step) {
    return stepEffect(step, asDegreeStep(topOf(id)), "turn", " degree");
}

std::string pauseEffect(SettingId id, float pause) {
    return joined({"each step is followed by a pause of ",
                   std::to_string(static_cast<std::uint32_t>(pause)), " ms",
                   pause == asPauseMs(topOf(id)) ? ", the slowest it can" : ""});
}

std::string keyEffect(SettingId id, std::uint32_t code) {
    return keyDoes(rowOf(id), code);
}

std::string logEffect(SettingId, bool on) {
    return on ? "this log is written" : "no log is written unless a setting needs a look";
}

std::string effect(std::size_t row, const Settings& s) {
    switch (static_cast<SettingId>(row)) {
#define TSW_SETTING(SECTION, KEY, field, convert, missing, shipped, highest, does, explain) \
    case SettingId::KEY:                                                                    \
        return explain(SettingId::KEY, s.field);
#include "persist/setting_list.inc"
#undef TSW_SETTING
    }
    return {};
}

// How the reader took a setting's line, when not as the player wrote it.
struct Misreading {
    std::string text;            // empty when read as written
    bool countsAsTop = false;    // the text says the value counts as the top of its range
    std::uint32_t namedKey = 0;  // the code of a key written by its name
};

// A value the player wrote: a note after a number, or a number in hexadecimal, reads as
// written; a negative number counts as the top of a range.
Misreading valueMisread(std::size_t row, const std::string& value, std::uint32_t read) {
    const std::string reads = std::to_string(read);
    if (profileTextForm(value) == ProfileText::Empty) {
        return {": empty: reads as " + reads};
    }
    const std::optional<MeantNumber> meant = meantNumber(value);
    const SettingRow& setting = SETTING_ROWS[row];
    if (meant && meant->negative && setting.highest != NO_RANGE) {
        return {": a negative number counts as the top of its range, " +
                    std::to_string(setting.highest),
                true};
    }
    if (meant && meant->negative) {
        return {setting.does != nullptr ? ": a negative number"
                                        : ": a negative number: reads as " + reads};
    }
    if (meant && meant->tooLarge) {
        return {": too large a number: reads as " + reads};
    }
    if (meant) {
        return {meant->value == read ? std::string() : ": not read as written: reads as " + reads};
    }
    if (const std::uint32_t code = keyCodeNamed(value); setting.does != nullptr && code != 0) {
        return {": a key's name, where its code belongs: reads as " + reads, false, code};
    }
    return {": not a whole number: reads as " + reads};
}

Misreading misreading(std::size_t row, const IniKey* found, std::uint32_t read) {
    if (found == nullptr) {
        return {" is missing: reads as " + std::to_string(read)};
    }
    if (!found->value) {
        return {": no '=' on the line: reads as " + std::to_string(read)};
    }
    return valueMisread(row, *found->value, read);
}

std::string heldNote(std::uint32_t read, std::uint32_t held) {
    if (read == held) {
        return {};
    }
    const std::string top = std::to_string(held);
    return joined({", above its range of 0 to ", top, ": counts as ", top});
}

std::string shippedNote(std::size_t row) {
    const SettingRow& setting = SETTING_ROWS[row];
    const std::string value = std::to_string(setting.shipped);
    return "; the shipped file has " +
           (setting.does != nullptr ? value + " (" + keyName(setting.shipped) + ")" : value);
}

std::string quoted(std::size_t row, const IniKey* found) {
    if (found == nullptr) {
        return joined({"[", SETTING_ROWS[row].section, "] ", SETTING_ROWS[row].key});
    }
    return joined({"line ", std::to_string(found->line), ": ", found->written});
}

// A missing setting needs no look when it reads as the shipped file has it: a file from before
// the setting came reads so.
bool needsALook(std::size_t row, const IniKey* found, const std::string& misread,
                std::uint32_t held) {
    const SettingRow& setting = SETTING_ROWS[row];
    if (setting.does != nullptr && held != 0 && !isKeyCode(held)) {
        return true;
    }
    return !misread.empty() && (found != nullptr || held != setting.shipped);
}

// The line as written, what it reads as when that is not what it says, and what that does;
// with the code of a key written by its name, and the shipped value beside a setting that does
// nothing or not what it says.
Finding settingLine(std::size_t row, const IniKey* found, std::uint32_t read, std::uint32_t held,
                    const Settings& s) {
    const SettingRow& setting = SETTING_ROWS[row];
    const Misreading misread = misreading(row, found, read);
    const std::string how = misread.text + (misread.countsAsTop ? "" : heldNote(read, held));
    const bool deadKey = setting.does != nullptr && !isKeyCode(held);
    std::string text = quoted(row, found);
    if (how.empty()) {
        text += ": " + effect(row, s);
    } else {
        text += how + (deadKey && held != 0 ? ", " : ", so ") + effect(row, s);
    }
    if (misread.namedKey != 0) {
        text += joined({"; ", keyName(misread.namedKey), " is ", std::to_string(misread.namedKey)});
    }
    // The shipped key, written by its name, is named already.
    if ((!how.empty() || deadKey) && held != setting.shipped &&
        misread.namedKey != setting.shipped) {
        text += shippedNote(row);
    }
    return {text, needsALook(row, found, how, held)};
}

bool isNote(const IniKey& key) {
    return key.name.starts_with(';') || key.name.starts_with('#');
}

std::vector<std::string_view> knownSections() {
    std::vector<std::string_view> names;
    for (const SettingRow& row : SETTING_ROWS) {
        if (names.empty() || names.back() != row.section) {
            names.emplace_back(row.section);
        }
    }
    return names;
}

std::vector<std::string_view> knownKeys() {
    std::vector<std::string_view> names;
    for (const SettingRow& row : SETTING_ROWS) {
        names.emplace_back(row.key);
    }
    return names;
}

// The section a known key belongs under, or null.
const char* sectionOfKey(std::string_view key) {
    for (const SettingRow& row : SETTING_ROWS) {
        if (sameIniName(row.key, key)) {
            return row.section;
        }
    }
    return nullptr;
}

std::string didYouMean(std::string_view written, const std::vector<std::string_view>& known,
                       std::string_view before, std::string_view after) {
    const std::string nearest = nearestName(written, known);
    return nearest.empty() ? std::string()
                           : joined({" (did you mean ", before, nearest, after, "?)"});
}

std::string keyText(const IniKey& key) {
    return joined({"\"", key.written, "\""});
}

// A key above the first section line, where the reader never looks.
void keysAboveSections(const IniSection& top, std::vector<std::string>& lines) {
    for (const IniKey& key : top.keys) {
        if (isNote(key)) {
            continue;
        }
        const char* belongs = sectionOfKey(key.name);
        lines.push_back(joined(
            {"line ", std::to_string(key.line), ": ", keyText(key),
             " stands above the first section line and is not read",
             belongs != nullptr ? joined({": it belongs under [", belongs, "]"}) : std::string()}));
    }
}

// Within a section the reader reads: a key it does not know, one it knows under another
// section, and a repeat of one.
void keysOfSection(const IniSection& section, std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < section.keys.size(); ++i) {
        const IniKey& key = section.keys[i];
        if (isNote(key)) {
            continue;
        }
        const std::string at = joined({"line ", std::to_string(key.line), ": "});
        const char* belongs = sectionOfKey(key.name);
        const auto first =
            std::find_if(section.keys.begin(), section.keys.end(),
                         [&](const IniKey& k) { return sameIniName(k.name, key.name); });
        if (belongs == nullptr) {
            lines.push_back(at + keyText(key) + " is no setting TinStarWarden reads" +
                            didYouMean(key.name, knownKeys(), "", ""));
        } else if (!sameIniName(belongs, section.name)) {
            lines.push_back(joined({at, key.name, " is no setting of [", section.name,
                                    "] and is not read there: it belongs under [", belongs, "]"}));
        } else if (first->line != key.line) {
            lines.push_back(
                joined({at, key.name, " again in [", section.name, "]: only the first, at line ",
                        std::to_string(first->line), ", counts"}));
        }
    }
}

void nameFindings(const std::vector<IniSection>& sections, std::vector<std::string>& lines) {
    keysAboveSections(sections.front(), lines);
    const std::vector<std::string_view> known = knownSections();
    for (std::size_t i = 1; i < sections.size(); ++i) {
        const IniSection& section = sections[i];
        const std::string at =
            joined({"line ", std::to_string(section.line), ": [", section.name, "]"});
        const bool isKnown = std::any_of(known.begin(), known.end(), [&](std::string_view name) {
            return sameIniName(name, section.name);
        });
        const IniSection* first = &section;
        for (std::size_t j = 1; j < i; ++j) {
            if (sameIniName(sections[j].name, section.name)) {
                first = &sections[j];
                break;
            }
        }
        if (!isKnown) {
            lines.push_back(at + " is no section TinStarWarden reads, so nothing under it is read" +
                            didYouMean(section.name, known, "[", "]"));
        } else if (first != &section) {
            lines.push_back(joined({at, " again: only the first, at line ",
                                    std::to_string(first->line), ", is read, not this one"}));
        } else {
            keysOfSection(section, lines);
        }
    }
}

// Two key settings with one code: holding that key does both.
void sharedKeys(const RawSettings& held, std::vector<std::string>& lines) {
    for (std::size_t a = 0; a < SETTING_COUNT; ++a) {
        for (std::size_t b = a + 1; b < SETTING_COUNT; ++b) {
            const bool shared = SETTING_ROWS[a].does != nullptr &&
                                SETTING_ROWS[b].does != nullptr && isKeyCode(held[a]) &&
                                held[a] == held[b];
            if (shared) {
                lines.push_back(
                    joined({keyName(held[a]), " is the key of both ", SETTING_ROWS[a].key, " and ",
                            SETTING_ROWS[b].key, ": it does both"}));
            }
        }
    }
}

}  // namespace

bool isKeyCode(std::uint32_t code) {
    return code >= 1 && code < KEY_CODE_COUNT;
}

std::string keyDoes(std::size_t row, std::uint32_t code) {
    const char* does = SETTING_ROWS[row].does;
    if (code == 0) {
        return joined({"no key ", does});
    }
    if (!isKeyCode(code)) {
        return "not a key code from 1 to 254: this key does nothing";
    }
    return joined({keyName(code), " ", does});
}

std::string markedLine(bool needsALook, std::string_view text) {
    return joined({needsALook ? LOOK_SIGN : "", needsALook ? " " : AS_WRITTEN_INDENT, text});
}

std::string settingsSummary(std::size_t needALook) {
    if (needALook == 0) {
        return "all settings read as written";
    }
    return joined({std::to_string(needALook), needALook == 1 ? " setting needs" : " settings need",
                   " a look: the lines marked ", LOOK_SIGN});
}

// Causes first: a name the reader does not know leaves a setting missing; then each setting
// that needs a look, what two of them share, and last the settings that read as written.
SettingsReport settingsReport(const std::optional<std::string>& fileBytes,
                              const RawSettings& read) {
    const std::vector<IniSection> sections =
        fileBytes ? parseIniFile(*fileBytes) : std::vector<IniSection>(1);
    std::vector<std::string> causes;
    nameFindings(sections, causes);
    const RawSettings held = heldToRanges(read);
    const Settings s = settingsFromRaw(read);
    std::vector<Finding> settingLines;
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        const IniKey* found =
            findIniKey(sections, SETTING_ROWS[row].section, SETTING_ROWS[row].key);
        settingLines.push_back(settingLine(row, found, read[row], held[row], s));
    }
    std::vector<std::string> shared;
    sharedKeys(held, shared);

    SettingsReport report;
    report.lines.push_back(fileBytes ? joined({"settings read from ", SETTINGS_FILE,
                                               ": each as the file has it, what it reads as, "
                                               "and what that does:"})
                                     : joined({"no settings file at ", SETTINGS_FILE,
                                               " (or it cannot be read): every setting reads as "
                                               "its default:"}));
    const auto add = [&](const std::string& text, bool needsALook) {
        report.lines.push_back(markedLine(needsALook, text));
        report.needALook += needsALook ? 1 : 0;
    };
    for (const std::string& cause : causes) {
        add(cause, true);
    }
    for (const Finding& line : settingLines) {
        if (line.needsALook) {
            add(line.text, true);
        }
    }
    for (const std::string& line : shared) {
        add(line, true);
    }
    for (const Finding& line : settingLines) {
        if (!line.needsALook) {
            add(line.text, false);
        }
    }
    return report;
}
