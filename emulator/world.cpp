#include "emulator/world.h"

#include <algorithm>
#include <cstdio>

#include "emulator/jenkins.h"

namespace {

// Where a ped's chest point sits relative to its root, before the heading turns it.
constexpr Vec3 CHEST_OFFSET{0.0f, 0.12f, 0.55f};

struct ModelPoint {
    std::uint32_t model;
    Vec3 offset;
};

// Where attachment point 511 sits on another playable model that numbers its points apart
// from the first character's (ours: public bone lists give other indices for the same points;
// the place is a guess, low on the back).
// clang-format off
const ModelPoint OTHER_MODEL_POINTS[] = {
    {jenkinsHash("PLAYER_THREE"), {0.0f, -0.1f, 0.3f}},
};
// clang-format on

}  // namespace

void sinCosDegrees(float degrees, float& sine, float& cosine) {
    // Reduce to [-180, 180), then use exact values on the axes and a Taylor series elsewhere.
    double d = degrees - 360.0 * static_cast<double>(static_cast<long long>(degrees / 360.0));
    if (d >= 180.0)
        d -= 360.0;
    if (d < -180.0)
        d += 360.0;
    if (d == 0.0 || d == 90.0 || d == -90.0 || d == -180.0) {
        sine = d == 90.0 ? 1.0f : (d == -90.0 ? -1.0f : 0.0f);
        cosine = d == 0.0 ? 1.0f : (d == -180.0 ? -1.0f : 0.0f);
        return;
    }
    const double x = d * 3.14159265358979323846 / 180.0;
    double term = x;
    double s = 0.0;
    double c = 0.0;
    double cterm = 1.0;
    for (int n = 1; n < 40; n += 2) {
        s += term;
        c += cterm;
        term *= -x * x / ((n + 1) * (n + 2));
        cterm *= -x * x / (n * (n + 1));
    }
    sine = static_cast<float>(s);
    cosine = static_cast<float>(c);
}

World::World() {
    player.ped = addEntity(EntityType::Ped, hashName("PLAYER_ZERO"), Vec3{0.0f, 0.0f, 0.0f});
    EntityState& ped = entities.at(player.ped);
    ped.pedType = 0;
    labelEntity(ped, "player");
    addAllAreas(*this);
    for (Area* area : order_) {
        area->start(*this);
    }
}

namespace {

// Handles only grow, so a new entity goes last; a search keeps the list sound regardless.
void insertInOrder(std::vector<const EntityState*>& list, const EntityState* entity) {
    const auto at = std::upper_bound(
        list.begin(), list.end(), entity->handle,
        [](std::int32_t handle, const EntityState* e) { return handle < e->handle; });
    list.insert(at, entity);
}

void removeFrom(std::vector<const EntityState*>& list, const EntityState* entity) {
    const auto at = std::lower_bound(
        list.begin(), list.end(), entity->handle,
        [](const EntityState* e, std::int32_t handle) { return e->handle < handle; });
    if (at != list.end() && *at == entity) {
        list.erase(at);
    }
}

}  // namespace

EntityState& EntityTable::add(const EntityState& entity) {
    const auto [it, added] = byHandle_.emplace(entity.handle, entity);
    if (added) {
        index_.set(entity.handle, &it->second);
        insertInOrder(entity.type == EntityType::Ped ? peds_ : objects_, &it->second);
    }
    return it->second;
}

bool EntityTable::erase(std::int32_t handle) {
    const auto it = byHandle_.find(handle);
    if (it == byHandle_.end()) {
        return false;
    }
    removeFrom(it->second.type == EntityType::Ped ? peds_ : objects_, &it->second);
    index_.clear(handle);
    byHandle_.erase(it);
    return true;
}

EntityState* World::findLabel(const std::string& label) {
    const auto it = labels_.find(label);
    return it == labels_.end() ? nullptr : entities.find(it->second);
}

void World::labelEntity(EntityState& entity, const std::string& label) {
    labels_.erase(entity.label);
    entity.label = label;
    labels_[label] = entity.handle;
}

EntityState& World::playerPed() {
    return entities.at(player.ped);
}

const EntityState& World::playerPed() const {
    return entities.at(player.ped);
}

std::int32_t World::addEntity(EntityType type, std::uint32_t model, Vec3 at) {
    EntityState entity;
    entity.handle = nextEntityHandle++;
    entity.type = type;
    entity.model = model;
    entity.position = at;
    entities.add(entity);
    return entity.handle;
}

bool World::deleteEntity(std::int32_t handle) {
    const EntityState* entity = entities.find(handle);
    if (entity != nullptr && !entity->label.empty()) {
        labels_.erase(entity->label);
    }
    if (!entities.erase(handle)) {
        return false;
    }
    for (Area* area : order_) {
        area->forget(handle);
    }
    return true;
}

