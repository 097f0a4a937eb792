#include "badge/stored_badge.h"

#include "persist/data_file.h"

namespace {

float storedFloat(const char* key) {
    return dataFile != nullptr ? dataFile->getFloat(key) : DictDataFile::ABSENT_FLOAT;
}

}  // namespace

Attachment readStoredAttachment() {
    Attachment stored;
    stored.offset.x = storedFloat("xxxxx");
    stored.offset.y = storedFloat("yyyyy");
    stored.offset.z = storedFloat("zzzzz");
    stored.rotation.x = storedFloat("rot_xxxxx");
    stored.rotation.y = storedFloat("rot_yyyyy");
    stored.rotation.z = storedFloat("rot_zzzzz");
    return stored;
}

std::int32_t readStoredBadgeIndex() {
    return dataFile != nullptr ? dataFile->getInt("badge") : DictDataFile::ABSENT_INT;
}

void storeBadgeIndex(std::int32_t index) {
    if (dataFile == nullptr) {
        return;
    }
    dataFile->setInt("badge", index);
    dataFile->save(false);
}
