// Map blips: markers at points, with a style, a sprite and modifiers. The game can take one off
// the map; nothing else removes them, not even the end of the script that made them.
#include <cstdio>

#include "emulator/areas/area_support.h"
#include "emulator/game_facts.h"
#include "emulator/jenkins.h"
#include "emulator/office_map.h"

namespace {

// The one blip style the game is asked for here; any other value is an argument out of order.
constexpr std::uint32_t PICKUP_STYLE = jenkinsHash("BLIP_STYLE_PICKUP");
static_assert(PICKUP_STYLE == 0xEC972124);

struct BlipState {
    std::uint32_t instance = 0;  // the plug-in load that made it
    Vec3 position;
    std::uint32_t sprite = 0;
    std::vector<std::uint32_t> modifiers;
};

struct BlipArea final : Area {
    std::map<std::int32_t, BlipState> blips;  // the blips on the map
    std::int32_t nextHandle = 0x2001;

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    // Every blip is a script's; handles are not given out again.
    void buildAnew(World&, const NewHandles&) override { blips.clear(); }
    // The blips the running plug-in made (an earlier load's stay on the map).
    void facts(const Emulator& emu, GameFacts& facts) const override {
        facts.blips = static_cast<std::uint32_t>(std::count_if(
            blips.begin(), blips.end(),
            [&](const auto& blip) { return blip.second.instance == emu.pluginInstance(); }));
    }
    void report(const World& world, JsonWriter& json) const override;
};

std::map<std::int32_t, BlipState>& blipsOf(World& world) {
    return world.area<BlipArea>().blips;
}

BlipState* blipArg(CallContext& call) {
    auto& blips = blipsOf(call.world());
    const auto it = blips.find(call.arg<std::int32_t>(0));
    return it == blips.end() ? nullptr : &it->second;
}

const char* townOf(Vec3 at) {
    return officeInteriors()[nearestOffice(at)].town;
}

void doesBlipExist(CallContext& call) {
    call.result(blipArg(call) != nullptr);
}

void blipAddForCoords(CallContext& call) {
    const auto style = call.arg<std::uint32_t>(0);
    if (style != PICKUP_STYLE) {
        call.fail("blip style " + call.world().nameOf(style) +
                  " is not the style the game expects (BLIP_STYLE_PICKUP)");
        return;
    }
    BlipArea& area = call.world().area<BlipArea>();
    const std::int32_t handle = area.nextHandle++;
    area.blips[handle].position = call.vec(1);
    area.blips[handle].instance = call.emulator().pluginInstance();
    call.result(handle);
}

// A blip that is gone takes no sprite or modifier, as in the game.
void setBlipSprite(CallContext& call) {
    BlipState* blip = blipArg(call);
    const auto sprite = call.arg<std::uint32_t>(1);
    if (blip == nullptr || blip->sprite == sprite) {
        return;
    }
    blip->sprite = sprite;
    const std::string name = call.world().nameOf(sprite);
    const std::string what = name == "blip_ambient_sheriff" ? "sheriff blip" : name + " blip";
    call.event("map: " + what + " at " + townOf(blip->position));
}

void blipAddModifier(CallContext& call) {
    BlipState* blip = blipArg(call);
    if (blip != nullptr) {
        blip->modifiers.push_back(call.arg<std::uint32_t>(1));
    }
    call.result(blip != nullptr);
}

bool parseOffice(const std::string& text, std::size_t& office) {
    std::uint32_t number = 0;
    if (!parseUnsigned(text, number) || number < 1 || number > atlas::OFFICE_COUNT) {
        return false;
    }
    office = number - 1;
    return true;
}

// The blips standing at office N's spot (a reloaded plug-in makes its own beside the old).
std::vector<std::map<std::int32_t, BlipState>::iterator> blipsAtOffice(World& world,
                                                                       std::size_t office) {
    std::vector<std::map<std::int32_t, BlipState>::iterator> found;
    auto& blips = blipsOf(world);
    for (auto it = blips.begin(); it != blips.end(); ++it) {
        if (officeContaining(it->second.position) == office) {
            found.push_back(it);
        }
    }
    return found;
}

ControlReply gameRemovesBlip(Emulator& emu, const Words& words) {
    std::size_t office = 0;
    if (words.size() != 4 || !parseOffice(words[3], office)) {
        return usage();
    }
    for (const auto& it : blipsAtOffice(emu.world, office)) {
        emu.event(std::string("the game removes the blip at ") + officeInteriors()[office].town);
        blipsOf(emu.world).erase(it);
    }
    return ok();
}

ControlReply expectBlips(Emulator& emu, const Words& words) {
    std::uint32_t wanted = 0;
    if (words.size() != 3 || !parseUnsigned(words[2], wanted)) {
        return usage();
    }
    const std::size_t count = blipsOf(emu.world).size();
    return count == wanted
               ? ok()
               : expectationFailed(words[2] + " blips on the map", std::to_string(count));
}

// Every blip at the office has the sprite, or the modifier once.
ControlReply expectBlip(Emulator& emu, const Words& words) {
    std::size_t office = 0;
    if (words.size() != 5 || !parseOffice(words[2], office) ||
        (words[3] != "sprite" && words[3] != "modifier")) {
        return usage();
    }
    const auto found = blipsAtOffice(emu.world, office);
    const std::uint32_t wanted = emu.world.hashName(words[4]);
    for (const auto& it : found) {
        const BlipState& blip = it->second;
        const bool has = words[3] == "sprite" ? blip.sprite == wanted
                                              : std::count(blip.modifiers.begin(),
                                                           blip.modifiers.end(), wanted) == 1;
        if (!has) {
            return expectationFailed(
                "the blip at " + std::string(officeInteriors()[office].town) + " with " + words[3] +
                    " " + words[4],
                words[3] == "sprite" ? emu.world.nameOf(blip.sprite) : "not once");
        }
    }
    return found.empty() ? expectationFailed(
                               std::string("a blip at ") + officeInteriors()[office].town, "none")
                         : ok();
}

// clang-format off
constexpr Verb VERBS[] = {
    {"game removes blip", "game removes blip N",                 gameRemovesBlip},
    {"expect blips",      "expect blips N",                      expectBlips},
    {"expect blip",       "expect blip N sprite TEXT\n"
                          "expect blip N modifier TEXT",         expectBlip},
};
// clang-format on

void BlipArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::DOES_BLIP_EXIST,     "i",    doesBlipExist},
        {natives::BLIP_ADD_FOR_COORDS, "ifff", blipAddForCoords},
        {natives::SET_BLIP_SPRITE,     "iib",  setBlipSprite},
        {natives::BLIP_ADD_MODIFIER,   "ii",   blipAddModifier},
    });
    // clang-format on
}

std::span<const Verb> BlipArea::verbs() const {
    return VERBS;
}

// The blips on the map, with their sprites.
void BlipArea::report(const World& world, JsonWriter& json) const {
    json.key("blips").beginArray();
    for (const auto& [handle, blip] : blips) {
        json.beginObject();
        json.field("h", handle);
        json.field("at", blip.position);
        json.field("sprite", world.nameOf(blip.sprite));
        json.field("town", townOf(blip.position));
        json.endObject();
    }
    json.endArray();
}

}  // namespace

void addBlipArea(World& world) {
    world.addArea<BlipArea>();
}