void World::buildAnew() {
    std::vector<std::int32_t> scriptObjects;
    for (const auto& [handle, entity] : entities) {
        if (entity.madeByScript) {
            scriptObjects.push_back(handle);
        }
    }
    for (const std::int32_t handle : scriptObjects) {
        deleteEntity(handle);
    }
    NewHandles newHandles;
    std::vector<EntityState> staying;
    for (const auto& [handle, entity] : entities) {
        staying.push_back(entity);
    }
    for (EntityState& entity : staying) {
        entities.erase(entity.handle);
        const std::int32_t handle = nextEntityHandle++;
        newHandles[entity.handle] = handle;
        entity.handle = handle;
        entity.attachment.reset();
        EntityState& added = entities.add(entity);
        if (!added.label.empty()) {
            labels_[added.label] = handle;
        }
    }
    player.ped = newHandles.at(player.ped);
    const auto target = newHandles.find(player.target);
    player.target = target != newHandles.end() ? target->second : 0;
    for (Area* area : order_) {
        area->buildAnew(*this, newHandles);
    }
}

Vec3 World::positionOf(const EntityState& entity) const {
    if (!entity.attachment) {
        return entity.position;
    }
    const EntityState* parent = entities.find(entity.attachment->parent);
    if (parent == nullptr) {
        return entity.position;
    }
    const Vec3 anchor = bonePosition(*parent, entity.attachment->bone);
    return anchor + rotateByHeading(entity.attachment->offset, parent->heading) +
           Vec3{0.0f, 0.0f, attachedOffBone};
}

// Only peds have the chest point; any other bone, or any bone of an object, is the centre.
Vec3 World::bonePosition(const EntityState& entity, std::int32_t bone) const {
    const Vec3 root = positionOf(entity);
    if (entity.type == EntityType::Ped && bone == CHEST_BONE_INDEX) {
        Vec3 offset = CHEST_OFFSET;
        for (const ModelPoint& point : OTHER_MODEL_POINTS) {
            offset = modelsOwnPoints && point.model == entity.model ? point.offset : offset;
        }
        return root + rotateByHeading(offset, entity.heading);
    }
    return root;
}

std::vector<std::int32_t> World::attachedAt(std::int32_t parent, std::int32_t bone) const {
    std::vector<std::int32_t> handles;
    for (const auto& [handle, entity] : entities) {
        if (entity.attachment && entity.attachment->parent == parent &&
            entity.attachment->bone == bone) {
            handles.push_back(handle);
        }
    }
    return handles;
}

std::uint64_t World::makeGameText(std::string text) {
    // The game keeps only a few recent texts; a caller must use one at once.
    constexpr std::size_t KEPT_TEXTS = 64;
    if (gameTexts.size() == KEPT_TEXTS) {
        gameTexts.pop_front();
    }
    gameTexts.push_back(std::move(text));
    return reinterpret_cast<std::uintptr_t>(gameTexts.back().c_str());
}

const std::string* World::gameText(std::uint64_t address) const {
    for (const std::string& text : gameTexts) {
        if (reinterpret_cast<std::uintptr_t>(text.c_str()) == address) {
            return &text;
        }
    }
    return nullptr;
}

std::uint32_t World::hashNewName(std::string_view text) {
    const std::uint32_t hash = jenkinsHash(text);
    names.try_emplace(hash, text);
    hashedTexts_.add(text, hash);
    return hash;
}

std::string World::describe(const EntityState& entity) const {
    if (!entity.label.empty()) {
        return entity.label;
    }
    return nameOf(entity.model) + " #" + std::to_string(entity.handle);
}

std::string World::describe(std::int32_t handle) const {
    if (const EntityState* entity = find(handle)) {
        return describe(*entity);
    }
    std::string text = "#";  // gcc 12 warns falsely about "#" + std::string (-Wrestrict)
    text += std::to_string(handle);
    return text;
}

void nearbyPeds(const World& world, const EntityState& centre, float range,
                std::int32_t ignoredPedType, std::vector<std::pair<float, std::int32_t>>& found) {
    const Vec3 origin = world.positionOf(centre);
    found.clear();
    for (const EntityState* ped : world.entities.peds()) {
        if (ped->handle == centre.handle || ped->pedType == ignoredPedType) {
            continue;
        }
        const float distance = distance3d(world.positionOf(*ped), origin);
        if (distance <= range) {
            found.emplace_back(distance, ped->handle);
        }
    }
    std::sort(found.begin(), found.end());
}

std::size_t newAreaSlot() {
    static std::size_t next = 0;
    return next++;
}

std::string World::nameOf(std::uint32_t hash) const {
    const auto it = names.find(hash);
    if (it != names.end()) {
        return it->second;
    }
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", hash);
    return text;
}
