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

// The longest run first, as a run the frames cannot reach would never end.
ControlReply runFor(Emulator& emu, const Args& args) {
    const auto ms = args.whole<std::uint32_t>(0);
    if (ms > longestRun(emu.clock.frameStep)) {
        return wrongWord(args, 0, 0, unreachableRun(ms, emu.clock.frameStep));
    }
    emu.run(ms);
    return ok();
}

ControlReply key(Emulator& emu, const Args& args) {
    const auto code = args.whole<std::uint32_t>(1);
    if (args.is(0, "down")) {
        emu.keyboard.press(code, emu.clock.tickCount);
    } else {
        emu.keyboard.release(code);
    }
    return ok();
}

ControlReply keyRepeat(Emulator& emu, const Args& args) {
    emu.keyboard.setAutoRepeat(args.is(0, "on"));
    return ok();
}

ControlReply clock(Emulator& emu, const Args& args) {
    const auto value = args.whole<std::uint32_t>(1);
    if (args.is(0, "game")) {
        emu.clock.gameTime = value;
    } else if (args.is(0, "tick")) {
        emu.clock.tickCount = value;
    } else if (value == 0) {
        return wrongWord(args, 1, 0, "a frame step of 0 would stop time");
    } else {
        emu.clock.frameStep = value;
    }
    return ok();
}

// game pause on|off: the game timer stands still while the host's tick count runs on; scripts
// still run and keys still arrive.
ControlReply pause(Emulator& emu, const Args& args) {
    const bool on = args.is(0, "on");
    if (emu.clock.paused != on) {
        emu.event(on ? "the game is paused" : "the game resumes");
    }
    emu.clock.paused = on;
    return ok();
}

ControlReply restartScripts(Emulator& emu, const Args&) {
    emu.restartScripts();
    return ok();
}

ControlReply loadSave(Emulator& emu, const Args&) {
    emu.loadSave();
    return ok();
}

ControlReply load(Emulator& emu, const Args& args) {
    emu.loadPlugin(args.text(0));
    return ok();
}

ControlReply unload(Emulator& emu, const Args&) {
    if (!emu.plugin.loaded()) {
        return badCommand("no plug-in is loaded");
    }
    emu.unloadPlugin();
    return ok();
}

ControlReply thread(Emulator& emu, const Args&) {
    if (!emu.plugin.loaded()) {
        return badCommand("no plug-in is loaded");
    }
    emu.plugin.threadAttachDetach();
    return ok();
}

ControlReply trace(Emulator& emu, const Args& args) {
    if (args.is(0, "off")) {
        emu.trace.closeFile();
    } else if (args.is(0, "keep")) {
        emu.trace.keepRecords(true);
    } else if (const std::string path = args.joined(0); !emu.trace.openFile(path)) {
        return badCommand("cannot write the trace file " + path);
    }
    return ok();
}

ControlReply scripts(Emulator& emu, const Args& args) {
    emu.scheduler.setScriptNames(args.words(0));
    return ok();
}

ControlReply mark(Emulator& emu, const Args&) {
    emu.natives.mark();
    emu.markHostCalls();
    for (Area* area : emu.world.areas()) {
        area->mark();
    }
    return ok();
}

ControlReply time(Emulator& emu, const Args&) {
    return ok(std::to_string(emu.clock.gameTime));
}

ControlReply clockNow(Emulator& emu, const Args&) {
    const GameClock& clock = emu.clock;
    return ok("game=" + std::to_string(clock.gameTime) + " tick=" +
              std::to_string(clock.tickCount) + " step=" + std::to_string(clock.frameStep) +
              " paused=" + std::to_string(clock.paused ? 1 : 0));
}

// Every verb's words, one a line: what a scenario can say to the emulated game.
ControlReply verbList(Emulator& emu, const Args&) {
    std::string text;
    for (const std::string& verb : emu.verbs().verbWords()) {
        text += verb + "\n";
    }
    return ok(text);
}

// Every form with its table and doc, one a line: what docs/scenarios.md's tables are made of.
ControlReply usageList(Emulator& emu, const Args&) {
    const VerbTable<Emulator>& verbs = emu.verbs();
    std::string text;
    for (std::size_t i = 0; i < verbs.verbs().size(); ++i) {
        text += usageLine(verbs.form(i), verbs.verbs()[i]);
    }
    return ok(text);
}

