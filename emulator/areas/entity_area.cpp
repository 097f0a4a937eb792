// Entities: peds and objects, where they are, what hangs on them, and the game's ped scan.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>

#include "emulator/areas/area_support.h"
#include "emulator/atlas.h"
#include "emulator/game_facts.h"
#include "emulator/jenkins.h"
#include "emulator/nearest_words.h"

namespace {

// How far the game's nearby-ped list reaches.
constexpr float NEARBY_RANGE = 150.0f;

void getWorldPositionOfEntityBone(CallContext& call) {
    if (const EntityState* entity = entityArg(call, 0)) {
        call.result(call.world().bonePosition(*entity, call.arg<std::int32_t>(1)));
    }
}

std::string describeAttachment(const World& world, const EntityState& object,
                               const EntityState& parent, const AttachmentState& at) {
    char numbers[160];
    std::snprintf(numbers, sizeof numbers,
                  " at bone %d, offset %.3f %.3f %.3f, rotation %.1f %.1f %.1f", at.bone,
                  static_cast<double>(at.offset.x), static_cast<double>(at.offset.y),
                  static_cast<double>(at.offset.z), static_cast<double>(at.rotation.x),
                  static_cast<double>(at.rotation.y), static_cast<double>(at.rotation.z));
    const std::string parentName = parent.label.empty() ? world.nameOf(parent.model) : parent.label;
    return world.nameOf(object.model) + " #" + std::to_string(object.handle) + " attached to " +
           parentName + numbers;
}

void attachEntityToEntity(CallContext& call) {
    EntityState* entity = entityArg(call, 0);
    const EntityState* parent = entityArg(call, 1);
    if (entity == nullptr || parent == nullptr) {
        return;
    }
    if (entity == parent) {
        call.fail("an entity cannot be attached to itself");
        return;
    }
    AttachmentState at;
    at.parent = parent->handle;
    at.bone = call.arg<std::int32_t>(2);
    at.offset = call.vec(3);
    at.rotation = call.vec(6);
    entity->attachment = at;
    call.event(describeAttachment(call.world(), *entity, *parent, at));
}

void doesEntityExist(CallContext& call) {
    const EntityState* entity = call.world().find(call.arg<std::int32_t>(0));
    call.result(entity != nullptr && !entity->stale);
}

// A handle that names nothing is not dead (the game asserts on it; 0 is the safe answer).
void isEntityDead(CallContext& call) {
    const EntityState* entity = call.world().find(call.arg<std::int32_t>(0));
    call.result(entity != nullptr && entity->dead);
}

void getEntityCoords(CallContext& call) {
    if (const EntityState* entity = entityArg(call, 0)) {
        call.result(call.world().positionOf(*entity));
    }
}

// Half-extents; z counts only with the 3D flag (the ninth argument).
void isEntityAtCoord(CallContext& call) {
    const EntityState* entity = entityArg(call, 0);
    if (entity == nullptr) {
        return;
    }
    const Vec3 d = call.world().positionOf(*entity) - call.vec(1);
    const Vec3 half = call.vec(4);
    const bool inside = std::fabs(d.x) <= half.x && std::fabs(d.y) <= half.y &&
                        (!call.arg<bool>(8) || std::fabs(d.z) <= half.z);
    call.result(inside);
}

// The closest object of the model within the radius (3D); on equal distances the older one.
const EntityState* closestObject(const World& world, Vec3 centre, float radius, std::uint32_t model,
                                 bool skipScriptHostObjects) {
    const EntityState* best = nullptr;
    float bestDistance = 0.0f;
    for (const EntityState* object : world.entities.objects()) {
        if (object->model != model || (skipScriptHostObjects && object->scriptHostObject)) {
            continue;
        }
        const float distance = distance3d(world.positionOf(*object), centre);
        if (distance <= radius && (best == nullptr || distance < bestDistance)) {
            best = object;
            bestDistance = distance;
        }
    }
    return best;
}

void doesObjectOfTypeExistAtCoords(CallContext& call) {
    const auto model = call.arg<std::uint32_t>(4);
    call.result(closestObject(call.world(), call.vec(0), call.arg<float>(3), model, false) !=
                nullptr);
}

std::map<std::uint32_t, std::uint32_t>& createFailures(World& world);

// A model still to fail (`object create fails`) gives no object: 0, as the game answers for a
// model it has not loaded.
void createObject(CallContext& call) {
    World& world = call.world();
    const auto model = call.arg<std::uint32_t>(0);
    auto& failures = createFailures(world);
    if (const auto failing = failures.find(model); failing != failures.end()) {
        if (--failing->second == 0) {
            failures.erase(failing);
        }
        call.event(world.nameOf(model) + " not created: the model is not loaded yet");
        return;
    }
    const std::int32_t handle = world.addEntity(EntityType::Object, model, call.vec(1));
    EntityState& object = world.entities.at(handle);
    object.scriptHostObject = call.arg<bool>(5);
    object.madeByScript = true;
    call.result(handle);
    call.event(world.nameOf(model) + " #" + std::to_string(handle) + " created");
}

// The three flags exclude mission-script, script-host and networked objects; only script-host
// objects exist here.
void getClosestObjectOfType(CallContext& call) {
    const EntityState* found = closestObject(call.world(), call.vec(0), call.arg<float>(3),
                                             call.arg<std::uint32_t>(4), call.arg<bool>(6));
    call.result(found != nullptr ? found->handle : 0);
}

// Deletes the object the variable names and sets the variable to 0.
void deleteObject(CallContext& call) {
    auto* variable = call.ptr<std::int32_t>(0);
    if (variable == nullptr) {
        call.fail("the object pointer is null");
        return;
    }
    World& world = call.world();
    const EntityState* object = world.find(*variable);
    if (object != nullptr && object->type == EntityType::Object) {
        call.event(world.nameOf(object->model) + " #" + std::to_string(object->handle) +
                   " deleted");
        world.deleteEntity(*variable);
    }
    *variable = 0;
}

void isPedModel(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(ped->model == call.arg<std::uint32_t>(1));
    }
}

