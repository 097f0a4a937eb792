#include "emulator/call_context.h"

#include <cstring>

#include "emulator/emulator.h"

std::uint64_t CallContext::pastTheArguments(std::size_t index) const {
    emulator_.fail(std::string(entry_.name) + ": the handler reads argument " +
                   std::to_string(index + 1) + " of a call that has " +
                   std::to_string(entry_.argCount));
    return 0;
}

std::string_view CallContext::nullText(std::size_t index) {
    fail("argument " + std::to_string(index + 1) + " should point to a text but is null");
    return {};
}

void CallContext::result(Vec3 value) {
    std::memcpy(&result_[0], &value.x, sizeof(float));
    std::memcpy(&result_[1], &value.y, sizeof(float));
    std::memcpy(&result_[2], &value.z, sizeof(float));
}

std::uint32_t CallContext::gameTime() const {
    return emulator_.clock.gameTime;
}

void CallContext::fail(const std::string& message) {
    emulator_.fail(std::string(entry_.name) + ": " + message);
}

void CallContext::event(const std::string& text) {
    emulator_.event(text);
}
