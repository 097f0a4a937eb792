#pragma once
// An area of the emulated game (entities, prompts, relationships, doors, ...) is one module:
// its state (per-entity data keyed by handle, never fields on every entity), its native
// handlers, its scenario verbs and expectations with their usage text, and the ped flags that
// `ped spawn` and `ped set` may name. Every area is listed in areas/area_list.inc.
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "emulator/handle_index.h"
#include "emulator/verb_table.h"

class Emulator;
class JsonWriter;
class NativeTable;
struct World;

// A scenario command of the emulated game ("ped spawn", "expect group"): verb_table.h.
using Verb = VerbOf<Emulator>;

// A state of a ped that `ped spawn NAME MODEL X Y Z FLAG...` and `ped set NAME FLAG on|off`
// name: a yes/no flag ("combat"), or one with a value after '=' ("group=REL_COP").
struct PedFlag {
    const char* name;
    void (*set)(World& world, std::int32_t ped, bool on);
    // Valued flags only: false when the value does not read.
    bool (*setValue)(World& world, std::int32_t ped, const std::string& value) = nullptr;
};

class Area {
  public:
    virtual ~Area() = default;
    virtual void registerNatives(NativeTable&) {}
    virtual std::span<const Verb> verbs() const { return {}; }
    virtual std::span<const PedFlag> pedFlags() const { return {}; }
    // Once every area exists: state that depends on the world's first entities.
    virtual void start(World&) {}
    // The entity is gone from the world: its data goes with it.
    virtual void forget(std::int32_t) {}
    // A scenario's `mark`: counts kept since the last mark start again.
    virtual void mark() {}
    // What a checker of the game's rules needs to know now, as "name=value" words separated
    // by spaces (`query facts` gathers every area's).
    virtual void facts(const Emulator&, std::string&) const {}
    // For the scenario report (sim/report/): the area's own part of the world, as members of
    // the JSON object it is given ("doors": [...]). Its fixed places, written once...
    virtual void reportMap(const World&, JsonWriter&) const {}
    // ...and its state now, written at every moment the report keeps.
    virtual void report(const World&, JsonWriter&) const {}
};

// Per-entity data of an area, in handle order (handles only grow, so that is creation order),
// found by handle in one step: most natives look up the ped they are given.
template <typename T>
class PerEntity {
  public:
    PerEntity() = default;
    PerEntity(const PerEntity&) = delete;  // the index points into this one's data
    PerEntity& operator=(const PerEntity&) = delete;

    T& operator[](std::int32_t handle) {
        if (T* found = find(handle)) {
            return *found;
        }
        T& added = data_[handle];
        index_.set(handle, &added);
        return added;
    }
    T* find(std::int32_t handle) { return const_cast<T*>(std::as_const(*this).find(handle)); }
    const T* find(std::int32_t handle) const {
        if (HandleIndex<T>::covers(handle)) {
            return index_.get(handle);
        }
        const auto it = data_.find(handle);
        return it == data_.end() ? nullptr : &it->second;
    }
    void erase(std::int32_t handle) {
        index_.clear(handle);
        data_.erase(handle);
    }
    auto begin() const { return data_.begin(); }
    auto end() const { return data_.end(); }

  private:
    std::map<std::int32_t, T> data_;
    HandleIndex<T> index_;
};

// Each area class gets a slot in the world's area table the first time it is named.
std::size_t newAreaSlot();
template <typename T>
std::size_t areaSlot() {
    static const std::size_t slot = newAreaSlot();
    return slot;
}
