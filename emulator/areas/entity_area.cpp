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

// A loose object, at a place or near the player's chest point.
ControlReply placeObject(Emulator& emu, const std::string& model, Vec3 at) {
    World& world = emu.world;
    const std::int32_t handle = world.addEntity(EntityType::Object, world.hashName(model), at);
    emu.event(world.describe(handle) + " placed in the world");
    return ok();
}

ControlReply spawnObject(Emulator& emu, const Args& args) {
    return placeObject(emu, args.word(0), args.position(1));
}

ControlReply spawnObjectAtChest(Emulator& emu, const Args& args) {
    World& world = emu.world;
    const Vec3 chest = world.bonePosition(world.playerPed(), CHEST_BONE_INDEX);
    return placeObject(emu, args.word(0), chest + args.position(1));
}

// object create fails MODEL K: the next K creations of the model give 0.
ControlReply createFails(Emulator& emu, const Args& args) {
    const auto times = args.whole<std::uint32_t>(1);
    const std::uint32_t model = emu.world.hashName(args.word(0));
    if (times == 0) {
        createFailures(emu.world).erase(model);
    } else {
        createFailures(emu.world)[model] = times;
    }
    return ok();
}

// object attach off D: attached objects are reported D above where they hang.
ControlReply attachOff(Emulator& emu, const Args& args) {
    emu.world.attachedOffBone = args.number(0);
    return ok();
}

ControlReply gameRemovesBadge(Emulator& emu, const Args&) {
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
            if (name == flag.name && (flag.value != nullptr) == (equals != std::string::npos)) {
                return &flag;
            }
        }
    }
    return nullptr;
}

// A flag word no area knows, with the nearest known.
std::string unknownPedFlag(const World& world, const std::string& word) {
    std::vector<std::string> names;
    for (const Area* area : world.areas()) {
        for (const PedFlag& flag : area->pedFlags()) {
            names.push_back(flag.name);
        }
    }
    const std::string name =
        word.substr(0, word.find('=') + (word.find('=') == std::string::npos ? 0 : 1));
    return "unknown ped flag " + word + didYouMean(name, names);
}

// Sets what the flag word names; else says why the word does not apply: a name no area knows,
// or a value its placeholder does not take.
std::optional<std::string> applyPedFlag(World& world, std::int32_t ped, const std::string& word,
                                        bool on) {
    std::string written;
    const PedFlag* flag = findPedFlag(world, word, written);
    if (flag == nullptr) {
        return unknownPedFlag(world, word);
    }
    if (flag->value == nullptr) {
        flag->set(world, ped, on);
        return std::nullopt;
    }
    Value value;
    std::string error;
    if (!readOneWord(*flag->value, written, value, error)) {
        return error + " (the ped flag " + word + ")";
    }
    flag->setValue(world, ped, {written, value.whole, value.number});
    return std::nullopt;
}

// A model no list of the atlas has is no error (any name is a model, and a story may mean a
// person the plug-in knows nothing of), but a slip in a lawman's name would pass unseen.
void noteUnknownModel(Emulator& emu, const std::string& model) {
    const std::uint32_t hash = emu.world.hashName(model);
    std::vector<std::string> names;
    for (const auto list : {std::span<const atlas::Model>(atlas::LAWMAN_MODELS),
                            std::span<const atlas::Model>(atlas::PATROL_LAWMAN_MODELS),
                            std::span<const atlas::Model>(atlas::SWITCH_OFF_LAWMAN_MODELS),
                            std::span<const atlas::Model>(atlas::OTHER_PED_MODELS)}) {
        for (const atlas::Model& known : list) {
            if ((known.name != nullptr ? jenkinsHash(known.name) : known.hash) == hash) {
                return;
            }
            if (known.name != nullptr) {
                names.push_back(known.name);
            }
        }
    }
    emu.event("note: no ped model the emulated game lists is " + model + didYouMean(model, names) +
              "; the plug-in takes such a ped for an ordinary person");
}

ControlReply spawnPed(Emulator& emu, const Args& args) {
    World& world = emu.world;
    const std::string& name = args.word(0);
    if (world.findLabel(name) != nullptr) {
        return badCommand("a ped named " + name + " exists already");
    }
    const std::int32_t handle =
        world.addEntity(EntityType::Ped, world.hashName(args.word(1)), args.position(2));
    world.labelEntity(world.entities.at(handle), name);
    const Words flags = args.given(3) ? args.words(3) : Words{};
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (const auto error = applyPedFlag(world, handle, flags[i], true)) {
            world.deleteEntity(handle);
            return wrongWord(args, 3, i, *error);
        }
    }
    noteUnknownModel(emu, args.word(1));
    return ok();
}

