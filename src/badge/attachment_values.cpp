#include "badge/attachment_values.h"

#include <cmath>
#include <optional>

#include "persist/dict_data_file.h"
#include "persist/number_text.h"

namespace {

// ATTACHMENT_KEYS holds the offsets first, x, y and z.
constexpr std::size_t OFFSET_KEYS = 3;

// Why the badge cannot be put on with the stored text, or null when it can; value gets it.
const char* unusable(std::size_t index, std::string_view text, float& value) {
    const std::optional<float> number = floatPrefix(text);
    if (!number) {
        return "not a number";
    }
    if (index < OFFSET_KEYS && std::fabs(*number) > LARGEST_OFFSET) {
        return "too far from the chest to be a place on it";
    }
    value = *number;
    return nullptr;
}

float storedOrReset(const DictDataFile* file, std::size_t index) {
    float value = static_cast<float>(ATTACHMENT_KEYS[index].resetValue);
    if (file == nullptr) {
        return value;
    }
    const auto found = file->entries.find(ATTACHMENT_KEYS[index].dataKey);
    // A text the badge cannot be put on with leaves the reset value.
    if (found != file->entries.end()) {
        unusable(index, found->second, value);
    }
    return value;
}

}  // namespace

const char* unusableReason(std::size_t index, std::string_view text) {
    float ignored = 0.0f;
    return unusable(index, text, ignored);
}

void setResetAttachment(DictDataFile& file) {
    for (const AttachmentKey& reset : ATTACHMENT_KEYS) {
        file.setInt(reset.dataKey, reset.resetValue);
    }
}

Attachment sanitizedAttachment(const DictDataFile* file) {
    float values[ATTACHMENT_KEYS.size()];
    for (std::size_t i = 0; i < ATTACHMENT_KEYS.size(); ++i) {
        values[i] = storedOrReset(file, i);
    }
    return Attachment{{values[0], values[1], values[2]}, {values[3], values[4], values[5]}};
}

float offsetLength(const Attachment& attachment) {
    const Vector3& v = attachment.offset;
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}
