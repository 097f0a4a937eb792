#pragma once
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/native_hashes.h"

class CallContext;
using NativeHandler = void (*)(CallContext&);

// One game native the emulated host knows. The parameter letters give the argument count and
// what each pushed word must look like:
//   i  a 32-bit integer, handle or hash (high half 0)
//   b  a BOOL (0 or 1)
//   f  a float's bits (high half 0)
//   p  a pointer (a text or a caller's variable)
//   w  a 64-bit word
// A trailing ">p" says the result is an address (it differs between runs, like pointers), ">v"
// that it is a position (Vector3, three floats), also when the handler leaves it at 0 0 0.
struct NativeEntry {
    NativeHash hash = 0;
    const char* params = "";
    NativeHandler handler = nullptr;
    const char* name = "";  // from the shared native list
    // Filled in by the table from the letters, for the check of every call.
    std::uint8_t argCount = 0;
    std::uint32_t narrowArgs = 0;  // bit i: argument i must fit 32 bits (i, f, b)
    std::uint32_t boolArgs = 0;    // bit i: argument i must be 0 or 1 (b)
    bool vectorResult = false;     // >v

    std::size_t arity() const;
    bool resultIsAddress() const;
    bool resultIsVector() const { return vectorResult; }
};

// A flat table sorted by hash, with an open-addressed index in front of it: every native call
// looks its hash up. An unknown hash is an error, never a silent 0.
class NativeTable {
  public:
    // Natives with more arguments than the host's call buffer holds cannot be registered.
    static constexpr std::size_t MAX_ARGS = 32;

    // Registers one area's natives; every hash must be in the shared native list.
    void add(std::initializer_list<NativeEntry> entries);
    const NativeEntry* find(NativeHash hash) const {
        for (std::size_t at = slotOf(hash);; at = (at + 1) & (index_.size() - 1)) {
            const std::int32_t i = index_.empty() ? -1 : index_[at];
            if (i < 0 || entries_[static_cast<std::size_t>(i)].hash == hash) {
                return i < 0 ? nullptr : &entries_[static_cast<std::size_t>(i)];
            }
        }
    }
    std::size_t indexOf(const NativeEntry* entry) const {
        return static_cast<std::size_t>(entry - entries_.data());
    }
    std::size_t size() const { return entries_.size(); }
    const std::vector<NativeEntry>& entries() const { return entries_; }

  private:
    std::size_t slotOf(NativeHash hash) const {
        return index_.empty() ? 0
                              : static_cast<std::size_t>(hash ^ (hash >> 29)) & (index_.size() - 1);
    }
    void rebuildIndex();

    std::vector<NativeEntry> entries_;
    std::vector<std::int32_t> index_;  // a power of two long, at most a quarter full; -1 free
};

// The game name of a native in the shared list, or nullptr.
const char* nativeName(NativeHash hash);
// A native of the shared list by the plug-in's constant name (SET_PLAYER_RESET_FLAG) or its
// game name with or without the namespace (PLAYER::_SET_PLAYER_RESET_FLAG).
std::optional<NativeHash> nativeHashByName(std::string_view name);
// Every native of the shared list by the plug-in's constant name.
std::vector<std::string> nativeConstantNames();