void isPedHuman(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(ped->human);
    }
}

std::optional<std::int32_t>& nearbyCountOverride(World& world);
std::vector<std::pair<float, std::int32_t>>& scanList(World& world);

// Peds around the centre ped, closest first, into 8-byte slots after the capacity in slot 0.
void getPedNearbyPeds(CallContext& call) {
    const EntityState* centre = pedArg(call, 0);
    auto* slots = call.ptr<std::uint64_t>(1);
    if (centre == nullptr || slots == nullptr) {
        return;
    }
    World& world = call.world();
    const auto capacity = static_cast<std::uint32_t>(slots[0]);
    const auto ignoredPedType = call.arg<std::int32_t>(2);
    auto& found = scanList(world);
    nearbyPeds(world, *centre, NEARBY_RANGE, ignoredPedType, found);
    const std::size_t count = std::min<std::size_t>(found.size(), capacity);
    for (std::size_t i = 0; i < count; ++i) {
        slots[i + 1] = static_cast<std::uint32_t>(found[i].second);
    }
    call.result(nearbyCountOverride(world).value_or(static_cast<std::int32_t>(count)));
}

// object spawn MODEL at X Y Z, or object spawn MODEL chest DX DY DZ (loose, near the player's
// chest point).
ControlReply spawnObject(Emulator& emu, const Words& words) {
    Vec3 at;
    if (words.size() != 7 || (words[3] != "at" && words[3] != "chest") ||
        !parseTriple(words, 4, at)) {
        return usage();
    }
    World& world = emu.world;
    if (words[3] == "chest") {
        at = world.bonePosition(world.playerPed(), CHEST_BONE_INDEX) + at;
    }
    const std::int32_t handle = world.addEntity(EntityType::Object, world.hashName(words[2]), at);
    emu.event(world.describe(handle) + " placed in the world");
    return ok();
}

// object create fails MODEL K: the next K creations of the model give 0.
ControlReply createFails(Emulator& emu, const Words& words) {
    std::uint32_t times = 0;
    if (words.size() != 5 || !parseUnsigned(words[4], times)) {
        return usage();
    }
    const std::uint32_t model = emu.world.hashName(words[3]);
    if (times == 0) {
        createFailures(emu.world).erase(model);
    } else {
        createFailures(emu.world)[model] = times;
    }
    return ok();
}

