#include "badge/stored_badge.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "badge/attachment_values.h"
#include "game/badge_catalogue.h"
#include "host/key_names.h"
#include "persist/data_file.h"
#include "persist/diagnostics_log.h"
#include "persist/joined_text.h"
#include "persist/nearest_name.h"
#include "persist/number_text.h"
#include "persist/setting_rows.h"
#include "persist/settings.h"
#include "persist/settings_report.h"

namespace {

constexpr const char* UNTIL_CHOSEN = "no badge is put on until one is chosen at a law office";

// How usable values come back: the reset key, with badge adjustment switched on, by the keys
// the player has.
std::string resetHint() {
    if (!isKeyCode(settings.editToggleKey) || !isKeyCode(settings.resetKey)) {
        return " (give ENABLE_DISABLE_EDIT_KEY and RESET_KEY a key in TinStarWarden.ini: with "
               "badge adjustment switched on, the reset key puts the badge back where it "
               "started and writes all six)";
    }
    return joined({" (with badge adjustment switched on by ", keyName(settings.editToggleKey), ", ",
                   keyDoes(rowOf(SettingId::RESET_KEY), settings.resetKey),
                   " and writes all six)"});
}

// ", the rest (\",02\") ignored": the part of a value its reader does not take.
std::string ignoredRest(std::string_view rest) {
    return joined({", the rest (\"", rest, "\") ignored",
                   rest.starts_with(',') ? " (a decimal point is written '.')" : ""});
}

void badgeFindings(std::vector<std::string>& lines) {
    const std::string text = dataFile->getString("badge");
    const std::optional<std::int32_t> index = intPrefix(text);
    if (text.empty() || (index && *index == NO_BADGE_INDEX && afterIntPrefix(text).empty())) {
        return;
    }
    const std::string quoted = "badge=" + text;
    if (!index) {
        lines.push_back(joined({quoted, ": not a number: ", UNTIL_CHOSEN}));
        return;
    }
    const std::string_view rest = afterIntPrefix(text);
    const std::string misread =
        rest.empty()
            ? std::string()
            : joined({": not a whole number: reads as ", intText(*index), ignoredRest(rest)});
    if (isBadgeIndex(*index)) {
        if (!misread.empty()) {
            lines.push_back(joined({quoted, misread, ", so badge ", intText(*index), " (",
                                    badgeCatalogue[*index].modelName, ") is put on"}));
        }
        return;
    }
    lines.push_back(
        joined({quoted, misread.empty() ? ": " : misread + ", ", "no badge has that number (0 to ",
                intText(BADGE_COUNT - 1), " are the badges, ", intText(NO_BADGE_INDEX),
                " none): ", UNTIL_CHOSEN}));
}

void attachmentFinding(std::size_t index, std::vector<std::string>& lines) {
    const AttachmentKey& key = ATTACHMENT_KEYS[index];
    const std::string reset = joined(
        {"the badge is put on with ", intText(key.resetValue), " there instead", resetHint()});
    const auto found = dataFile->entries.find(key.dataKey);
    if (found == dataFile->entries.end()) {
        lines.push_back(joined({key.dataKey, " is missing: ", reset}));
        return;
    }
    const std::string quoted = joined({key.dataKey, "=", found->second});
    const std::optional<float> value = floatPrefix(found->second);
    if (!value) {
        lines.push_back(joined({quoted, ": not a number: ", reset}));
        return;
    }
    const std::string_view rest = afterFloatPrefix(found->second);
    const std::string misread = rest.empty() ? std::string()
                                             : joined({": not a number as written: reads as ",
                                                       shortFloatText(*value), ignoredRest(rest)});
    const char* unusable = unusableReason(index, found->second);
    if (unusable != nullptr) {
        lines.push_back(
            joined({quoted, misread.empty() ? ": " : misread + ", ", unusable, ": ", reset}));
    } else if (!misread.empty()) {
        lines.push_back(joined(
            {quoted, misread, ", so the badge is put on with ", shortFloatText(*value), " there"}));
    }
}

// A key the plug-in does not use is kept as it is; a near miss of one it does is named.
void unknownKeys(std::vector<std::string>& lines) {
    std::vector<std::string_view> known = {"badge"};
    for (const AttachmentKey& key : ATTACHMENT_KEYS) {
        known.emplace_back(key.dataKey);
    }
    for (const auto& [key, value] : dataFile->entries) {
        if (std::find(known.begin(), known.end(), key) != known.end()) {
            continue;
        }
        const std::string meant = nearestName(key, known);
        lines.push_back(
            joined({"\"", key, "=", value, "\" is no value TinStarWarden uses, kept as it is",
                    meant.empty() ? "" : joined({" (did you mean ", meant, "?)"})}));
    }
}

}  // namespace

Attachment readStoredAttachment() {
    return sanitizedAttachment(dataFile);
}

std::int32_t readStoredBadgeIndex() {
    return dataFile != nullptr ? dataFile->getInt("badge") : DictDataFile::ABSENT_INT;
}

void storeBadgeIndex(std::int32_t index) {
    if (dataFile == nullptr) {
        return;
    }
    dataFile->setInt("badge", index);
    saveDataFile();
}

void logUnusableStoredValues() {
    std::vector<std::string> lines;
    badgeFindings(lines);
    for (std::size_t index = 0; index < ATTACHMENT_KEYS.size(); ++index) {
        attachmentFinding(index, lines);
    }
    unknownKeys(lines);
    for (const std::string& line : lines) {
        diagnosticsLog().line(joined({dataFile->path, ": ", line}));
    }
}