ControlReply facts(Emulator& emu, const Args&) {
    GameFacts facts;
    for (const Area* area : emu.world.areas()) {
        area->facts(emu, facts);
    }
    return ok(factsText(facts));
}

// At least one call (or exactly N), or none, since the last mark; the native by its name in
// the native list or its hash.
ControlReply expectCalls(Emulator& emu, const Args& args, bool wanted) {
    std::uint64_t hash = 0;
    const std::string& native = args.word(0);
    if (!parseNative(native, hash)) {
        return wrongWord(args, 0, 0, unknownNative(native));
    }
    const bool counted = wanted && args.given(1);
    const std::uint64_t exact = counted ? args.whole<std::uint64_t>(1) : 0;
    const NativeEntry* entry = emu.natives.find(hash);
    const std::uint64_t calls = emu.natives.callsSinceMark(hash);
    if (counted ? calls == exact : (calls > 0) == wanted) {
        return ok();
    }
    const std::string name = entry ? std::string(" (") + entry->name + ")" : "";
    const std::string what = counted  ? std::to_string(exact) + " calls of "
                             : wanted ? "a call of "
                                      : "no call of ";
    return expectationFailed(what + native + name + " since the last mark",
                             std::to_string(calls) + " calls");
}

ControlReply expectTrace(Emulator& emu, const Args& args) {
    return expectCalls(emu, args, true);
}

ControlReply expectNoTrace(Emulator& emu, const Args& args) {
    return expectCalls(emu, args, false);
}