// object attach off D: attached objects are reported D above where they hang.
ControlReply attachOff(Emulator& emu, const Words& words) {
    float off = 0.0f;
    if (words.size() != 4 || !parseFloat(words[3], off)) {
        return usage();
    }
    emu.world.attachedOffBone = off;
    return ok();
}

ControlReply gameRemovesBadge(Emulator& emu, const Words& words) {
    if (words.size() != 3) {
        return usage();
    }
    World& world = emu.world;
    for (std::int32_t handle : world.attachedAt(world.player.ped, CHEST_BONE_INDEX)) {
        emu.event("the game removes " + world.describe(handle));
        world.deleteEntity(handle);
    }
    return ok();
}

// Every area's flags, then the entity's own: the first of that name decides.
const PedFlag* findPedFlag(const World& world, const std::string& word, std::string& value) {
    const auto equals = word.find('=');
    const std::string name = equals == std::string::npos ? word : word.substr(0, equals + 1);
    value = equals == std::string::npos ? "" : word.substr(equals + 1);
    for (const Area* area : world.areas()) {
        for (const PedFlag& flag : area->pedFlags()) {
            if (name == flag.name && (flag.setValue != nullptr) == (equals != std::string::npos)) {
                return &flag;
            }
        }
    }
    return nullptr;
}

bool applyPedFlag(World& world, std::int32_t ped, const std::string& word, bool on) {
    std::string value;
    const PedFlag* flag = findPedFlag(world, word, value);
    if (flag == nullptr) {
        return false;
    }
    if (flag->setValue != nullptr) {
        return flag->setValue(world, ped, value);
    }
    flag->set(world, ped, on);
    return true;
}

// Why a flag word did not apply: a name no area knows (with the nearest known), or a value that
// does not read.
ControlReply pedFlagError(const World& world, const std::string& word) {
    std::string value;
    if (findPedFlag(world, word, value) != nullptr) {
        return badCommand("bad value \"" + value + "\" in the ped flag " + word);
    }
    std::vector<std::string> names;
    for (const Area* area : world.areas()) {
        for (const PedFlag& flag : area->pedFlags()) {
            names.push_back(flag.name);
        }
    }
    const std::string name =
        word.substr(0, word.find('=') + (word.find('=') == std::string::npos ? 0 : 1));
    return badCommand("unknown ped flag " + word + didYouMean(name, names));
}

ControlReply spawnPed(Emulator& emu, const Words& words) {
    Vec3 at;
    if (words.size() < 7 || !parseTriple(words, 4, at)) {
        return usage();
    }
    World& world = emu.world;
    if (world.findLabel(words[2]) != nullptr) {
        return badCommand("a ped named " + words[2] + " exists already");
    }
    const std::int32_t handle = world.addEntity(EntityType::Ped, world.hashName(words[3]), at);
    world.labelEntity(world.entities.at(handle), words[2]);
    for (std::size_t i = 7; i < words.size(); ++i) {
        if (!applyPedFlag(world, handle, words[i], true)) {
            world.deleteEntity(handle);
            return pedFlagError(world, words[i]);
        }
    }
    return ok();
}

// ped set NAME FLAG on|off, or ped set NAME FLAG=VALUE.
ControlReply setPed(Emulator& emu, const Words& words) {
    ControlReply reply;
    bool on = true;
    const bool valued = words.size() == 4 && words[3].find('=') != std::string::npos;
    if (!valued && (words.size() != 5 || !parseOnOff(words[4], on))) {
        return usage();
    }
    const EntityState* ped = namedPed(emu.world, words[2], reply);
    if (ped == nullptr) {
        return reply;
    }
    if (!applyPedFlag(emu.world, ped->handle, words[3], on)) {
        return pedFlagError(emu.world, words[3]);
    }
    return ok();
}

ControlReply movePed(Emulator& emu, const Words& words) {
    Vec3 at;
    float heading = 0.0f;
    if ((words.size() != 6 && words.size() != 7) || !parseTriple(words, 3, at) ||
        (words.size() == 7 && !parseFloat(words[6], heading))) {
        return usage();
    }
    ControlReply reply;
    EntityState* ped = namedPed(emu.world, words[2], reply);
    if (ped == nullptr) {
        return reply;
    }
    ped->position = at;
    if (words.size() == 7) {
        ped->heading = heading;
    }
    return ok();
}

