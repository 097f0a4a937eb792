#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/game_clock.h"
#include "emulator/keyboard.h"
#include "emulator/native_table.h"
#include "emulator/plugin_module.h"
#include "emulator/scheduler.h"
#include "emulator/timeline.h"
#include "emulator/trace.h"
#include "emulator/verb_placeholders.h"
#include "emulator/world.h"

using FrameHook = void (*)(std::uint32_t gameTime, void* context);

// The emulated host: the eight host functions, the scheduler, the native table and the world
// behind it, and the trace of every native call.
class Emulator {
  public:
    Emulator();

    GameClock clock;
    World world;
    NativeTable natives;
    Trace trace;
    Keyboard keyboard;
    Scheduler scheduler{clock};
    PluginModule plugin;

    // The host functions, run hundreds of millions of times a game hour: init and push only
    // keep what they are given; the call finds the native and checks the words in one go.
    // Faults go out of line.
    void nativeInit(NativeHash hash) {
        if (call_.room != 0) [[unlikely]] {
            startAfterUnmadeCall(hash);
            return;
        }
        start(hash);
    }
    void nativePush(std::uint64_t word) {
        const std::uint32_t count = call_.argCount;
        if (count >= call_.room) {
            pushPastRoom();
            return;
        }
        call_.args[count] = word;
        call_.argCount = count + 1;
    }
    std::uint64_t* nativeCall();
    void scriptWait(std::uint32_t ms);

    // Runs whole frames until the tick count has moved by at least ms (game time moves with
    // it unless the game is paused); false after a failure.
    bool run(std::uint32_t ms);
    void runFrame();

    // The host restarts every registered script at its entry, the world as it is.
    void restartScripts();
    // The game loads a save: the world is built anew, then the host restarts the scripts.
    void loadSave();
    // How often the scripts were restarted since the emulator began.
    std::uint32_t scriptRestarts() const { return scriptRestarts_; }

    bool loadPlugin(const std::string& path);
    void unloadPlugin();
    // Which load of the plug-in is (or was last) running: 1 for the first. What a blip or a
    // prompt was made by is told apart with it.
    std::uint32_t pluginInstance() const { return pluginInstance_; }

    // The first failure is kept; a failing script stops for good.
    void fail(const std::string& message);
    bool failed() const { return !failure_.empty(); }
    const std::string& failure() const { return failure_; }

    // A line on the timeline. Pending narration goes out first, so lines keep their order.
    void event(const std::string& text);
    // One change to a subject (a ped, "relationships"): a script's changes to one subject are
    // joined into one line, written when the script next yields. A headline leads the line
    // ("Ann is made a civilian: weapons removed, kept").
    void narrate(const std::string& subject, const std::string& change, bool headline = false);
    void flushNarration();
    void setTimelineSink(TimelineSink sink, void* context);
    void setFrameHook(FrameHook hook, void* context);

    std::string_view runningScriptName() const;
    // Every scenario verb of every area, in area order.
    const VerbTable<Emulator>& verbs() const { return verbs_; }
    // For the benchmarks: each native call's own time added to its script's, by the
    // scheduler's timing clock (two clock reads a call, more than the cheapest calls take; off
    // unless asked for).
    void setNativeTiming(bool on) { nativeTiming_ = on; }

    // Registration calls the plug-in made of the host, for the load and unload tests: names
    // in order, each with the module handle it passed where it passes one. Only the calls
    // since the mark are read: a mark lets go of the rest, so an evening of reloads keeps none.
    void logHostCall(const char* name, HINSTANCE module = nullptr);
    void markHostCalls() { hostCalls_.clear(); }
    std::string hostCallsSinceMark() const;

  private:
    void start(NativeHash hash) {
        call_.hash = hash;
        call_.room = NativeTable::MAX_ARGS;
        call_.argCount = 0;
    }
    void startAfterUnmadeCall(NativeHash hash);
    void pushPastRoom();
    void endCall();
    std::uint64_t* refuseCall(const NativeEntry* entry);
    std::uint64_t* observedCall(NativeTable::Slot& native);
    void afterCall(NativeTable::Slot& native);
    void recordCall(const NativeEntry& entry);

    struct HostCall {
        std::string name;
        HINSTANCE module;
    };
    std::vector<HostCall> hostCalls_;
    HINSTANCE pluginHandle_ = nullptr;  // the last loaded plug-in's, kept after unload
    std::uint32_t pluginInstance_ = 0;
    std::uint32_t scriptRestarts_ = 0;

    // The call being made: from init to call.
    struct PendingCall {
        static constexpr std::uint32_t NO_CALL = ~0u;
        NativeHash hash = 0;
        std::uint32_t room = 0;            // the words that can be kept; 0 with no call started
        std::uint32_t argCount = NO_CALL;  // the words pushed, those past the room too
        std::uint64_t args[NativeTable::MAX_ARGS] = {};
    };
    PendingCall call_;
    bool nativeTiming_ = false;
    alignas(16) std::uint64_t result_[4] = {};
    std::string failure_;
    VerbTable<Emulator> verbs_{placeholders::SHARED};
    struct Narration {
        std::string subject;
        std::string headline;
        std::vector<std::string> changes;
    };
    std::vector<Narration> narration_;
    TimelineSink sink_ = nullptr;
    void* sinkContext_ = nullptr;
    FrameHook frameHook_ = nullptr;
    void* frameHookContext_ = nullptr;
};

// The one emulated host of the process, made on first use. Every host call asks for it, so the
// common case is a load and a test.
namespace emulator_instance {
extern Emulator* current;
Emulator& make();
}  // namespace emulator_instance
inline Emulator& emulator() {
    Emulator* current = emulator_instance::current;
    return current != nullptr ? *current : emulator_instance::make();
}
// A fresh emulator: new world, clock, trace; no plug-in loaded.
void resetEmulator();
