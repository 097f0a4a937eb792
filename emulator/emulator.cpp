#include "emulator/emulator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "emulator/call_context.h"
#include "emulator/control.h"

namespace {

std::unique_ptr<Emulator> instance;

std::string hexHash(NativeHash hash) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(hash));
    return text;
}

std::string describe(const NativeEntry& entry) {
    return std::string(entry.name) + " (" + hexHash(entry.hash) + ")";
}

// The first words always, without a branch: most natives take one to three, and past the
// count the limit lets any word through.
bool withinLimits(const NativeTable::Slot& slot, const std::uint64_t* args) {
    bool over = false;
    for (std::size_t i = 0; i < NativeTable::CHECKED_FIRST; ++i) {
        over |= args[i] > slot.firstLimits[i];
    }
    for (std::size_t i = NativeTable::CHECKED_FIRST; i < slot.argCount; ++i) {
        over |= args[i] > ARG_LIMITS[slot.entry->argKinds[i]];
    }
    return !over;
}

std::size_t firstBadArgument(const NativeEntry& entry, const std::uint64_t* args) {
    std::size_t i = 0;
    while (i + 1 < entry.argCount && args[i] <= ARG_LIMITS[entry.argKinds[i]]) {
        ++i;
    }
    return i;
}

}  // namespace

Emulator* emulator_instance::current = nullptr;

Emulator& emulator_instance::make() {
    if (!instance) {
        instance = std::make_unique<Emulator>();
        current = instance.get();
    }
    return *instance;
}

void resetEmulator() {
    if (instance && instance->plugin.loaded()) {
        instance->unloadPlugin();
    }
    emulator_instance::current = nullptr;
    instance = std::make_unique<Emulator>();
    emulator_instance::current = instance.get();
}

Emulator::Emulator() {
    world.emulator = this;
    for (Area* area : world.areas()) {
        area->registerNatives(natives);
        verbs_.add(area->verbs());
    }
    scheduler.onScriptEvent([this](const ScriptSlot& slot, const char* what) {
        if (std::string(what) != "registered") {
            event(slot.name + " " + what);
        }
    });
}

void Emulator::startAfterUnmadeCall(NativeHash hash) {
    fail("native call " + hexHash(call_.hash) + " was started but never made");
    start(hash);
}

// With no call started, or past the longest argument list: only counted, so that the call
// fails with the count.
void Emulator::pushPastRoom() {
    if (call_.room == 0) {
        fail("an argument was pushed with no native call started");
        return;
    }
    ++call_.argCount;
}

std::uint64_t* Emulator::nativeCall() {
    // A call not started has a count (NO_CALL) no native takes.
    NativeTable::Slot& native = natives.slot(call_.hash);
    if (call_.argCount != native.argCount || native.entry == nullptr ||
        !withinLimits(native, call_.args)) {
        return refuseCall(native.entry);
    }
    endCall();
    std::fill(std::begin(result_), std::end(result_), 0);
    if (nativeTiming_ || trace.wantsRecords()) {
        return observedCall(native);
    }
    CallContext context(*this, world, *native.entry, call_.args, result_);
    native.handler(context);
    afterCall(native);
    return result_;
}

// The same call, timed or written to the trace.
std::uint64_t* Emulator::observedCall(NativeTable::Slot& native) {
    const NativeEntry& entry = *native.entry;
    CallContext context(*this, world, entry, call_.args, result_);
    const Scheduler::TimingClock clock = nativeTiming_ ? scheduler.timing() : nullptr;
    ScriptSlot* script = scheduler.running();
    if (clock != nullptr && script != nullptr) {
        const std::chrono::nanoseconds start = clock();
        entry.handler(context);
        script->nativeTime += clock() - start;
    } else {
        entry.handler(context);
    }
    if (trace.wantsRecords()) {
        recordCall(entry);
    }
    afterCall(native);
    return result_;
}

void Emulator::afterCall(NativeTable::Slot& native) {
    ++native.callsSinceMark;
    if (ScriptSlot* script = scheduler.running()) {
        ++script->nativeCalls;
        if (failed()) {
            scheduler.haltRunning();
        }
    }
}

// A call the table cannot make: nothing runs, the result reads 0, and the script stops.
void Emulator::endCall() {
    call_.room = 0;
    call_.argCount = PendingCall::NO_CALL;
}

std::uint64_t* Emulator::refuseCall(const NativeEntry* entry) {
    std::fill(std::begin(result_), std::end(result_), 0);
    const std::uint32_t count = call_.argCount;
    if (call_.room == 0) {
        fail("a native was called with no call started");
    } else if (entry == nullptr) {
        fail("unknown native hash " + hexHash(call_.hash));
    } else if (count != entry->argCount) {
        fail(describe(*entry) + " takes " + std::to_string(entry->argCount) + " arguments, got " +
             std::to_string(count));
    } else {
        const std::size_t bad = firstBadArgument(*entry, call_.args);
        const bool flag = entry->argKinds[bad] == BOOL_WORD;
        char text[32];
        std::snprintf(text, sizeof text, "0x%llX",
                      static_cast<unsigned long long>(call_.args[bad]));
        fail(describe(*entry) + " argument " + std::to_string(bad + 1) + " is " + text +
             (flag ? ", not a BOOL (0 or 1)" : ", not a zero-extended 32-bit value"));
    }
    endCall();
    if (scheduler.running() != nullptr) {
        scheduler.haltRunning();
    }
    return result_;
}