ControlReply removePed(Emulator& emu, const Words& words) {
    ControlReply reply;
    const EntityState* ped = words.size() == 3 ? namedPed(emu.world, words[2], reply) : nullptr;
    if (words.size() != 3) {
        return usage();
    }
    if (ped == nullptr || ped->handle == emu.world.player.ped) {
        return ped == nullptr ? reply : badCommand("the player's ped stays");
    }
    emu.event("the game removes " + emu.world.describe(*ped));
    emu.world.deleteEntity(ped->handle);
    return ok();
}

ControlReply nearbyCount(Emulator& emu, const Words& words) {
    std::int32_t count = 0;
    if (words.size() == 3 && words[2] == "off") {
        nearbyCountOverride(emu.world).reset();
    } else if (words.size() == 3 && parseInt(words[2], count)) {
        nearbyCountOverride(emu.world) = count;
    } else {
        return usage();
    }
    return ok();
}

std::string modelsAtChest(const World& world) {
    std::string models;
    for (std::int32_t handle : world.attachedAt(world.player.ped, CHEST_BONE_INDEX)) {
        models += (models.empty() ? "" : ", ") + world.nameOf(world.entities.at(handle).model);
    }
    return models.empty() ? "none" : models;
}

bool closeTo(Vec3 a, Vec3 b) {
    return distance3d(a, b) < 1e-4f;
}

std::string formatTriple(Vec3 v) {
    char text[96];
    std::snprintf(text, sizeof text, "%g %g %g", static_cast<double>(v.x), static_cast<double>(v.y),
                  static_cast<double>(v.z));
    return text;
}

// Exactly that one object hangs at the chest point, attached with that offset and rotation.
ControlReply expectBadge(Emulator& emu, const Words& words) {
    std::optional<Vec3> offset;
    std::optional<Vec3> rotation;
    for (std::size_t i = 3; i < words.size(); i += 4) {
        Vec3 v;
        if (!parseTriple(words, i + 1, v) || (words[i] != "offset" && words[i] != "rotation")) {
            return usage();
        }
        (words[i] == "offset" ? offset : rotation) = v;
    }
    if (words.size() < 3) {
        return usage();
    }
    World& world = emu.world;
    const std::string found = modelsAtChest(world);
    const bool none = words[2] == "none";
    const bool match = none ? found == "none" : found == world.nameOf(world.hashName(words[2]));
    if (!match) {
        return expectationFailed((none ? "no badge" : words[2]) + " at the chest", found);
    }
    if (none) {
        return ok();
    }
    const AttachmentState& at =
        *world.entities.at(world.attachedAt(world.player.ped, CHEST_BONE_INDEX).front()).attachment;
    if ((offset && !closeTo(*offset, at.offset)) ||
        (rotation && !closeTo(*rotation, at.rotation))) {
        return expectationFailed(joinFrom(words, 2), "offset " + formatTriple(at.offset) +
                                                         " rotation " + formatTriple(at.rotation));
    }
    return ok();
}

ControlReply expectObjects(Emulator& emu, const Words& words) {
    std::uint32_t wanted = 0;
    if (words.size() != 4 || !parseUnsigned(words[3], wanted)) {
        return usage();
    }
    World& world = emu.world;
    const std::uint32_t model = world.hashName(words[2]);
    const auto& objects = world.entities.objects();
    const auto count = std::count_if(objects.begin(), objects.end(),
                                     [&](const EntityState* e) { return e->model == model; });
    return count == wanted ? ok()
                           : expectationFailed(std::to_string(wanted) + " " + words[2] + " objects",
                                               std::to_string(count));
}

