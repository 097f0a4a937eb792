#include "emulator/control.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

ControlReply runFor(Emulator& emu, const Words& words) {
    std::uint32_t ms = 0;
    if (words.size() != 2 || !parseUnsigned(words[1], ms)) {
        return badCommand("usage: run MS");
    }
    emu.run(ms);
    return ok();
}

ControlReply key(Emulator& emu, const Words& words) {
    std::uint32_t code = 0;
    bool repeat = true;
    if (words.size() == 3 && words[1] == "repeat" && parseOnOff(words[2], repeat)) {
        emu.keyboard.setAutoRepeat(repeat);
        return ok();
    }
    if (words.size() != 3 || !parseUnsigned(words[2], code) ||
        (words[1] != "down" && words[1] != "up")) {
        return badCommand("usage: key down|up VK, or key repeat on|off");
    }
    if (words[1] == "down") {
        emu.keyboard.press(code, emu.clock.tickCount);
    } else {
        emu.keyboard.release(code);
    }
    return ok();
}

ControlReply clockCommand(Emulator& emu, const Words& words) {
    std::uint32_t value = 0;
    if (words.size() != 3 || !parseUnsigned(words[2], value)) {
        return badCommand("usage: clock game|tick|step MS");
    }
    if (words[1] == "game") {
        emu.clock.gameTime = value;
    } else if (words[1] == "tick") {
        emu.clock.tickCount = value;
    } else if (words[1] == "step" && value > 0) {
        emu.clock.frameStep = value;
    } else {
        return badCommand("usage: clock game|tick|step MS (a step above 0)");
    }
    return ok();
}

ControlReply plugin(Emulator& emu, const Words& words) {
    if (words[0] == "load" && words.size() == 2) {
        emu.loadPlugin(words[1]);
        return ok();
    }
    if (!emu.plugin.loaded()) {
        return badCommand("no plug-in is loaded");
    }
    if (words[0] == "unload" && words.size() == 1) {
        emu.unloadPlugin();
    } else if (words[0] == "thread" && words.size() == 1) {
        emu.plugin.threadAttachDetach();
    } else {
        return badCommand("usage: load PATH, unload, thread");
    }
    return ok();
}

ControlReply trace(Emulator& emu, const Words& words) {
    if (words.size() == 2 && words[1] == "off") {
        emu.trace.closeFile();
    } else if (words.size() == 2 && words[1] == "keep") {
        emu.trace.keepRecords(true);
    } else if (words.size() >= 2) {
        const std::string path = joinFrom(words, 1);
        if (!emu.trace.openFile(path)) {
            return badCommand("cannot write the trace file " + path);
        }
    } else {
        return badCommand("usage: trace FILE|off|keep");
    }
    return ok();
}

// expect trace NATIVE [N]: at least one call (or exactly N) since the last mark;
// expect notrace NATIVE: none. NATIVE is a name from the native list or a hash.
ControlReply expectTrace(Emulator& emu, const Words& words) {
    std::uint64_t hash = 0;
    std::uint32_t exact = 0;
    const bool wanted = words[1] == "trace";
    const bool counted = wanted && words.size() == 4 && parseUnsigned(words[3], exact);
    if ((words.size() != 3 && !counted) || !parseNative(words[2], hash)) {
        return badCommand("usage: expect trace NATIVE [N], or expect notrace NATIVE");
    }
    const NativeEntry* entry = emu.natives.find(hash);
    const std::uint64_t calls = entry ? emu.trace.countSinceMark(emu.natives.indexOf(entry)) : 0;
    if (counted ? calls == exact : (calls > 0) == wanted) {
        return ok();
    }
    const std::string name = entry ? std::string(" (") + entry->name + ")" : "";
    const std::string what = counted  ? std::to_string(exact) + " calls of "
                             : wanted ? "a call of "
                                      : "no call of ";
    return expectationFailed(what + words[2] + name + " since the last mark",
                             std::to_string(calls) + " calls");
}

ControlReply misc(Emulator& emu, const Words& words, bool& handled) {
    handled = true;
    std::uint32_t value = 0;
    if (words[0] == "seed" && words.size() == 2 && parseUnsigned(words[1], value)) {
        emu.world.random.seed(value);
    } else if (words[0] == "scripts" && words.size() >= 2) {
        emu.scheduler.setScriptNames(Words(words.begin() + 1, words.end()));
    } else if (words[0] == "mark" && words.size() == 1) {
        emu.trace.mark();
        emu.markHostCalls();
    } else if (words[0] == "time" && words.size() == 1) {
        return ok(std::to_string(emu.clock.gameTime));
    } else {
        handled = false;
    }
    return ok();
}

ControlReply dispatch(Emulator& emu, const Words& words) {
    const std::string& verb = words[0];
    if (verb == "run")
        return runFor(emu, words);
    if (verb == "key")
        return key(emu, words);
    if (verb == "clock")
        return clockCommand(emu, words);
    if (verb == "load" || verb == "unload" || verb == "thread")
        return plugin(emu, words);
    if (verb == "trace")
        return trace(emu, words);
    if (verb == "expect" && words.size() >= 2 && (words[1] == "trace" || words[1] == "notrace")) {
        return expectTrace(emu, words);
    }
    bool handled = false;
    ControlReply reply = misc(emu, words, handled);
    if (!handled) {
        reply = verb == "expect" ? worldExpectation(emu, words, handled)
                                 : worldCommand(emu, words, handled);
    }
    return handled ? reply : badCommand("unknown command: " + joinFrom(words, 0));
}

}  // namespace

ControlReply ok(std::string text) {
    return {TSW_OK, std::move(text)};
}

ControlReply badCommand(std::string text) {
    return {TSW_BAD_COMMAND, std::move(text)};
}

ControlReply expectationFailed(std::string expected, std::string found) {
    return {TSW_EXPECTATION_FAILED, "expected " + expected + ", found " + found};
}

Words splitWords(const std::string& line) {
    Words words;
    std::istringstream stream(line);
    std::string word;
    while (stream >> word) {
        words.push_back(word);
    }
    return words;
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

bool parseUnsigned(const std::string& text, std::uint32_t& value) {
    std::uint64_t wide = 0;
    if (!parseHash(text, wide) || wide > 0xFFFFFFFFull) {
        return false;
    }
    value = static_cast<std::uint32_t>(wide);
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

extern "C" {

void tswEmuReset(void) {
    resetEmulator();
}

int tswEmuControl(const char* command, char* reply, size_t replySize) {
    Emulator& emu = emulator();
    const Words words = splitWords(command != nullptr ? command : "");
    ControlReply result = words.empty() ? badCommand("empty command") : dispatch(emu, words);
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
}
