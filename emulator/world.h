#pragma once
// The emulated game world: what the natives read and change. Plain state with a few geometric
// helpers; the native handlers (natives/*.cpp) and the scenario commands work on it.
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/random.h"
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
    std::string label;  // a scenario's name for the entity, if any

    // Peds only.
    bool human = true;
    bool dead = false;
    bool stale = false;  // listed by the nearby scan but no longer existing
    std::int32_t pedType = 4;
    std::uint32_t relationshipGroup = 0;
    bool speechStopped = false;  // the plug-in's lawman switch
    std::map<std::int32_t, bool> configFlags;
    std::set<std::uint32_t> wornCategories;     // meta-ped items that show on the ped
    std::set<std::uint32_t> pendingCategories;  // tagged, shown at the next variation update
};

struct PlayerState {
    std::int32_t id = 0;  // story mode has one player, always 0
    std::int32_t ped = 0;
    std::int32_t target = 0;
    bool wantedLevelDisabled = false;
    std::map<std::int32_t, std::uint64_t> resetFlagFrames;  // flag -> frame it was last set in
};

struct PromptState {
    std::int32_t handle = 0;
    std::uint32_t control = 0;
    std::string text;
    bool registered = false;
    bool standardMode = false;
    bool releaseMode = false;
    bool enabled = false;
    bool visible = false;
    std::int32_t priority = 0;
    bool completionPending = false;

    bool shown() const { return registered && enabled && visible; }
};

struct Gates {
    bool playerControl = true;
    bool missionActive = false;
    bool lawIncident = false;
};

struct ShownMessage {
    std::uint32_t gameTime = 0;
    std::string text;
};

struct World {
    std::map<std::int32_t, EntityState> entities;
    PlayerState player;
    std::map<std::int32_t, PromptState> prompts;
    Gates gates;
    std::vector<ShownMessage> messages;
    std::optional<std::string> cachedObjective;
    std::deque<std::string> gameTexts;           // a deque: handed-out addresses stay valid
    std::map<std::uint32_t, std::string> names;  // hash -> text, for readable reports
    Random random;
    std::optional<std::int32_t> nearbyCountOverride;  // a misbehaving scan, for tests
    std::int32_t nextEntityHandle = 0x100;
    std::int32_t nextPromptHandle = 1;

    World();

    EntityState* find(std::int32_t handle);
    // A scenario's name for a ped; "player" is the player's ped.
    EntityState* findLabel(const std::string& label);
    EntityState& playerPed();
    std::int32_t addEntity(EntityType type, std::uint32_t model, Vec3 at);
    bool deleteEntity(std::int32_t handle);

    Vec3 positionOf(const EntityState& entity) const;
    Vec3 bonePosition(const EntityState& entity, std::int32_t bone) const;
    std::vector<std::int32_t> attachedAt(std::int32_t parent, std::int32_t bone) const;

    // Texts the game owns (VAR_STRING results), passed back by their address.
    std::uint64_t makeGameText(std::string text);
    const std::string* gameText(std::uint64_t address) const;

    // Remembers the text for reports; no allocation for a name seen before.
    std::uint32_t hashName(std::string_view text);
    std::string nameOf(std::uint32_t hash) const;
    std::string describe(const EntityState& entity) const;
};

// The clothing category a meta-ped drawable belongs to (BADGES for the badge item), or 0 for a
// drawable this world does not know, with the albedo and normal maps that belong to it.
struct MetaPedItem {
    std::uint32_t drawable;
    std::uint32_t albedo;
    std::uint32_t normal;
    std::uint32_t category;
};
const MetaPedItem* findMetaPedItem(std::uint32_t drawable);

// Peds around a ped, closest first (then oldest first), within range; ignoredPedType -1 keeps
// every ped type.
std::vector<std::int32_t> nearbyPeds(const World& world, const EntityState& centre, float range,
                                     std::int32_t ignoredPedType);

// The chest point of a ped, the one the badge hangs on.
constexpr std::int32_t CHEST_BONE_INDEX = 511;
