#include "badge/attachment_values.h"

#include <cmath>
#include <optional>

#include "persist/dict_data_file.h"
#include "persist/number_text.h"

namespace {

// The first three keys are the offsets.
constexpr std::size_t OFFSET_KEYS = 3;

float storedOrReset(const DictDataFile* file, const AttachmentKey& key, bool isOffset) {
    const auto reset = static_cast<float>(key.resetValue);
    if (file == nullptr) {
        return reset;
    }
    const auto found = file->entries.find(key.dataKey);
    if (found == file->entries.end()) {
        return reset;
    }
    const std::optional<float> value = floatPrefix(found->second);
    if (!value || (isOffset && std::fabs(*value) > LARGEST_OFFSET)) {
        return reset;
    }
    return *value;
}

}  // namespace

void setResetAttachment(DictDataFile& file) {
    for (const AttachmentKey& reset : ATTACHMENT_KEYS) {
        file.setInt(reset.dataKey, reset.resetValue);
    }
}

Attachment sanitizedAttachment(const DictDataFile* file) {
    float values[ATTACHMENT_KEYS.size()];
    for (std::size_t i = 0; i < ATTACHMENT_KEYS.size(); ++i) {
        values[i] = storedOrReset(file, ATTACHMENT_KEYS[i], i < OFFSET_KEYS);
    }
    return Attachment{{values[0], values[1], values[2]}, {values[3], values[4], values[5]}};
}

float offsetLength(const Attachment& attachment) {
    const Vector3& v = attachment.offset;
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}
