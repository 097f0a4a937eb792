// The host itself: time, keys, the plug-in's loading, and the record of native and host calls
// and of what the process holds open.
#include <map>
#include <optional>
#include <string>

#include "emulator/areas/area_support.h"
#include "emulator/game_facts.h"
#include "emulator/process_handles.h"

namespace {

struct HostArea;
HostArea& hostArea(Emulator& emu);

ControlReply runFor(Emulator& emu, const Words& words) {
    std::uint32_t ms = 0;
    if (words.size() != 2 || !parseUnsigned(words[1], ms)) {
        return usage();
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
        return usage();
    }
    if (words[1] == "down") {
        emu.keyboard.press(code, emu.clock.tickCount);
    } else {
        emu.keyboard.release(code);
    }
    return ok();
}

ControlReply clock(Emulator& emu, const Words& words) {
    std::uint32_t value = 0;
    if (words.size() != 3 || !parseUnsigned(words[2], value)) {
        return usage();
    }
    if (words[1] == "game") {
        emu.clock.gameTime = value;
    } else if (words[1] == "tick") {
        emu.clock.tickCount = value;
    } else if (words[1] == "step" && value == 0) {
        return badCommand("a frame step of 0 would stop time");
    } else if (words[1] == "step") {
        emu.clock.frameStep = value;
    } else {
        return usage();
    }
    return ok();
}

// game pause on|off: the game timer stands still while the host's tick count runs on; scripts
// still run and keys still arrive.
ControlReply pause(Emulator& emu, const Words& words) {
    bool on = false;
    if (words.size() != 3 || !parseOnOff(words[2], on)) {
        return usage();
    }
    if (emu.clock.paused != on) {
        emu.event(on ? "the game is paused" : "the game resumes");
    }
    emu.clock.paused = on;
    return ok();
}

ControlReply restartScripts(Emulator& emu, const Words& words) {
    if (words.size() != 3) {
        return usage();
    }
    emu.restartScripts();
    return ok();
}

ControlReply loadSave(Emulator& emu, const Words& words) {
    if (words.size() != 3) {
        return usage();
    }
    emu.loadSave();
    return ok();
}

ControlReply load(Emulator& emu, const Words& words) {
    if (words.size() != 2) {
        return usage();
    }
    emu.loadPlugin(words[1]);
    return ok();
}

ControlReply unload(Emulator& emu, const Words& words) {
    if (words.size() != 1) {
        return usage();
    }
    if (!emu.plugin.loaded()) {
        return badCommand("no plug-in is loaded");
    }
    emu.unloadPlugin();
    return ok();
}

ControlReply thread(Emulator& emu, const Words& words) {
    if (words.size() != 1) {
        return usage();
    }
    if (!emu.plugin.loaded()) {
        return badCommand("no plug-in is loaded");
    }
    emu.plugin.threadAttachDetach();
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
        return usage();
    }
    return ok();
}

ControlReply scripts(Emulator& emu, const Words& words) {
    if (words.size() < 2) {
        return usage();
    }
    emu.scheduler.setScriptNames(Words(words.begin() + 1, words.end()));
    return ok();
}

ControlReply mark(Emulator& emu, const Words& words) {
    if (words.size() != 1) {
        return usage();
    }
    emu.natives.mark();
    emu.markHostCalls();
    for (Area* area : emu.world.areas()) {
        area->mark();
    }
    return ok();
}

ControlReply time(Emulator& emu, const Words&) {
    return ok(std::to_string(emu.clock.gameTime));
}

// Every verb's words, one a line: what a scenario can say to the emulated game.
ControlReply verbList(Emulator& emu, const Words& words) {
    if (words.size() != 2) {
        return usage();
    }
    std::string text;
    for (const std::string& verb : emu.verbs().verbWords()) {
        text += verb + "\n";
    }
    return ok(text);
}

ControlReply facts(Emulator& emu, const Words& words) {
    if (words.size() != 2) {
        return usage();
    }
    GameFacts facts;
    for (const Area* area : emu.world.areas()) {
        area->facts(emu, facts);
    }
    return ok(factsText(facts));
}

