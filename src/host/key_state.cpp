#include "host/key_state.h"

#include "host/clock.h"

namespace {

constexpr std::uint32_t HELD_WINDOW_MS = 5000;
constexpr std::uint32_t RELEASE_WINDOW_MS = 100;

// An all-zero record was never written, or was consumed: no message stands behind it. (A
// press stored at tick 0 with both flags 0 looks the same; it counts from the next message.)
bool written(const KeyRecord& record) {
    return record.tick != 0 || record.altDown != 0 || record.previouslyDown != 0 ||
           record.released != 0;
}

// The time since the message, in unsigned 32-bit arithmetic: a window that spans the counter's
// wrap (every 49.7 days) stays whole.
bool withinWindow(const KeyRecord& record, std::uint32_t window) {
    return written(record) && tickCount() - record.tick < window;
}

}  // namespace

KeyStateTable keyStateTable{};

void onKeyboardMessage(DWORD key, WORD, BYTE, BOOL, BOOL isWithAlt, BOOL wasDownBefore,
                       BOOL isUpNow) {
    if (key >= KEY_CODE_COUNT) {
        return;
    }
    KeyRecord& record = keyStateTable[key];
    record.tick = tickCount();
    record.altDown = isWithAlt;
    record.previouslyDown = wasDownBefore;
    record.released = isUpNow;
}

bool keyHeld(std::uint32_t key) {
    if (key >= KEY_CODE_COUNT) {
        return false;
    }
    const KeyRecord& record = keyStateTable[key];
    return withinWindow(record, HELD_WINDOW_MS) && record.released == 0;
}

bool keyReleased(std::uint32_t key, bool consume) {
    if (key >= KEY_CODE_COUNT) {
        return false;
    }
    KeyRecord& record = keyStateTable[key];
    const bool answer = withinWindow(record, RELEASE_WINDOW_MS) && record.released != 0;
    if (answer && consume) {
        record = KeyRecord{};
    }
    return answer;
}
