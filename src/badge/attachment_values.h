#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/natives/entity.h"

class DictDataFile;

// One of the stored attachment values (ATTACHMENT_KEYS) and what the reset key writes to it.
struct AttachmentKey {
    const char* dataKey;
    std::int32_t resetValue;
};

// In the order they are read and reset: offsets x, y, z, then rotations x, y, z (degrees).
inline constexpr std::array<AttachmentKey, 6> ATTACHMENT_KEYS = {{
    {"xxxxx", 0},
    {"yyyyy", 0},
    {"zzzzz", 0},
    {"rot_xxxxx", -14},
    {"rot_yyyyy", 0},
    {"rot_zzzzz", 0},
}};

// Farther than this on an axis, a stored offset is no place on the chest.
inline constexpr float LARGEST_OFFSET = 1.0f;

// The attachment a badge is put on with, from the stored values: a value whose key is
// missing, or whose text is no finite number, is its reset value, and an offset beyond
// LARGEST_OFFSET on an axis is 0. Rotations are used as stored, however far the keys turned
// them. The file keeps what it holds. A null file reads as all keys missing.
Attachment sanitizedAttachment(const DictDataFile* file);

// Why sanitizedAttachment puts the badge on with the reset value of ATTACHMENT_KEYS[index]
// instead of the stored text, or null when it uses the text.
const char* unusableReason(std::size_t index, std::string_view text);

// Every attachment value as the reset key leaves it, for a data file made at the first start.
void setResetAttachment(DictDataFile& file);

// How far from the attachment point a badge put on with this attachment hangs.
float offsetLength(const Attachment& attachment);
