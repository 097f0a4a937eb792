#include "emulator/control.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "emulator/json_writer.h"
#include "emulator/nearest_words.h"

ControlReply runCommand(Emulator& emu, const Words& words) {
    const Verb* verb = emu.verbs().find(words);
    if (verb == nullptr) {
        return badCommand(unknownCommand(words, emu.verbs().verbWords()));
    }
    return runVerb(*verb, emu, words);
}

std::string joinFrom(const Words& words, std::size_t first) {
    std::string joined;
    for (std::size_t i = first; i < words.size(); ++i) {
        joined += (i > first ? " " : "") + words[i];
    }
    if (joined.size() >= 2 && joined.front() == '"' && joined.back() == '"') {
        joined = joined.substr(1, joined.size() - 2);
    }
    return joined;
}

bool parseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

bool parseFloat(const std::string& text, float& value) {
    double wide = 0;
    if (!parseNumber(text, wide)) {
        return false;
    }
    value = static_cast<float>(wide);
    return true;
}

bool parseUnsigned(const std::string& text, std::uint32_t& value) {
    std::uint64_t wide = 0;
    if (!parseHash(text, wide) || wide > 0xFFFFFFFFull) {
        return false;
    }
    value = static_cast<std::uint32_t>(wide);
    return true;
}

bool parseInt(const std::string& text, std::int32_t& value) {
    char* end = nullptr;
    const long long wide = std::strtoll(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || wide < INT32_MIN || wide > INT32_MAX) {
        return false;
    }
    value = static_cast<std::int32_t>(wide);
    return true;
}

// Decimal, or hexadecimal after 0x.
bool parseHash(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+') {
        return false;
    }
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 0);
    return *end == '\0';
}

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

bool parseOnOff(const std::string& text, bool& value) {
    if (text != "on" && text != "off") {
        return false;
    }
    value = text == "on";
    return true;
}

bool parseYesNo(const std::string& text, bool& value) {
    if (text != "yes" && text != "no") {
        return false;
    }
    value = text == "yes";
    return true;
}

bool parseTriple(const Words& words, std::size_t first, Vec3& v) {
    return first + 3 <= words.size() && parseFloat(words[first], v.x) &&
           parseFloat(words[first + 1], v.y) && parseFloat(words[first + 2], v.z);
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
    const Words words = splitWords(command != nullptr ? command : "");
    ControlReply result = words.empty() ? badCommand("empty command") : runCommand(emu, words);
    if (emu.failed()) {
        result = {TSW_EMULATOR_FAILED, emu.failure()};
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