void Emulator::recordCall(const NativeEntry& entry) {
    const std::string_view script = runningScriptName();
    trace.write(clock.gameTime, script, entry, call_.args, result_);
    if (trace.keepsRecords()) {
        TraceRecord record;
        record.gameTime = clock.gameTime;
        record.script = script;
        record.hash = entry.hash;
        record.args.assign(call_.args, call_.args + entry.argCount);
        record.params = entry.params;
        record.vectorResult = entry.resultIsVector();
        if (record.vectorResult) {
            std::memcpy(&record.resultVector[0], &result_[0], sizeof(float));
            std::memcpy(&record.resultVector[1], &result_[1], sizeof(float));
            std::memcpy(&record.resultVector[2], &result_[2], sizeof(float));
        } else {
            record.resultWord = result_[0];
        }
        trace.keep(std::move(record));
    }
}

void Emulator::scriptWait(std::uint32_t ms) {
    if (scheduler.running() == nullptr) {
        fail("scriptWait called outside a script");
        return;
    }
    flushNarration();
    scheduler.waitRunning(ms);
}

void Emulator::runFrame() {
    keyboard.deliverRepeats(clock.tickCount);
    for (Area* area : world.areas()) {
        area->beforeFrame(*this);
    }
    scheduler.runFrame();
    flushNarration();
    clock.advanceFrame();
    if (frameHook_ != nullptr) {
        frameHook_(clock.gameTime, frameHookContext_);
    }
}

bool Emulator::run(std::uint32_t ms) {
    const std::uint32_t start = clock.tickCount;
    while (!failed() && clock.tickCount - start < ms) {
        runFrame();
    }
    return !failed();
}

void Emulator::restartScripts() {
    if (scheduler.running() != nullptr) {
        fail("the scripts can only be restarted between frames");
        return;
    }
    event("the host restarts the scripts");
    scheduler.restartAll();
    ++scriptRestarts_;
}

void Emulator::loadSave() {
    event("the game loads a save: the world is built anew");
    world.buildAnew();
    restartScripts();
}

bool Emulator::loadPlugin(const std::string& path) {
    if (plugin.loaded()) {
        fail("the plug-in is already loaded");
        return false;
    }
    std::string error;
    if (!plugin.load(path, error)) {
        fail("cannot load the plug-in: " + error);
        return false;
    }
    pluginHandle_ = plugin.handle();
    ++pluginInstance_;
    event("plug-in loaded: " + std::to_string(scheduler.scriptCount()) + " scripts, " +
          std::to_string(keyboard.handlerCount()) + " keyboard handler(s) registered");
    return true;
}

void Emulator::unloadPlugin() {
    const HINSTANCE module = plugin.handle();
    plugin.unload();
    const std::size_t scriptsLeft = scheduler.scriptCount();
    if (scriptsLeft != 0) {
        // Their code is gone: resuming them would jump into unmapped memory.
        scheduler.unregisterModule(module);
        fail("the plug-in left " + std::to_string(scriptsLeft) + " scripts registered at unload");
    }
    if (keyboard.handlerCount() != 0) {
        fail("the plug-in left its keyboard handler registered at unload");
    }
    event("plug-in unloaded");
}

void Emulator::fail(const std::string& message) {
    if (failure_.empty()) {
        failure_ = message;
        event("EMULATOR FAILURE: " + message);
    }
}

void Emulator::event(const std::string& text) {
    flushNarration();
    if (sink_ != nullptr) {
        sink_(clock.gameTime, text.c_str(), sinkContext_);
    }
}

void Emulator::narrate(const std::string& subject, const std::string& change, bool headline) {
    auto it = std::find_if(narration_.begin(), narration_.end(),
                           [&](const Narration& n) { return n.subject == subject; });
    if (it == narration_.end()) {
        narration_.push_back({subject, {}, {}});
        it = narration_.end() - 1;
    }
    if (headline && it->headline.empty()) {
        it->headline = change;
    } else {
        it->changes.push_back(change);
    }
}

void Emulator::flushNarration() {
    std::vector<Narration> pending;
    pending.swap(narration_);
    for (const Narration& n : pending) {
        std::string line = n.subject + (n.headline.empty() ? "" : " " + n.headline);
        for (std::size_t i = 0; i < n.changes.size(); ++i) {
            line += (i == 0 ? ": " : ", ") + n.changes[i];
        }
        event(line);
    }
}

void Emulator::setTimelineSink(TimelineSink sink, void* context) {
    sink_ = sink;
    sinkContext_ = context;
}

void Emulator::setFrameHook(FrameHook hook, void* context) {
    frameHook_ = hook;
    frameHookContext_ = context;
}

void Emulator::logHostCall(const char* name, HINSTANCE module) {
    hostCalls_.push_back({name, module});
}

// "scriptRegister scriptRegister keyboardHandlerRegister"; a module handle other than the
// plug-in's shows as "scriptRegister(other module)".
std::string Emulator::hostCallsSinceMark() const {
    std::string calls;
    for (const HostCall& call : hostCalls_) {
        calls += (calls.empty() ? "" : " ") + call.name;
        const bool takesModule = call.name.rfind("script", 0) == 0;
        if (takesModule && call.module != pluginHandle_) {
            calls += "(other module)";
        }
    }
    return calls;
}

std::string_view Emulator::runningScriptName() const {
    const ScriptSlot* slot = scheduler.running();
    return slot != nullptr ? std::string_view(slot->name) : std::string_view("-");
}
