#pragma once
// The emulated game world: the entities every area shares (peds and objects with their
// positions and attachments), the player, the game's texts and name dictionary, the random
// generator, and the areas that hold the rest (areas/*.cpp).
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "emulator/area.h"
#include "emulator/random.h"
#include "emulator/text_table.h"
#include "emulator/vec3.h"

enum class EntityType { Ped, Object };

struct AttachmentState {
    std::int32_t parent = 0;
    std::int32_t bone = 0;
    Vec3 offset;
    Vec3 rotation;
};

struct EntityState {
    std::int32_t handle = 0;
    EntityType type = EntityType::Object;
    std::uint32_t model = 0;
    Vec3 position;  // for an attached entity: where it was before it was attached
    float heading = 0.0f;
    std::optional<AttachmentState> attachment;
    bool scriptHostObject = false;
    bool madeByScript = false;  // CREATE_OBJECT's: gone when the game loads a save
    bool knockedOff = false;    // fell off the player: a loose object on the ground, his no more
    std::string label;          // a scenario's name for the entity, if any

    // Peds only.
    bool human = true;
    bool dead = false;
    bool stale = false;  // listed by the nearby scan but no longer existing
    std::int32_t pedType = 4;
};

// The world's entities by handle, in handle order (creation order) like a map, found by handle
// in one step, with the peds and the objects also listed apart for the searches that want one
// kind only (the nearby-ped scan, the closest-object search).
class EntityTable {
  public:
    using Map = std::map<std::int32_t, EntityState>;

    EntityTable() = default;
    EntityTable(const EntityTable&) = delete;  // the index and lists point into this one
    EntityTable& operator=(const EntityTable&) = delete;

    EntityState* find(std::int32_t handle) {
        return const_cast<EntityState*>(std::as_const(*this).find(handle));
    }
    const EntityState* find(std::int32_t handle) const {
        if (HandleIndex<EntityState>::covers(handle)) {
            return index_.get(handle);
        }
        const auto it = byHandle_.find(handle);
        return it == byHandle_.end() ? nullptr : &it->second;
    }
    // Throws std::out_of_range for a handle that names nothing, as a map does.
    EntityState& at(std::int32_t handle) { return byHandle_.at(handle); }
    const EntityState& at(std::int32_t handle) const { return byHandle_.at(handle); }
    // Its type decides the list it goes to, for good.
    EntityState& add(const EntityState& entity);
    bool erase(std::int32_t handle);

    std::size_t size() const { return byHandle_.size(); }
    Map::iterator begin() { return byHandle_.begin(); }
    Map::iterator end() { return byHandle_.end(); }
    Map::const_iterator begin() const { return byHandle_.begin(); }
    Map::const_iterator end() const { return byHandle_.end(); }
    Map::const_reverse_iterator rbegin() const { return byHandle_.rbegin(); }
    Map::const_reverse_iterator rend() const { return byHandle_.rend(); }
    const std::vector<const EntityState*>& peds() const { return peds_; }
    const std::vector<const EntityState*>& objects() const { return objects_; }

  private:
    Map byHandle_;
    HandleIndex<EntityState> index_;
    std::vector<const EntityState*> peds_;  // in handle order
    std::vector<const EntityState*> objects_;
};

struct PlayerState {
    std::int32_t id = 0;  // story mode has one player, always 0
    std::int32_t ped = 0;
    std::int32_t target = 0;
};

class Emulator;

struct World {
    EntityTable entities;
    PlayerState player;
    std::deque<std::string> gameTexts;           // a deque: handed-out addresses stay valid
    std::map<std::uint32_t, std::string> names;  // hash -> text, for readable reports
    Random random;
    std::int32_t nextEntityHandle = 0x100;
    // How far above the point it hangs at the game reports an attached entity: 0, exactly
    // there, unless a scenario says otherwise (`object attach off`).
    float attachedOffBone = 0.0f;
    // Whether another playable model answers attachment point 511 at a point of its own (its
    // points numbered apart from the first character's), or at the chest as the first does
    // (`model points own`).
    bool modelsOwnPoints = false;

    World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    EntityState* find(std::int32_t handle) { return entities.find(handle); }
    const EntityState* find(std::int32_t handle) const { return entities.find(handle); }
    // A scenario's name for a ped; "player" is the player's ped.
    EntityState* findLabel(const std::string& label);
    void labelEntity(EntityState& entity, const std::string& label);
    EntityState& playerPed();
    const EntityState& playerPed() const;
    std::int32_t addEntity(EntityType type, std::uint32_t model, Vec3 at);
    // Every area forgets the entity too.
    bool deleteEntity(std::int32_t handle);
    // A save is loaded: the objects scripts made go, every other entity (the player's ped
    // too) stays with a new handle and nothing attached, and each area builds its part anew.
    void buildAnew();

    Vec3 positionOf(const EntityState& entity) const;
    Vec3 bonePosition(const EntityState& entity, std::int32_t bone) const;
    std::vector<std::int32_t> attachedAt(std::int32_t parent, std::int32_t bone) const;

    // Texts the game owns (VAR_STRING results), passed back by their address.
    std::uint64_t makeGameText(std::string text);
    const std::string* gameText(std::uint64_t address) const;

    // Remembers the text for reports; no allocation for a name seen before.
    std::uint32_t hashName(std::string_view text) {
        const std::uint32_t* known = hashedTexts_.find(text);
        return known != nullptr ? *known : hashNewName(text);
    }
    std::string nameOf(std::uint32_t hash) const;
    std::string describe(const EntityState& entity) const;
    std::string describe(std::int32_t handle) const;

    template <typename T>
    T& area() {
        return static_cast<T&>(*areas_[areaSlot<T>()]);
    }
    template <typename T>
    const T& area() const {
        return static_cast<const T&>(*areas_[areaSlot<T>()]);
    }
    template <typename T>
    void addArea() {
        const std::size_t slot = areaSlot<T>();
        if (areas_.size() <= slot) {
            areas_.resize(slot + 1);
        }
        areas_[slot] = std::make_unique<T>();
        order_.push_back(areas_[slot].get());
    }
    // In registration order.
    const std::vector<Area*>& areas() const { return order_; }

    // Where timeline lines go; set by the emulator that owns the world.
    Emulator* emulator = nullptr;

  private:
    std::uint32_t hashNewName(std::string_view text);

    TextTable hashedTexts_;  // text -> its name hash
    // Scenario names -> handles: a story may name thousands of peds, each name looked up.
    std::map<std::string, std::int32_t, std::less<>> labels_;
    std::vector<std::unique_ptr<Area>> areas_;
    std::vector<Area*> order_;
};

// Every area of the game, in the order their verbs and flags are listed (areas/area_list.inc).
void addAllAreas(World& world);

// Peds around a ped with their distances, closest first (then oldest first), within range;
// ignoredPedType -1 keeps every ped type. Into the caller's list, which keeps its room from
// scan to scan.
void nearbyPeds(const World& world, const EntityState& centre, float range,
                std::int32_t ignoredPedType, std::vector<std::pair<float, std::int32_t>>& found);

// The chest point of a ped, the one the badge hangs on.
constexpr std::int32_t CHEST_BONE_INDEX = 511;