ControlReply setPedFlag(Emulator& emu, const Args& args, bool on) {
    ControlReply reply;
    const EntityState* ped = namedPed(emu.world, args.word(0), reply);
    if (ped == nullptr) {
        return reply;
    }
    if (const auto error = applyPedFlag(emu.world, ped->handle, args.word(1), on)) {
        return wrongWord(args, 1, 0, *error);
    }
    return ok();
}

// ped set NAME FLAG on|off, or ped set NAME FLAG=VALUE.
ControlReply setPed(Emulator& emu, const Args& args) {
    return setPedFlag(emu, args, args.is(2, "on"));
}

ControlReply setPedValue(Emulator& emu, const Args& args) {
    return setPedFlag(emu, args, true);
}

ControlReply movePed(Emulator& emu, const Args& args) {
    ControlReply reply;
    EntityState* ped = namedPed(emu.world, args.word(0), reply);
    if (ped == nullptr) {
        return reply;
    }
    ped->position = args.position(1);
    if (args.given(2)) {
        ped->heading = args.number(2);
    }
    return ok();
}

ControlReply removePed(Emulator& emu, const Args& args) {
    ControlReply reply;
    const EntityState* ped = namedPed(emu.world, args.word(0), reply);
    if (ped == nullptr || ped->handle == emu.world.player.ped) {
        return ped == nullptr ? reply : badCommand("the player's ped stays");
    }
    emu.event("the game removes " + emu.world.describe(*ped));
    emu.world.deleteEntity(ped->handle);
    return ok();
}

