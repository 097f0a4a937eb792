#include "badge/stored_badge.h"

#include "persist/data_file.h"

namespace {

constexpr float ABSENT_FLOAT = -999.0f;
constexpr std::int32_t ABSENT_INT = -999;

float storedFloat(const char* key) {
    return dataFile != nullptr ? dataFile->getFloat(key) : ABSENT_FLOAT;
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
    return dataFile != nullptr ? dataFile->getInt("badge") : ABSENT_INT;
}

void storeBadgeIndex(std::int32_t index) {
    if (dataFile == nullptr) {
        return;
    }
    dataFile->setInt("badge", index);
    dataFile->save(false);
}