void setDead(World& world, std::int32_t ped, bool on) {
    world.entities.at(ped).dead = on;
}
void setAnimal(World& world, std::int32_t ped, bool on) {
    world.entities.at(ped).human = !on;
}
void setStale(World& world, std::int32_t ped, bool on) {
    world.entities.at(ped).stale = on;
}
bool setPedType(World& world, std::int32_t ped, const std::string& value) {
    return parseInt(value, world.entities.at(ped).pedType);
}
bool setHeading(World& world, std::int32_t ped, const std::string& value) {
    return parseFloat(value, world.entities.at(ped).heading);
}

// clang-format off
constexpr Verb VERBS[] = {
    {"object spawn",       "object spawn MODEL at X Y Z\n"
                           "object spawn MODEL chest DX DY DZ",                    spawnObject},
    {"object create fails", "object create fails MODEL K",                         createFails},
    {"object attach off",  "object attach off D",                                  attachOff},
    {"game removes badge", "game removes badge",                                   gameRemovesBadge},
    {"ped spawn",          "ped spawn NAME MODEL X Y Z [FLAG...]",                 spawnPed},
    {"ped set",            "ped set NAME FLAG on|off\n"
                           "ped set NAME FLAG=VALUE",                              setPed},
    {"ped move",           "ped move NAME X Y Z [HEADING]",                        movePed},
    {"ped remove",         "ped remove NAME",                                      removePed},
    {"nearby count",       "nearby count N|off",                                   nearbyCount},
    {"expect badge",       "expect badge MODEL|none [offset X Y Z] [rotation X Y Z]", expectBadge},
    {"expect objects",     "expect objects MODEL N",                               expectObjects},
};

constexpr PedFlag PED_FLAGS[] = {
    {"dead",     setDead},
    {"animal",   setAnimal},
    {"stale",    setStale},
    {"type=",    nullptr, setPedType},
    {"heading=", nullptr, setHeading},
};
// clang-format on

// The badge props' model hashes, in the atlas's order: the wearable ones first, by their
// catalogue index.
const std::vector<std::uint32_t>& badgeModels() {
    static const std::vector<std::uint32_t> models = [] {
        std::vector<std::uint32_t> hashes;
        for (const std::span<const atlas::BadgeProp> props :
             {std::span<const atlas::BadgeProp>(atlas::WEARABLE_BADGES),
              std::span<const atlas::BadgeProp>(atlas::UNWORN_BADGES)}) {
            for (const atlas::BadgeProp& badge : props) {
                hashes.push_back(jenkinsHash(badge.model));
            }
        }
        return hashes;
    }();
    return models;
}

// Badge objects on the player: attached to the ped, or loose within reach of the chest point
// (`chest`); and which catalogue badge is worn, as the badge's own test sees one (`worn`, -1
// for none).
void badgeFacts(const World& world, GameFacts& facts) {
    const EntityState& player = world.playerPed();
    const Vec3 chest = world.bonePosition(player, CHEST_BONE_INDEX);
    const auto& models = badgeModels();
    int onChest = 0;
    int worn = -1;
    for (const auto& [handle, entity] : world.entities) {
        const auto model = std::find(models.begin(), models.end(), entity.model);
        if (entity.type != EntityType::Object || model == models.end()) {
            continue;
        }
        const bool attached = entity.attachment && entity.attachment->parent == player.handle;
        const float distance = distance3d(world.positionOf(entity), chest);
        onChest += attached || distance <= 1.0f ? 1 : 0;
        const int index = static_cast<int>(model - models.begin());
        if ((attached || distance <= 0.6f) &&
            index < static_cast<int>(atlas::WEARABLE_BADGE_COUNT) && (worn < 0 || index < worn)) {
            worn = index;
        }
    }
    facts.chest = onChest;
    facts.worn = worn;
}

// How many creations of each catalogue badge's model will still fail, in catalogue order.
void creationFacts(const std::map<std::uint32_t, std::uint32_t>& failures, GameFacts& facts) {
    facts.createfails.clear();
    for (std::size_t i = 0; i < atlas::WEARABLE_BADGE_COUNT; ++i) {
        const auto failing = failures.find(badgeModels()[i]);
        facts.createfails.push_back(failing != failures.end() ? failing->second : 0);
    }
}

