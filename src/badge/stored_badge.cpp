#include "badge/stored_badge.h"

#include "badge/attachment_values.h"
#include "persist/data_file.h"

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
