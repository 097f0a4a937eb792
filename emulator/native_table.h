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
// A trailing ">p" says the result is an address (it differs between runs, like pointers).
struct NativeEntry {
    NativeHash hash = 0;
    const char* params = "";
    NativeHandler handler = nullptr;
    const char* name = "";  // from the shared native list

    std::size_t arity() const;
    bool resultIsAddress() const;
};

// Looked up in a flat table sorted by hash; an unknown hash is an error, never a silent 0.
class NativeTable {
  public:
    // Registers one area's natives; every hash must be in the shared native list.
    void add(std::initializer_list<NativeEntry> entries);
    const NativeEntry* find(NativeHash hash) const;
    std::size_t indexOf(const NativeEntry* entry) const {
        return static_cast<std::size_t>(entry - entries_.data());
    }
    std::size_t size() const { return entries_.size(); }
    const std::vector<NativeEntry>& entries() const { return entries_; }

  private:
    std::vector<NativeEntry> entries_;
};

// The game name of a native in the shared list, or nullptr.
const char* nativeName(NativeHash hash);
// A native of the shared list by the plug-in's constant name (SET_PLAYER_RESET_FLAG) or its
// game name with or without the namespace (PLAYER::_SET_PLAYER_RESET_FLAG).
std::optional<NativeHash> nativeHashByName(std::string_view name);