// At least one call (or exactly N), or none, since the last mark; the native by its name in
// the native list or its hash.
ControlReply expectTrace(Emulator& emu, const Words& words) {
    std::uint64_t hash = 0;
    std::uint32_t exact = 0;
    const bool wanted = words[1] == "trace";
    const bool counted = wanted && words.size() == 4 && parseUnsigned(words[3], exact);
    if (words.size() != 3 && !counted) {
        return usage();
    }
    if (!parseNative(words[2], hash)) {
        return badCommand(unknownNative(words[2]));
    }
    const NativeEntry* entry = emu.natives.find(hash);
    const std::uint64_t calls = emu.natives.callsSinceMark(hash);
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

ControlReply expectHostCalls(Emulator& emu, const Words& words) {
    const std::string wanted = words.size() == 3 && words[2] == "none" ? "" : joinFrom(words, 2);
    const std::string found = emu.hostCallsSinceMark();
    return found == wanted
               ? ok()
               : expectationFailed("host calls \"" + wanted + "\"", "\"" + found + "\"");
}

// "Event=2 File=4 ... total=6".
std::string handlesText(const std::map<std::string, long>& kinds) {
    std::string text;
    long total = 0;
    for (const auto& [kind, count] : kinds) {
        text += kind + "=" + std::to_string(count) + " ";
        total += count;
    }
    return text + "total=" + std::to_string(total);
}

ControlReply handles(Emulator&, const Words& words) {
    if (words.size() != 2) {
        return usage();
    }
    return ok(handlesText(processHandles()));
}

// The process holds at most N handles (natively descriptors) more than at the last mark.
ControlReply expectHandles(Emulator& emu, const Words& words);

// clang-format off
constexpr Verb VERBS[] = {
    {"run",            "run MS",                                     runFor},
    {"key",            "key down|up VK",                             key},
    {"key repeat",     "key repeat on|off",                          key},
    {"clock",          "clock game|tick|step MS",                    clock},
    {"game pause",     "game pause on|off",                          pause},
    {"host restarts scripts", "host restarts scripts",               restartScripts},
    {"game loads save", "game loads save",                           loadSave},
    {"load",           "load PATH",                                  load},
    {"unload",         "unload",                                     unload},
    {"thread",         "thread",                                     thread},
    {"trace",          "trace FILE|off|keep",                        trace},
    {"scripts",        "scripts NAME...",                            scripts},
    {"mark",           "mark",                                       mark},
    {"time",           "time",                                       time},
    {"query facts",    "query facts",                                facts},
    {"query verbs",    "query verbs",                                verbList},
    {"query handles",  "query handles",                              handles},
    {"expect handles", "expect handles at most N",                   expectHandles},
    {"expect trace",   "expect trace NATIVE [N]",                    expectTrace},
    {"expect notrace", "expect notrace NATIVE",                      expectTrace},
    {"expect host",    "expect host CALLS...|none",                  expectHostCalls},
};
// clang-format on

// The game time, the running plug-in, and which of its scripts have ended.
void scriptFacts(const Emulator& emu, GameFacts& facts) {
    facts.ended.clear();
    for (const auto& slot : emu.scheduler.scripts()) {
        if (!emu.plugin.loaded() || slot->module != emu.plugin.handle()) {
            continue;
        }
        if (slot->fiber->finished()) {
            facts.ended.push_back(slot->name);
        }
    }
    facts.time = emu.clock.gameTime;
    facts.loaded = emu.plugin.loaded();
    facts.instance = emu.pluginInstance();
    facts.restarts = emu.scriptRestarts();
    facts.tick = emu.clock.tickCount;
    facts.paused = emu.clock.paused;
}

struct HostArea final : Area {
    // Counted at a mark only: a walk over the process's handles is not free.
    std::optional<std::map<std::string, long>> handlesAtMark;

    std::span<const Verb> verbs() const override { return VERBS; }
    void facts(const Emulator& emu, GameFacts& facts) const override { scriptFacts(emu, facts); }
    void mark() override { handlesAtMark = processHandles(); }
};

HostArea& hostArea(Emulator& emu) {
    return emu.world.area<HostArea>();
}

ControlReply expectHandles(Emulator& emu, const Words& words) {
    std::uint32_t most = 0;
    if (words.size() != 5 || words[2] != "at" || words[3] != "most" ||
        !parseUnsigned(words[4], most)) {
        return usage();
    }
    if (!hostArea(emu).handlesAtMark) {
        return badCommand("expect handles counts from the last mark, and there is none yet");
    }
    const std::map<std::string, long>& before = *hostArea(emu).handlesAtMark;
    std::map<std::string, long> grown = processHandles();
    long more = 0;
    for (auto& [kind, count] : grown) {
        const auto was = before.find(kind);
        count -= was == before.end() ? 0 : was->second;
        more += count;
    }
    if (more <= static_cast<long>(most)) {
        return ok();
    }
    std::string which;
    for (const auto& [kind, count] : grown) {
        if (count != 0) {
            which += (which.empty() ? " (" : ", ") + kind + (count > 0 ? " +" : " ") +
                     std::to_string(count);
        }
    }
    return expectationFailed("at most " + words[4] + " handles more than at the last mark",
                             std::to_string(more) + " more" + which + ")");
}

}  // namespace

void addHostArea(World& world) {
    world.addArea<HostArea>();
}