class EntityArea final : public Area {
  public:
    void facts(const Emulator& emu, GameFacts& facts) const override {
        badgeFacts(emu.world, facts);
        creationFacts(failures, facts);
    }
    void registerNatives(NativeTable& table) override {
        // clang-format off
        table.add({
            {natives::GET_WORLD_POSITION_OF_ENTITY_BONE,   "ii>v",              getWorldPositionOfEntityBone},
            {natives::ATTACH_ENTITY_TO_ENTITY,             "iiiffffffbbbbibbb", attachEntityToEntity},
            {natives::DOES_ENTITY_EXIST,                   "i",                 doesEntityExist},
            {natives::IS_ENTITY_DEAD,                      "i",                 isEntityDead},
            {natives::GET_ENTITY_COORDS,                   "ibb>v",             getEntityCoords},
            {natives::IS_ENTITY_AT_COORD,                  "iffffffbbi",        isEntityAtCoord},
            {natives::DOES_OBJECT_OF_TYPE_EXIST_AT_COORDS, "ffffib",            doesObjectOfTypeExistAtCoords},
            {natives::CREATE_OBJECT,                       "ifffbbbbb",         createObject},
            {natives::GET_CLOSEST_OBJECT_OF_TYPE,          "ffffibbb",          getClosestObjectOfType},
            {natives::DELETE_OBJECT,                       "p",                 deleteObject},
            {natives::IS_PED_MODEL,                        "ii",                isPedModel},
            {natives::IS_PED_HUMAN,                        "i",                 isPedHuman},
            {natives::GET_PED_NEARBY_PEDS,                 "ipii",              getPedNearbyPeds},
        });
        // clang-format on
    }
    std::span<const Verb> verbs() const override { return VERBS; }
    std::span<const PedFlag> pedFlags() const override { return PED_FLAGS; }
    void report(const World& world, JsonWriter& json) const override;

    std::optional<std::int32_t> countOverride;         // a misbehaving scan, for tests
    std::vector<std::pair<float, std::int32_t>> scan;  // kept, so a scan allocates nothing
    std::map<std::uint32_t, std::uint32_t> failures;   // model -> creations still to fail
};

std::map<std::uint32_t, std::uint32_t>& createFailures(World& world) {
    return world.area<EntityArea>().failures;
}

std::optional<std::int32_t>& nearbyCountOverride(World& world) {
    return world.area<EntityArea>().countOverride;
}

std::vector<std::pair<float, std::int32_t>>& scanList(World& world) {
    return world.area<EntityArea>().scan;
}

// The player (where, facing, targeting), every other ped, loose objects, and the badge: what
// hangs at the player's chest point, with its offset and rotation.
void EntityArea::report(const World& world, JsonWriter& json) const {
    const EntityState& player = world.playerPed();
    json.key("player").beginObject();
    json.field("h", player.handle);
    json.field("at", world.positionOf(player));
    json.field("heading", static_cast<double>(player.heading));
    if (world.find(world.player.target) != nullptr) {
        json.field("target", world.describe(world.player.target));
    }
    json.endObject();
    json.key("peds").beginArray();
    for (const EntityState* ped : world.entities.peds()) {
        if (ped->handle == player.handle) {
            continue;
        }
        json.beginObject();
        json.field("h", ped->handle);
        json.field("name", world.describe(*ped));
        json.field("model", world.nameOf(ped->model));
        json.field("at", world.positionOf(*ped));
        json.field("dead", ped->dead);
        json.endObject();
    }
    json.endArray();
    const auto badges = world.attachedAt(player.handle, CHEST_BONE_INDEX);
    json.key("badge").beginArray();
    for (std::int32_t handle : badges) {
        const EntityState& badge = world.entities.at(handle);
        json.beginObject();
        json.field("h", handle);
        json.field("model", world.nameOf(badge.model));
        json.field("offset", badge.attachment->offset);
        json.field("rotation", badge.attachment->rotation);
        json.endObject();
    }
    json.endArray();
    json.key("objects").beginArray();
    for (const EntityState* object : world.entities.objects()) {
        if (!object->attachment) {
            json.beginObject();
            json.field("name", world.describe(*object));
            json.field("at", world.positionOf(*object));
            json.endObject();
        }
    }
    json.endArray();
}

}  // namespace

void addEntityArea(World& world) {
    world.addArea<EntityArea>();
}
