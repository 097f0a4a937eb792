#pragma once
// The one convention for calling game natives: start the call with its hash, push every
// argument as one 64-bit word, call, and read the result at once (the host reuses its result
// buffer for the next call).
#include <bit>
#include <cstdint>
#include <type_traits>

#include "host/host_api.h"
#include "host/native_hashes.h"

// Handles and hashes are the game's 32-bit values; 0 means none.
using Entity = std::int32_t;
using Ped = std::int32_t;
using Player = std::int32_t;
using Object = std::int32_t;
using Prompt = std::int32_t;
using Blip = std::int32_t;
using Hash = std::uint32_t;

// The host's 24-byte position layout: three floats, each in its own 8-byte slot.
struct Vector3 {
    alignas(8) float x = 0.0f;
    alignas(8) float y = 0.0f;
    alignas(8) float z = 0.0f;
};
static_assert(sizeof(Vector3) == 24);

namespace native_detail {

// 32-bit values are zero-extended (-1 is 0x00000000FFFFFFFF), floats go as their bits.
inline std::uint64_t toWord(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}
inline std::uint64_t toWord(std::uint32_t value) {
    return value;
}
inline std::uint64_t toWord(bool value) {
    return value ? 1 : 0;
}
inline std::uint64_t toWord(float value) {
    return std::bit_cast<std::uint32_t>(value);
}
inline std::uint64_t toWord(std::uint64_t value) {
    return value;
}
template <typename T>
std::uint64_t toWord(T* pointer) {
    static_assert(sizeof(T*) <= 8);
    return reinterpret_cast<std::uintptr_t>(pointer);
}

template <typename R>
R fromResult(const std::uint64_t* result) {
    const auto low = static_cast<std::uint32_t>(result[0]);
    if constexpr (std::is_same_v<R, bool>) {
        return low != 0;
    } else if constexpr (std::is_same_v<R, float>) {
        return std::bit_cast<float>(low);
    } else if constexpr (std::is_same_v<R, std::uint64_t>) {
        return result[0];
    } else if constexpr (std::is_same_v<R, Vector3>) {
        // x, y and z each in the first four bytes of their own word.
        Vector3 vector;
        vector.x = std::bit_cast<float>(static_cast<std::uint32_t>(result[0]));
        vector.y = std::bit_cast<float>(static_cast<std::uint32_t>(result[1]));
        vector.z = std::bit_cast<float>(static_cast<std::uint32_t>(result[2]));
        return vector;
    } else {
        static_assert(sizeof(R) == 4 && std::is_integral_v<R>, "unsupported native result");
        return static_cast<R>(low);
    }
}

}  // namespace native_detail

template <typename R = void, typename... Args>
R invokeNative(NativeHash hash, Args... args) {
    nativeInit(hash);
    (nativePush64(native_detail::toWord(args)), ...);
    const std::uint64_t* result = nativeCall();
    if constexpr (!std::is_void_v<R>) {
        return native_detail::fromResult<R>(result);
    }
}
