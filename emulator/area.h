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
struct GameFacts;
class JsonWriter;
class NativeTable;
struct World;

// A scenario command of the emulated game ("ped spawn", "expect group"): verb_table.h.
using Verb = VerbOf<Emulator>;

// When the game loads a save, every entity that stays gets a new handle: old -> new.
using NewHandles = std::map<std::int32_t, std::int32_t>;

// A ped flag's value, read as its placeholder says ("heading=90").
struct FlagValue {
    const std::string& word;
    std::int64_t whole;
    float number;
};

// A state of a ped that `ped spawn NAME MODEL X Y Z FLAG...` and `ped set NAME FLAG on|off`
// name: a yes/no flag ("combat"), or one with a value after '=' ("group=REL_COP"), whose type
// its placeholder gives.
struct PedFlag {
    const char* name;
    void (*set)(World& world, std::int32_t ped, bool on);
    // Valued flags only.
    const Placeholder* value = nullptr;
    void (*setValue)(World& world, std::int32_t ped, const FlagValue& value) = nullptr;
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
    // The game loaded a save and built its world anew (docs/emulated_game.md): what scripts
    // made or set is gone, what the game itself holds stays, and the entities that stay have
    // new handles. The objects scripts made are already forgotten.
    virtual void buildAnew(World&, const NewHandles&) {}
    // At the start of every frame, before the scripts run: what the game does over time.
    virtual void beforeFrame(Emulator&) {}
    // The game made a new ped for the player (a respawn, another character): what the area
    // keeps of the player's own ped starts afresh for it.
    virtual void newPlayerPed(World&) {}
    // A scenario's `mark`: counts kept since the last mark start again.
    virtual void mark() {}
    // What a checker of the game's rules needs to know now: the area's own facts of the list
    // (game_facts.inc), which `query facts` gathers.
    virtual void facts(const Emulator&, GameFacts&) const {}
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
    void clear() {
        for (const auto& [handle, data] : data_) {
            index_.clear(handle);
        }
        data_.clear();
    }
    // The data of each entity that stays goes to its new handle; the rest goes.
    void renumber(const NewHandles& newHandles) {
        std::map<std::int32_t, T> moved;
        for (auto& [handle, data] : data_) {
            const auto it = newHandles.find(handle);
            if (it != newHandles.end()) {
                moved.emplace(it->second, std::move(data));
            }
        }
        clear();
        data_.swap(moved);
        for (auto& [handle, data] : data_) {
            index_.set(handle, &data);
        }
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
