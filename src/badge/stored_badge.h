#pragma once
#include <cstdint>

#include "host/natives/entity.h"

// The badge as the data file remembers it. The menu script may run before the badge script
// has opened the data file: then every value reads as absent and nothing is written.

// The stored offset and rotation as a badge is put on with them (sanitizedAttachment).
Attachment readStoredAttachment();

// The `badge` entry: the catalogue index of the chosen badge, or any other value for none.
std::int32_t readStoredBadgeIndex();

// Writes `badge` and saves at once.
void storeBadgeIndex(std::int32_t index);

// One diagnostics log line for each stored value that is not what the badge is put on with
// (missing, no number, read as another, out of reach, no badge) saying what it reads as and
// what is done instead, and for each key the plug-in does not use, with the one likely meant.
// Called once, when the data file has been read.
void logUnusableStoredValues();
