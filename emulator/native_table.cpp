#include "emulator/native_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "emulator/trace.h"

namespace {

struct KnownNative {
    NativeHash hash;
    const char* name;      // the game's, "PLAYER::_SET_PLAYER_RESET_FLAG"
    const char* constant;  // the plug-in's, "SET_PLAYER_RESET_FLAG"
};

constexpr KnownNative KNOWN_NATIVES[] = {
#define TSW_NATIVE(constant, hash, gameName) {hash, gameName, #constant},
#include "host/native_list.inc"
#undef TSW_NATIVE
};

[[noreturn]] void tableError(const char* what, NativeHash hash) {
    std::fprintf(stderr, "emulator native table: %s 0x%016llX\n", what,
                 static_cast<unsigned long long>(hash));
    std::abort();
}

}  // namespace

std::size_t NativeEntry::arity() const {
    return splitParams(params).args.size();
}

bool NativeEntry::resultIsAddress() const {
    return splitParams(params).addressResult;
}

const char* nativeName(NativeHash hash) {
    for (const KnownNative& known : KNOWN_NATIVES) {
        if (known.hash == hash) {
            return known.name;
        }
    }
    return nullptr;
}

// The constant, the game name, or the game name without its namespace: scenarios may use any.
std::optional<NativeHash> nativeHashByName(std::string_view name) {
    for (const KnownNative& known : KNOWN_NATIVES) {
        const std::string_view full = known.name;
        const auto colons = full.rfind("::");
        const std::string_view bare =
            colons == std::string_view::npos ? full : full.substr(colons + 2);
        if (name == known.constant || name == full || name == bare) {
            return known.hash;
        }
    }
    return std::nullopt;
}

std::vector<std::string> nativeConstantNames() {
    std::vector<std::string> names;
    for (const KnownNative& known : KNOWN_NATIVES) {
        names.push_back(known.constant);
    }
    return names;
}

void NativeTable::add(std::initializer_list<NativeEntry> entries) {
    for (NativeEntry entry : entries) {
        entry.name = nativeName(entry.hash);
        if (entry.name == nullptr) {
            tableError("handler for a native missing from the native list:", entry.hash);
        }
        if (find(entry.hash) != nullptr) {
            tableError("two handlers for", entry.hash);
        }
        if (entries_.size() > UINT16_MAX) {
            tableError("too many natives to count, at", entry.hash);
        }
        const ParamLetters split = splitParams(entry.params);
        const std::string_view letters = split.args;
        if (letters.size() > MAX_ARGS) {
            tableError("more arguments than a call can carry for", entry.hash);
        }
        entry.argCount = static_cast<std::uint8_t>(letters.size());
        entry.vectorResult = split.vectorResult;
        std::fill(std::begin(entry.argKinds), std::end(entry.argKinds), ANY_WORD);
        for (std::size_t i = 0; i < letters.size(); ++i) {
            const bool narrow = letters[i] == 'i' || letters[i] == 'f';
            entry.argKinds[i] = letters[i] == 'b' ? BOOL_WORD : narrow ? WORD_32 : ANY_WORD;
        }
        const auto at =
            std::lower_bound(entries_.begin(), entries_.end(), entry.hash,
                             [](const NativeEntry& e, NativeHash hash) { return e.hash < hash; });
        entries_.insert(at, entry);
        rebuildIndex();
    }
}

void NativeTable::rebuildIndex() {
    std::size_t size = 16;
    while (size < entries_.size() * 4) {
        size *= 2;
    }
    index_.assign(size, Slot{});
    mask_ = size - 1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        NativeEntry& entry = entries_[i];
        entry.index = static_cast<std::uint16_t>(i);
        std::size_t at = slotOf(entry.hash);
        while (index_[at].entry != nullptr) {
            at = (at + 1) & mask_;
        }
        Slot& slot = index_[at];
        slot = {entry.hash, &entry, entry.handler, {}, 0, entry.argCount};
        for (std::size_t k = 0; k < CHECKED_FIRST; ++k) {
            slot.firstLimits[k] = ARG_LIMITS[entry.argKinds[k]];
        }
    }
}

void NativeTable::mark() {
    for (Slot& slot : index_) {
        slot.callsSinceMark = 0;
    }
}
