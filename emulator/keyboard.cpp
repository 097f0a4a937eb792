#include "emulator/keyboard.h"

#include <algorithm>

void Keyboard::registerHandler(KeyboardHandler handler) {
    handlers_.push_back(handler);
}

void Keyboard::unregisterHandler(KeyboardHandler handler) {
    std::erase(handlers_, handler);
}

void Keyboard::press(std::uint32_t key, std::uint32_t now) {
    const auto held =
        std::find_if(held_.begin(), held_.end(), [&](const HeldKey& h) { return h.key == key; });
    send(key, held != held_.end(), false);
    if (held == held_.end()) {
        held_.push_back({key, now + REPEAT_DELAY_MS});
    }
}

void Keyboard::release(std::uint32_t key) {
    std::erase_if(held_, [&](const HeldKey& h) { return h.key == key; });
    send(key, true, true);
}

void Keyboard::deliverRepeats(std::uint32_t now) {
    if (!autoRepeat_) {
        return;
    }
    for (HeldKey& held : held_) {
        if (static_cast<std::int32_t>(now - held.nextRepeatAt) >= 0) {
            send(held.key, true, false);
            held.nextRepeatAt += REPEAT_INTERVAL_MS;  // keeps the pace whatever the frame step
        }
    }
}

void Keyboard::send(std::uint32_t key, bool wasDown, bool isUp) {
    // Copied: a handler may unregister itself.
    const std::vector<KeyboardHandler> handlers = handlers_;
    for (KeyboardHandler handler : handlers) {
        handler(key, 1, 0, FALSE, FALSE, wasDown ? TRUE : FALSE, isUp ? TRUE : FALSE);
    }
}
