#include "emulator/control.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "emulator/json_writer.h"
#include "emulator/nearest_words.h"

ControlReply runCommand(Emulator& emu, const std::string& command) {
    const Command words(command);
    return words.words.empty() ? badCommand("empty command") : emu.verbs().run(emu, words);
}

namespace {

// Decimal, or hexadecimal after 0x.
bool parseHash(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+') {
        return false;
    }
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 0);
    return *end == '\0';
}

}  // namespace

std::string unknownNative(const std::string& text) {
    return "unknown native " + text + didYouMean(text, nativeConstantNames());
}

bool parseNative(const std::string& text, std::uint64_t& hash) {
    if (const auto named = nativeHashByName(text)) {
        hash = *named;
        return true;
    }
    return parseHash(text, hash);
}

EntityState* namedPed(World& world, const std::string& name, ControlReply& reply) {
    EntityState* ped = world.findLabel(name);
    if (ped == nullptr || ped->type != EntityType::Ped) {
        std::vector<std::string> peds;
        for (const auto& [handle, entity] : world.entities) {
            if (entity.type == EntityType::Ped && !entity.label.empty()) {
                peds.push_back(entity.label);
            }
        }
        reply = badCommand("no ped named " + name + didYouMean(name, peds));
        return nullptr;
    }
    return ped;
}

std::string worldReport(const Emulator& emu, bool map) {
    JsonWriter json;
    json.beginObject();
    if (!map) {
        json.field("time", emu.clock.gameTime);
    }
    for (const Area* area : emu.world.areas()) {
        if (map) {
            area->reportMap(emu.world, json);
        } else {
            area->report(emu.world, json);
        }
    }
    json.endObject();
    return json.text();
}

extern "C" {

void tswEmuReset(void) {
    resetEmulator();
}

int tswEmuControl(const char* command, char* reply, size_t replySize) {
    Emulator& emu = emulator();
    ControlReply result = runCommand(emu, command != nullptr ? command : "");
    if (emu.failed()) {
        result = {TSW_EMULATOR_FAILED, emu.failure(), {}};
    }
    if (!result.detail.empty()) {
        result.text += "\n" + result.detail;
    }
    if (replySize > 0) {
        std::snprintf(reply, replySize, "%s", result.text.c_str());
    }
    return result.code;
}

void tswEmuSetTimelineSink(TswTimelineSink sink, void* context) {
    emulator().setTimelineSink(sink, context);
}

void tswEmuSetFrameHook(TswFrameHook hook, void* context) {
    emulator().setFrameHook(hook, context);
}

size_t tswEmuReport(int part, char* reply, size_t replySize) {
    const std::string text = worldReport(emulator(), part == TSW_REPORT_MAP);
    if (replySize > 0) {
        const std::size_t length = std::min(text.size(), replySize - 1);
        std::memcpy(reply, text.data(), length);
        reply[length] = '\0';
    }
    return text.size();
}
}
