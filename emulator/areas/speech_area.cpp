// Speech: lines peds say, whether a ped is speaking, and the lawman switch (the game's
// STOP_PED_SPEAKING, which the plug-in uses as an on/off state of a lawman).
#include <cstring>
#include <utility>

#include "emulator/areas/area_support.h"
#include "emulator/game_facts.h"

namespace {

// How long a ped is heard after a line starts.
constexpr std::uint32_t LINE_LENGTH_MS = 2500;
// The game reads the whole parameter record: eight 8-byte slots.
constexpr std::size_t SPEECH_RECORD_SLOTS = 8;

struct PedVoice {
    bool switchOn = false;
    bool mutedByGame = false;  // the game's own scripts set the switch on, as a mission does
    std::uint32_t switchOnSince = 0;
    bool speaking = false;  // set by a scenario: talking on its own
    std::uint32_t lineEndsAt = 0;
    bool lineHeard = false;
    std::map<std::string, std::uint32_t> lines;  // line name -> times said
};

struct SpeechArea final : Area {
    PerEntity<PedVoice> voices;
    std::uint32_t mutesUndone = 0;  // peds the game muted that the running plug-in let speak

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    std::span<const PedFlag> pedFlags() const override;
    void forget(std::int32_t handle) override { voices.erase(handle); }
    // A ped talking on its own still is; switches and the lines said were this world's.
    void buildAnew(World&, const NewHandles& newHandles) override {
        voices.renumber(newHandles);
        for (const auto& [handle, voice] : voices) {
            PedVoice fresh;
            fresh.speaking = voice.speaking;
            voiceOf(handle) = std::move(fresh);
        }
    }
    PedVoice& voiceOf(std::int32_t handle) { return voices[handle]; }
    void facts(const Emulator& emu, GameFacts& facts) const override;
    // Each ped's lawman switch and the lines it has said.
    void report(const World&, JsonWriter& json) const override {
        json.key("voices").beginArray();
        for (const auto& [handle, voice] : voices) {
            json.beginObject();
            json.field("h", handle);
            json.field("switch", voice.switchOn);
            json.key("lines").beginObject();
            for (const auto& [line, times] : voice.lines) {
                json.field(line, times);
            }
            json.endObject();
            json.endObject();
        }
        json.endArray();
    }
};

PedVoice& voiceOf(World& world, std::int32_t ped) {
    return world.area<SpeechArea>().voices[ped];
}

bool isSpeaking(World& world, std::int32_t ped, std::uint32_t now) {
    const PedVoice* voice = world.area<SpeechArea>().voices.find(ped);
    return voice != nullptr &&
           (voice->speaking ||
            (voice->lineHeard && static_cast<std::int32_t>(now - voice->lineEndsAt) < 0));
}

void setSwitch(Emulator& emu, std::int32_t ped, bool on) {
    PedVoice& voice = voiceOf(emu.world, ped);
    if (std::exchange(voice.mutedByGame, false) && voice.switchOn && !on) {
        ++emu.world.area<SpeechArea>().mutesUndone;
    }
    if (voice.switchOn == on) {
        return;
    }
    voice.switchOn = on;
    std::string change = std::string("lawman switch ") + onOff(on);
    if (on) {
        voice.switchOnSince = emu.clock.gameTime;
    } else if (voice.switchOnSince != 0) {
        const std::uint32_t held = emu.clock.gameTime - voice.switchOnSince;
        change += " after " + std::to_string(held / 1000) + "." +
                  std::to_string(held % 1000 / 100) + " s";
    }
    emu.narrate(emu.world.describe(ped), change);
}

void stopPedSpeaking(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        setSwitch(call.emulator(), ped->handle, call.arg<bool>(1));
    }
}

void isAnySpeechPlaying(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(isSpeaking(call.world(), ped->handle, call.gameTime()));
    }
}

// Reads the parameter record as the game does, all 0x40 bytes of it, in the native database's
// slot names: speechName (the line's name), voiceName (a name or 0), then variation,
// speechParamHash, listenerPed, syncOverNetwork and two more, 32-bit values in the low halves.
void playPedAmbientSpeechNative(CallContext& call) {
    const auto* record = call.ptr<const std::uint64_t>(1);
    if (record == nullptr) {
        call.fail("the speech parameters pointer is null");
        return;
    }
    std::uint64_t slots[SPEECH_RECORD_SLOTS];
    std::memcpy(slots, record, sizeof slots);
    for (std::size_t i = 2; i < SPEECH_RECORD_SLOTS; ++i) {
        if ((slots[i] >> 32) != 0) {
            call.fail("speech parameter slot " + std::to_string(i) + " is not a 32-bit value");
            return;
        }
    }
    const auto* name = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(slots[0]));
    const EntityState* ped = pedArg(call, 0);
    if (name == nullptr) {
        call.fail("the speech line has no name");
        return;
    }
    if (ped == nullptr) {
        return;
    }
    World& world = call.world();
    PedVoice& voice = voiceOf(world, ped->handle);
    ++voice.lines[name];
    voice.lineHeard = true;
    voice.lineEndsAt = call.gameTime() + LINE_LENGTH_MS;
    const bool greeting = std::strncmp(name, "GREET", 5) == 0;
    call.emulator().narrate(world.describe(*ped),
                            (greeting ? "greets the player: " : "says ") + std::string(name));
    call.result(true);
}

