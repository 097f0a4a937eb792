#pragma once
#include <array>
#include <cstdint>

#include "host/platform_types.h"

// What the last keyboard message said about one key. Every message overwrites the whole record.
struct KeyRecord {
    std::uint32_t tick = 0;
    std::int32_t altDown = 0;         // recorded, never read
    std::int32_t previouslyDown = 0;  // recorded, never read
    std::int32_t released = 0;        // non-zero for a release, 0 for a press
};
static_assert(sizeof(KeyRecord) == 16);

// One record per key code 0 to 254; codes 255 and up have none.
constexpr std::uint32_t KEY_CODE_COUNT = 255;
using KeyStateTable = std::array<KeyRecord, KEY_CODE_COUNT>;

extern KeyStateTable keyStateTable;

void onKeyboardMessage(DWORD key, WORD repeats, BYTE scanCode, BOOL isExtended, BOOL isWithAlt,
                       BOOL wasDownBefore, BOOL isUpNow);

// True for up to 5000 ms after the key's last press message, false at once after a release and
// for a key with no message. Both windows compare the time since the message, so they hold
// across the tick counter's wrap.
bool keyHeld(std::uint32_t key);

// True for 100 ms after a release; with consume, the first true answer forgets the release.
bool keyReleased(std::uint32_t key, bool consume);
