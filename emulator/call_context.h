#pragma once
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "emulator/native_table.h"
#include "emulator/vec3.h"

class Emulator;
struct World;

// What a native handler sees of one call: typed arguments, a result, the world.
class CallContext {
  public:
    CallContext(Emulator& emulator, World& world, const NativeEntry& entry,
                const std::uint64_t* args, std::uint64_t* result)
        : emulator_(emulator), world_(world), entry_(entry), args_(args), result_(result) {}

    // Reading past the call's arguments is a fault of the handler: it fails the run naming the
    // native, and the read gives 0.
    template <typename T>
    T arg(std::size_t index) const {
        const std::uint64_t word = argWord(index);
        if constexpr (std::is_same_v<T, float>) {
            return std::bit_cast<float>(static_cast<std::uint32_t>(word));
        } else if constexpr (std::is_same_v<T, bool>) {
            return word != 0;
        } else if constexpr (std::is_same_v<T, std::uint64_t>) {
            return word;
        } else {
            static_assert(sizeof(T) == 4 && std::is_integral_v<T>);
            return static_cast<T>(static_cast<std::uint32_t>(word));
        }
    }

    template <typename T>
    T* ptr(std::size_t index) const {
        return reinterpret_cast<T*>(static_cast<std::uintptr_t>(argWord(index)));
    }

    // A pointer argument read as a NUL-terminated text; fails the call when it is null.
    std::string_view text(std::size_t index) {
        const char* text = ptr<const char>(index);
        return text != nullptr ? std::string_view(text) : nullText(index);
    }

    Vec3 vec(std::size_t first) const {
        return {arg<float>(first), arg<float>(first + 1), arg<float>(first + 2)};
    }

    void result(std::int32_t value) { *result_ = static_cast<std::uint32_t>(value); }
    void result(std::uint32_t value) { *result_ = value; }
    void result(bool value) { *result_ = value ? 1 : 0; }
    void result(float value) { *result_ = std::bit_cast<std::uint32_t>(value); }
    void resultWord(std::uint64_t value) { *result_ = value; }
    // The host's 24-byte layout: x, y, z at byte offsets 0, 8 and 16.
    void result(Vec3 value);

    World& world() { return world_; }
    Emulator& emulator() { return emulator_; }
    std::uint32_t gameTime() const;
    const NativeEntry& entry() const { return entry_; }

    // A loud failure that names this native; the calling script stops.
    void fail(const std::string& message);
    // A line on the timeline, at the current game time.
    void event(const std::string& text);

  private:
    std::uint64_t argWord(std::size_t index) const {
        if (index >= entry_.argCount) [[unlikely]] {
            return pastTheArguments(index);
        }
        return args_[index];
    }
    std::uint64_t pastTheArguments(std::size_t index) const;
    std::string_view nullText(std::size_t index);

    Emulator& emulator_;
    World& world_;
    const NativeEntry& entry_;
    const std::uint64_t* args_;
    std::uint64_t* result_;
};