ControlReply expectHostCalls(Emulator& emu, const Args& args) {
    const std::string wanted = args.is(0, "none") ? "" : args.joined(0);
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

ControlReply handles(Emulator&, const Args&) {
    return ok(handlesText(processHandles()));
}

ControlReply memory(Emulator&, const Args&) {
    return ok("bytes=" + std::to_string(processMemoryBytes()));
}

// The process holds at most N handles (natively descriptors) more than at the last mark.
ControlReply expectHandles(Emulator& emu, const Args& args);
ControlReply markMemory(Emulator& emu, const Args& args);
ControlReply expectMemory(Emulator& emu, const Args& args);

constexpr Placeholder PATH = {"PATH", Takes::TEXT, "a plug-in's path", 0, 0, "plugin.so"};
constexpr Placeholder KEY_CODE = {"VK", Takes::WHOLE, "a key code", 1, 254, "96"};
constexpr Placeholder NATIVE = {"NATIVE", Takes::WORD, "a native's name or hash",
                                0,        0,           "GET_GAME_TIMER"};
constexpr Placeholder CALLS = {"CALLS", Takes::WORD, "a host call", 0, 0, "scriptRegister"};

// clang-format off
constexpr Verb VERBS[] = {
    {"unload", unload, DocTable::TIME,
     "the game unloads it (process detach); `unload` then `load` starts the plug-in afresh while "
     "the world (objects, prompts, blips, files) stays"},
    {"thread", thread, DocTable::TIME,
     "a thread starts and ends in the game's process (thread attach, thread detach)"},
    {"host restarts scripts", restartScripts, DocTable::TIME,
     "the host deletes every script's fiber where it stands (nothing on its stack runs) and "
     "starts each again at its entry, in registration order, in the next frame; the plug-in "
     "stays loaded and keeps its process-wide values, the world stays as it is (as at a mission "
     "retried from a checkpoint)"},
    {"game loads save", loadSave, DocTable::TIME,
     "the game builds its world anew (below), then the host restarts the scripts"},
    {"game pause on|off", pause, DocTable::TIME,
     "the game is paused: its timer stands still, the tick count runs on, frames go on, the "
     "scripts still run and keys still arrive"},
    {"clock game|tick|step MS", clock, DocTable::TIME,
     "game time, tick count, frame step (default 0, 3600000, 16); set the tick count only while "
     "no script waits, as a wait ends on it"},
    {"key down|up VK", key, DocTable::TIME,
     "a key press / release message (VK decimal or 0x hex, {VK}); a key held down repeats its "
     "press message after 500 ms, every 33 ms; a key that no `..._KEY` setting of the settings "
     "file names gets a `note:` on the timeline, as the plug-in does nothing with it",
     {&KEY_CODE}},
    {"key repeat on|off", keyRepeat, DocTable::TIME, "keyboard auto-repeat (on by default)"},
    {"trace FILE|off|keep", trace, DocTable::TIME,
     "starts or stops writing the trace (what `--trace` does), or keeps it in memory"},
    {"scripts NAME...", scripts, DocTable::TIME,
     "the names the timeline and the trace give the scripts, in registration order (the "
     "simulator names them `BadgeScript BadgeMenuScript`)"},
    {"time", time, DocTable::TIME, "answers the game time (the simulator asks it for the timeline)"},
    {"query clock", clockNow, DocTable::TIME,
     "answers the clock: game time, tick count, frame step and whether the game is paused "
     "(`game=0 tick=3600000 step=16 paused=0`)"},
    {"query facts", facts, DocTable::TIME,
     "answers what the rules below are checked on, as `name=value` words (`chest`, `worn`, "
     "`group`, `passes`, `blips`, ...)"},
    {"query verbs", verbList, DocTable::TIME,
     "answers the leading words of every command the emulated game takes, one a line"},
    {"query usage", usageList, DocTable::TIME,
     "answers every form of every command the emulated game takes, one a line: its table here, "
     "its usage and what it does, separated by tabs (what these tables are made from)"},
    {"query handles", handles, DocTable::TIME,
     "answers what the process holds open, by kind: Windows handles by type under Wine "
     "(`Event=2 File=5 ... total=17`), open file descriptors natively"},
    {"query memory", memory, DocTable::TIME,
     "answers the memory the process has made its own: its commit charge under Wine, the "
     "heap in use natively (`bytes=13004800`)"},
    {"load PATH", load, DocTable::TIME, "the game loads the plug-in at PATH (process attach)",
     {&PATH}},
    {"run MS", runFor, DocTable::TIME,
     "plays whole frames until the tick count has moved by at least MS (game time moves with it "
     "unless the game is paused)"},
    {"mark", mark, DocTable::TIME,
     "starts a new window for `expect trace`, `expect host`, `expect handles` and `expect door "
     "HASH sets N`"},
    {"note memory", markMemory, DocTable::TIME,
     "notes the process's memory for `expect memory` (`mark` leaves it as it is)"},
    {"expect memory at most N", expectMemory, DocTable::EXPECT,
     "the process's memory (as `query memory` counts it) has grown by at most N bytes since "
     "`note memory`"},
    {"expect handles at most N", expectHandles, DocTable::EXPECT,
     "the process holds at most N handles more than at the last `mark` (as `query handles` "
     "counts them), else says which kinds grew: a plug-in that keeps something for every load "
     "shows over many reloads"},
    {"expect trace NATIVE [N]", expectTrace, DocTable::EXPECT,
     "the native (its name in the native list, `SET_PLAYER_RESET_FLAG`, or its hash) was called "
     "since the last `mark` (exactly N times)",
     {&NATIVE}},
    {"expect notrace NATIVE", expectNoTrace, DocTable::EXPECT, "it was not", {&NATIVE}},
    {"expect host CALLS...|none", expectHostCalls, DocTable::EXPECT,
     "the host calls since the last `mark`, in order (`scriptRegister`, `scriptUnregister`, "
     "`keyboardHandlerRegister`, `keyboardHandlerUnregister`); a module handle other than the "
     "plug-in's shows as `(other module)`",
     {&CALLS}},
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
    std::optional<long long> memoryAtMark;

    std::span<const Verb> verbs() const override { return VERBS; }
    void facts(const Emulator& emu, GameFacts& facts) const override { scriptFacts(emu, facts); }
    void mark() override { handlesAtMark = processHandles(); }
};

HostArea& hostArea(Emulator& emu) {
    return emu.world.area<HostArea>();
}

ControlReply expectHandles(Emulator& emu, const Args& args) {
    const auto most = args.whole<std::uint32_t>(0);
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
    return expectationFailed("at most " + args.word(0) + " handles more than at the last mark",
                             std::to_string(more) + " more" + which + ")");
}

ControlReply markMemory(Emulator& emu, const Args&) {
    hostArea(emu).memoryAtMark = processMemoryBytes();
    return ok();
}

ControlReply expectMemory(Emulator& emu, const Args& args) {
    if (!hostArea(emu).memoryAtMark) {
        return badCommand("expect memory counts from \"note memory\", and there is none yet");
    }
    const long long grown = processMemoryBytes() - *hostArea(emu).memoryAtMark;
    return grown <= args.whole<long long>(0)
               ? ok()
               : expectationFailed("memory grown by at most " + args.word(0) + " bytes",
                                   std::to_string(grown) + " bytes");
}

}  // namespace

void addHostArea(World& world) {
    world.addArea<HostArea>();
}
