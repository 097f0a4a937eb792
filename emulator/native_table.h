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

// Natives with more arguments than the host's call buffer holds cannot be registered.
constexpr std::size_t MAX_NATIVE_ARGS = 32;

// The largest word an argument of each kind may be: a pointer or a 64-bit word (p, w), a
// zero-extended 32-bit value (i, f), a BOOL (b). One comparison a word.
enum ArgKind : std::uint8_t { ANY_WORD, WORD_32, BOOL_WORD };
constexpr std::uint64_t ARG_LIMITS[] = {UINT64_MAX, UINT32_MAX, 1};

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
    std::uint16_t index = 0;    // its place in the table, for per-native counts
    bool vectorResult = false;  // >v
    // What each argument may be (ARG_LIMITS); past the last one, any word.
    std::uint8_t argKinds[MAX_NATIVE_ARGS] = {};

    std::size_t arity() const;
    bool resultIsAddress() const;
    bool resultIsVector() const { return vectorResult; }
};

// A flat table sorted by hash, with an open-addressed index in front of it: every native call
// looks its hash up. An unknown hash is an error, never a silent 0.
class NativeTable {
  public:
    static constexpr std::size_t MAX_ARGS = MAX_NATIVE_ARGS;

    NativeTable() = default;
    // The index points into the entries: a move keeps them where they are, a copy would not.
    NativeTable(const NativeTable&) = delete;
    NativeTable& operator=(const NativeTable&) = delete;
    NativeTable(NativeTable&&) = default;
    NativeTable& operator=(NativeTable&&) = default;

    // A native's place in the index: its hash beside what every call of it needs, in one
    // cache line, so that a call reads no more of the table.
    static constexpr std::size_t CHECKED_FIRST = 3;
    struct alignas(64) Slot {
        NativeHash hash = 0;
        const NativeEntry* entry = nullptr;  // null: a free slot, where the probe ends
        NativeHandler handler = nullptr;
        std::uint64_t firstLimits[CHECKED_FIRST] = {};  // the first arguments' ARG_LIMITS
        std::uint64_t callsSinceMark = 0;               // for `expect trace`
        std::uint8_t argCount = 0;
    };

    // Registers one area's natives; every hash must be in the shared native list.
    void add(std::initializer_list<NativeEntry> entries);
    // The hash's slot, or the free one (entry null) if the table does not know the hash.
    const Slot& slot(NativeHash hash) const {
        for (std::size_t at = slotOf(hash);; at = (at + 1) & mask_) {
            const Slot& slot = index_[at];
            if (slot.entry == nullptr || slot.hash == hash) {
                return slot;
            }
        }
    }
    Slot& slot(NativeHash hash) {
        return const_cast<Slot&>(static_cast<const NativeTable&>(*this).slot(hash));
    }
    const NativeEntry* find(NativeHash hash) const { return slot(hash).entry; }
    // Calls of each native since the last mark.
    std::uint64_t callsSinceMark(NativeHash hash) const { return slot(hash).callsSinceMark; }
    void mark();
    std::size_t size() const { return entries_.size(); }
    const std::vector<NativeEntry>& entries() const { return entries_; }

  private:
    std::size_t slotOf(NativeHash hash) const {
        return static_cast<std::size_t>(hash ^ (hash >> 29)) & mask_;
    }
    void rebuildIndex();

    std::vector<NativeEntry> entries_;
    std::vector<Slot> index_ = std::vector<Slot>(16);  // a power of two long, at most a
    std::size_t mask_ = 15;                            // quarter full
};

// The game name of a native in the shared list, or nullptr.
const char* nativeName(NativeHash hash);
// A native of the shared list by the plug-in's constant name (SET_PLAYER_RESET_FLAG) or its
// game name with or without the namespace (PLAYER::_SET_PLAYER_RESET_FLAG).
std::optional<NativeHash> nativeHashByName(std::string_view name);
// Every native of the shared list by the plug-in's constant name.
std::vector<std::string> nativeConstantNames();
