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

ControlReply gameRemovesBlip(Emulator& emu, const Args& args) {
    const auto office = args.whole<std::size_t>(0) - 1;
    for (const auto& it : blipsAtOffice(emu.world, office)) {
        emu.event(std::string("the game removes the blip at ") + officeInteriors()[office].town);
        blipsOf(emu.world).erase(it);
    }
    return ok();
}

ControlReply expectBlips(Emulator& emu, const Args& args) {
    const std::size_t count = blipsOf(emu.world).size();
    return count == args.whole<std::uint32_t>(0)
               ? ok()
               : expectationFailed(args.word(0) + " blips on the map", std::to_string(count));
}

// Every office has N blips and no blip stands elsewhere: a story need not know how many offices
// there are.
ControlReply expectOfficeBlips(Emulator& emu, const Args& args) {
    const auto wanted = args.whole<std::size_t>(0);
    std::size_t atOffices = 0;
    for (std::size_t office = 0; office < officeInteriors().size(); ++office) {
        const std::size_t count = blipsAtOffice(emu.world, office).size();
        if (count != wanted) {
            return expectationFailed(args.word(0) + " blips at " + officeInteriors()[office].town,
                                     std::to_string(count));
        }
        atOffices += count;
    }
    const std::size_t elsewhere = blipsOf(emu.world).size() - atOffices;
    return elsewhere == 0
               ? ok()
               : expectationFailed("no blip away from the offices", std::to_string(elsewhere));
}

ControlReply expectBlipCount(Emulator& emu, const Args& args) {
    const auto office = args.whole<std::size_t>(0) - 1;
    const std::size_t count = blipsAtOffice(emu.world, office).size();
    return count == args.whole<std::size_t>(1)
               ? ok()
               : expectationFailed(args.word(1) + " blips at " + officeInteriors()[office].town,
                                   std::to_string(count));
}

// Every blip at the office has the sprite, or the modifier once.
ControlReply expectBlipWith(Emulator& emu, const Args& args, bool sprite) {
    const auto office = args.whole<std::size_t>(0) - 1;
    const std::string& name = args.word(1);
    const auto found = blipsAtOffice(emu.world, office);
    const std::uint32_t wanted = emu.world.hashName(name);
    for (const auto& it : found) {
        const BlipState& blip = it->second;
        const bool has =
            sprite ? blip.sprite == wanted
                   : std::count(blip.modifiers.begin(), blip.modifiers.end(), wanted) == 1;
        if (!has) {
            return expectationFailed("the blip at " + std::string(officeInteriors()[office].town) +
                                         " with " + (sprite ? "sprite " : "modifier ") + name,
                                     sprite ? emu.world.nameOf(blip.sprite) : "not once");
        }
    }
    return found.empty() ? expectationFailed(
                               std::string("a blip at ") + officeInteriors()[office].town, "none")
                         : ok();
}

ControlReply expectBlipSprite(Emulator& emu, const Args& args) {
    return expectBlipWith(emu, args, true);
}

ControlReply expectBlipModifier(Emulator& emu, const Args& args) {
    return expectBlipWith(emu, args, false);
}

constexpr Placeholder BLIP_COUNT = {
    "M", Takes::WHOLE, "a count of blips", 0, placeholders::UINT32_HIGH, "1"};
constexpr Placeholder SPRITE = {"TEXT", Takes::WORD, "a blip sprite's name",
                                0,      0,           "blip_ambient_sheriff"};
constexpr Placeholder MODIFIER = {"TEXT", Takes::WORD, "a blip modifier's name",
                                  0,      0,           "BLIP_MODIFIER_RADAR_EDGE_PAUSE_MAP_NEVER"};

// clang-format off
constexpr Verb VERBS[] = {
    {"game removes blip N", gameRemovesBlip, DocTable::OFFICES,
     "the game takes the blips at office N ({N}) off the map", {&OFFICE_NUMBER}},
    {"expect blips N", expectBlips, DocTable::EXPECT, "N blips are on the map"},
    {"expect office blips N", expectOfficeBlips, DocTable::EXPECT,
     "every office has N blips at its spot, and no blip stands elsewhere"},
    {"expect blip N count M", expectBlipCount, DocTable::EXPECT,
     "office N has M blips at its spot", {&OFFICE_NUMBER, &BLIP_COUNT}},
    {"expect blip N sprite TEXT", expectBlipSprite, DocTable::EXPECT,
     "every blip at office N has that sprite (and there is one)", {&OFFICE_NUMBER, &SPRITE}},
    {"expect blip N modifier TEXT", expectBlipModifier, DocTable::EXPECT,
     "every blip at office N has that modifier, once", {&OFFICE_NUMBER, &MODIFIER}},
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
