#include "badge/stored_badge.h"

#include <string>

#include "badge/attachment_values.h"
#include "persist/data_file.h"
#include "persist/diagnostics_log.h"
#include "persist/joined_text.h"
#include "persist/number_text.h"

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
    DiagnosticsLog& log = diagnosticsLog();
    const std::string badge = dataFile->getString("badge");
    if (!badge.empty() && !intPrefix(badge)) {
        log.line(joined({dataFile->path, ": badge=", badge,
                         " is not a number: no badge is put on until one is chosen at a law "
                         "office"}));
    }
    for (std::size_t index = 0; index < ATTACHMENT_KEYS.size(); ++index) {
        const AttachmentKey& key = ATTACHMENT_KEYS[index];
        const std::string text = dataFile->getString(key.dataKey);
        const char* reason = text.empty() ? nullptr : unusableReason(index, text);
        if (reason != nullptr) {
            log.line(joined({dataFile->path, ": ", key.dataKey, "=", text, " ", reason,
                             ": the badge is put on with ", std::to_string(key.resetValue),
                             " there instead (the adjustment's reset key writes a usable one)"}));
        }
    }
}