ControlReply playerSpeaking(Emulator& emu, const Args& args) {
    voiceOf(emu.world, emu.world.player.ped).speaking = args.is(0, "on");
    return ok();
}

ControlReply expectSpoke(Emulator& emu, const Args& args) {
    ControlReply reply;
    const EntityState* ped = namedPed(emu.world, args.word(0), reply);
    if (ped == nullptr) {
        return reply;
    }
    const auto wanted = args.whole<std::uint32_t>(2);
    const auto& lines = voiceOf(emu.world, ped->handle).lines;
    const auto it = lines.find(args.word(1));
    const std::uint32_t said = it == lines.end() ? 0 : it->second;
    return said == wanted ? ok()
                          : expectationFailed(args.word(0) + " to have said " + args.word(1) + " " +
                                                  args.word(2) + " times",
                                              std::to_string(said));
}

ControlReply expectSwitch(Emulator& emu, const Args& args) {
    ControlReply reply;
    const EntityState* ped = namedPed(emu.world, args.word(0), reply);
    if (ped == nullptr) {
        return reply;
    }
    const bool on = args.is(1, "on");
    const bool current = voiceOf(emu.world, ped->handle).switchOn;
    return current == on
               ? ok()
               : expectationFailed(args.word(0) + "'s switch " + args.word(1), onOff(current));
}

void setSpeaking(World& world, std::int32_t ped, bool on) {
    voiceOf(world, ped).speaking = on;
}

// The game's own scripts mute a ped (a mission's dialogue, a cutscene) with the same native.
void setSwitchFlag(World& world, std::int32_t ped, bool on) {
    PedVoice& voice = voiceOf(world, ped);
    voice.switchOn = on;
    voice.mutedByGame = on;
}

constexpr Placeholder SPEECH_LINE = {"LINE", Takes::WORD, "a speech line", 0, 0, "GREET_MARSHAL"};

// clang-format off
constexpr Verb VERBS[] = {
    {"player speaking on|off", playerSpeaking, DocTable::WORLD, "the player is talking"},
    {"expect spoke PED LINE N", expectSpoke, DocTable::EXPECT,
     "the ped has said the speech line N times", {&SPEECH_LINE}},
    {"expect switch PED on|off", expectSwitch, DocTable::EXPECT, "the ped's lawman switch"},
};

constexpr PedFlag PED_FLAGS[] = {
    {"speaking", setSpeaking},
    {"switch",   setSwitchFlag},
};
// clang-format on

void SpeechArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::STOP_PED_SPEAKING,              "ib", stopPedSpeaking},
        {natives::IS_ANY_SPEECH_PLAYING,          "i",  isAnySpeechPlaying},
        {natives::PLAY_PED_AMBIENT_SPEECH_NATIVE, "ip", playPedAmbientSpeechNative},
    });
    // clang-format on
}

std::span<const Verb> SpeechArea::verbs() const {
    return VERBS;
}

std::span<const PedFlag> SpeechArea::pedFlags() const {
    return PED_FLAGS;
}

// Every ped that has greeted: handle, greetings so far, distance from the player.
void SpeechArea::facts(const Emulator& emu, GameFacts& facts) const {
    const World& world = emu.world;
    const Vec3 player = world.positionOf(world.playerPed());
    facts.undidmute = mutesUndone;
    facts.greeted.clear();
    for (const auto& [handle, voice] : voices) {
        std::uint32_t greetings = 0;
        for (const auto& [line, times] : voice.lines) {
            greetings += line.rfind("GREET", 0) == 0 ? times : 0;
        }
        const EntityState* ped = world.find(handle);
        if (greetings == 0 || ped == nullptr) {
            continue;
        }
        facts.greeted.push_back({handle, greetings, distance3d(world.positionOf(*ped), player)});
    }
}

}  // namespace

void addSpeechArea(World& world) {
    world.addArea<SpeechArea>();
}