ControlReply nearbyCount(Emulator& emu, const Args& args) {
    if (args.is(0, "off")) {
        nearbyCountOverride(emu.world).reset();
    } else {
        nearbyCountOverride(emu.world) = args.whole<std::int32_t>(0);
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
ControlReply expectBadge(Emulator& emu, const Args& args) {
    World& world = emu.world;
    const std::string found = modelsAtChest(world);
    const std::string& model = args.word(0);
    const bool none = args.is(0, "none");
    const bool match = none ? found == "none" : found == world.nameOf(world.hashName(model));
    if (!match) {
        return expectationFailed((none ? "no badge" : model) + " at the chest", found);
    }
    if (none) {
        return ok();
    }
    const AttachmentState& at =
        *world.entities.at(world.attachedAt(world.player.ped, CHEST_BONE_INDEX).front()).attachment;
    if ((args.given(1) && !closeTo(args.position(1), at.offset)) ||
        (args.given(2) && !closeTo(args.position(2), at.rotation))) {
        return expectationFailed(
            args.command().span(2, args.command().words.size() - 1),
            "offset " + formatTriple(at.offset) + " rotation " + formatTriple(at.rotation));
    }
    return ok();
}

ControlReply expectObjects(Emulator& emu, const Args& args) {
    const auto wanted = args.whole<std::uint32_t>(1);
    World& world = emu.world;
    const std::uint32_t model = world.hashName(args.word(0));
    const auto& objects = world.entities.objects();
    const auto count = std::count_if(objects.begin(), objects.end(),
                                     [&](const EntityState* e) { return e->model == model; });
    return count == wanted ? ok()
                           : expectationFailed(args.word(1) + " " + args.word(0) + " objects",
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
void setPedType(World& world, std::int32_t ped, const FlagValue& value) {
    world.entities.at(ped).pedType = static_cast<std::int32_t>(value.whole);
}
void setHeading(World& world, std::int32_t ped, const FlagValue& value) {
    world.entities.at(ped).heading = value.number;
}

bool hasValue(const std::string& word) {
    return word.find('=') != std::string::npos;
}

constexpr Placeholder CREATIONS = {
    "K", Takes::WHOLE, "a count of creations", 0, placeholders::UINT32_HIGH, "1"};
constexpr Placeholder DISTANCE = {"D", Takes::NUMBER, "a distance", 0, 0, "0.05"};
constexpr Placeholder FLAG = {"FLAG", Takes::WORD, "a ped flag", 0, 0, "combat"};
constexpr Placeholder VALUED_FLAG = {"FLAG=VALUE", Takes::WORD, "a ped flag with its value", 0, 0,
                                     "heading=90", hasValue};
constexpr Placeholder SCAN_COUNT = {
    "N", Takes::WHOLE, "a count of peds", placeholders::INT32_LOW, placeholders::INT32_HIGH, "3"};
constexpr Placeholder PED_TYPE = {
    "N", Takes::WHOLE, "a ped type", placeholders::INT32_LOW, placeholders::INT32_HIGH, "4"};
constexpr Placeholder ATTACHED = {"X Y Z", Takes::POSITION, "an offset or a rotation", 0,
                                  0,       "0 0 0"};

// clang-format off
constexpr Verb VERBS[] = {
    {"object spawn MODEL at X Y Z", spawnObject, DocTable::WORLD, "a loose object"},
    {"object spawn MODEL chest DX DY DZ", spawnObjectAtChest, DocTable::WORLD,
     "a loose object near the player's chest point"},
    {"object create fails MODEL K", createFails, DocTable::OPTIONS,
     "the next K creations of the model give 0, as for a model the game has not loaded (0: none)",
     {&CREATIONS}},
    {"object attach off D", attachOff, DocTable::OPTIONS,
     "the game reports every attached object D units above the point it hangs at (default 0)",
     {&DISTANCE}},
    {"game removes badge", gameRemovesBadge, DocTable::WORLD,
     "the game deletes what hangs at the player's chest"},
    {"ped spawn NAME MODEL X Y Z [FLAG...]", spawnPed, DocTable::WORLD,
     "a named ped (flags below); a model no list of the emulated game knows gets a `note:` on "
     "the timeline, with the nearest known names",
     {&FLAG}},
    {"ped set NAME FLAG on|off", setPed, DocTable::WORLD, "changes a yes/no flag of the ped later",
     {&FLAG}},
    {"ped set NAME FLAG=VALUE", setPedValue, DocTable::WORLD, "changes a flag with a value",
     {&VALUED_FLAG}},
    {"ped move NAME X Y Z [HEADING]", movePed, DocTable::WORLD, "moves the ped"},
    {"ped remove NAME", removePed, DocTable::WORLD, "the game removes the ped"},
    {"nearby count N|off", nearbyCount, DocTable::WORLD,
     "makes the nearby-ped scan report N whatever it wrote (a misbehaving game)", {&SCAN_COUNT}},
    {"expect badge MODEL|none [offset X Y Z] [rotation X Y Z]", expectBadge, DocTable::EXPECT,
     "exactly that one object hangs at the player's chest point (attachment point 511), "
     "attached with that offset and rotation: give the values as the data file has them, "
     "unrounded; each three match within 0.0001 of the three given (their distance apart)",
     {&ATTACHED}},
    {"expect objects MODEL N", expectObjects, DocTable::EXPECT, "N objects of the model exist"},
};

constexpr PedFlag PED_FLAGS[] = {
    {"dead",     setDead},
    {"animal",   setAnimal},
    {"stale",    setStale},
    {"type=",    nullptr, &PED_TYPE,             setPedType},
    {"heading=", nullptr, &placeholders::HEADING, setHeading},
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

// Badge objects on the player: attached to the ped, or loose within reach of the chest point,
// but for one the game knocked off him, which lies on the ground his no more (`chest`); which
// catalogue badge is worn, as the badge's own test sees one (`worn`, -1 for none), and whether
// a badge knocked off lies where that test takes it for worn (`loosebadge`).
void badgeFacts(const World& world, GameFacts& facts) {
    const EntityState& player = world.playerPed();
    const Vec3 chest = world.bonePosition(player, CHEST_BONE_INDEX);
    const auto& models = badgeModels();
    int onChest = 0;
    int worn = -1;
    bool loose = false;
    for (const auto& [handle, entity] : world.entities) {
        const auto model = std::find(models.begin(), models.end(), entity.model);
        if (entity.type != EntityType::Object || model == models.end()) {
            continue;
        }
        const bool attached = entity.attachment && entity.attachment->parent == player.handle;
        const bool knockedOff = !attached && entity.knockedOff;
        const float distance = distance3d(world.positionOf(entity), chest);
        onChest += attached || (distance <= 1.0f && !knockedOff) ? 1 : 0;
        const int index = static_cast<int>(model - models.begin());
        if ((attached || distance <= 0.6f) &&
            index < static_cast<int>(atlas::WEARABLE_BADGE_COUNT) && (worn < 0 || index < worn)) {
            worn = index;
            loose = loose || knockedOff;
        }
    }
    facts.chest = onChest;
    facts.worn = worn;
    facts.loosebadge = loose;
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
