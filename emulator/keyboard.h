#pragma once
#include <cstdint>
#include <vector>

#include "host/host_api.h"

// Delivers keyboard messages to the registered handlers, between frames, with all seven
// arguments. A key held down repeats its press message as Windows does (after 500 ms, every
// 33 ms), so a held key keeps looking held to the plug-in.
class Keyboard {
  public:
    static constexpr std::uint32_t REPEAT_DELAY_MS = 500;
    static constexpr std::uint32_t REPEAT_INTERVAL_MS = 33;

    void registerHandler(KeyboardHandler handler);
    void unregisterHandler(KeyboardHandler handler);
    std::size_t handlerCount() const { return handlers_.size(); }
    void setAutoRepeat(bool on) { autoRepeat_ = on; }

    void press(std::uint32_t key, std::uint32_t now);
    void release(std::uint32_t key);
    void deliverRepeats(std::uint32_t now);

  private:
    struct HeldKey {
        std::uint32_t key;
        std::uint32_t nextRepeatAt;
    };

    void send(std::uint32_t key, bool wasDown, bool isUp);

    std::vector<KeyboardHandler> handlers_;
    std::vector<HeldKey> held_;
    bool autoRepeat_ = true;
};
