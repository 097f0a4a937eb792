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

void Emulator::callLeftUnmade() {
    fail("native call " + hexHash(callHash_) + " was started but never made");
}

void Emulator::pushWithoutCall() {
    fail("an argument was pushed with no native call started");
}

std::uint64_t* Emulator::nativeCall() {
    std::fill(std::begin(result_), std::end(result_), 0);
    const bool active = callActive_;
    callActive_ = false;
    const NativeEntry* entry = active ? natives.find(callHash_) : nullptr;
    if (!active) {
        fail("a native was called with no call started");
    } else if (entry == nullptr) {
        fail("unknown native hash " + hexHash(callHash_));
    } else if (checkArguments(*entry)) {
        CallContext context(*this, world, *entry, callArgs_, result_);
        ScriptSlot* slot = scheduler.running();
        const bool timed = slot != nullptr && nativeTiming_;
        const auto start =
            timed ? std::chrono::steady_clock::now() : std::chrono::steady_clock::time_point{};
        entry->handler(context);
        if (timed) {
            slot->nativeTime += std::chrono::steady_clock::now() - start;
        }
        trace.count(natives.indexOf(entry));
        if (slot != nullptr) {
            ++slot->nativeCalls;
        }
        if (trace.wantsRecords()) {
            recordCall(*entry);
        }
    }
    if (failed() && scheduler.running() != nullptr) {
        scheduler.haltRunning();
    }
    return result_;
}

bool Emulator::checkArguments(const NativeEntry& entry) {
    if (callArgCount_ != entry.argCount) {
        fail(describe(entry) + " takes " + std::to_string(entry.argCount) + " arguments, got " +
             std::to_string(callArgCount_));
        return false;
    }
    for (std::size_t i = 0; i < callArgCount_; ++i) {
        const std::uint64_t word = callArgs_[i];
        const bool narrow = ((entry.narrowArgs >> i) & 1) != 0;
        const bool flag = ((entry.boolArgs >> i) & 1) != 0;
        if ((narrow && (word >> 32) != 0) || (flag && word > 1)) {
            char text[32];
            std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(word));
            fail(describe(entry) + " argument " + std::to_string(i + 1) + " is " + text +
                 (flag ? ", not a BOOL (0 or 1)" : ", not a zero-extended 32-bit value"));
            return false;
        }
    }
    return true;
}

void Emulator::recordCall(const NativeEntry& entry) {
    TraceRecord record;
    record.gameTime = clock.gameTime;
    record.script = runningScriptName();
    record.hash = entry.hash;
    record.args.assign(callArgs_, callArgs_ + callArgCount_);
    record.params = entry.params;
    record.vectorResult = entry.resultIsVector();
    if (record.vectorResult) {
        std::memcpy(&record.resultVector[0], &result_[0], sizeof(float));
        std::memcpy(&record.resultVector[1], &result_[1], sizeof(float));
        std::memcpy(&record.resultVector[2], &result_[2], sizeof(float));
    } else {
        record.resultWord = result_[0];
    }
    trace.add(std::move(record));
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
    scheduler.runFrame();
    flushNarration();
    clock.advanceFrame();
    if (frameHook_ != nullptr) {
        frameHook_(clock.gameTime, frameHookContext_);
    }
}

bool Emulator::run(std::uint32_t ms) {
    const std::uint32_t start = clock.gameTime;
    while (!failed() && clock.gameTime - start < ms) {
        runFrame();
    }
    return !failed();
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
    for (std::size_t i = hostCallMark_; i < hostCalls_.size(); ++i) {
        const HostCall& call = hostCalls_[i];
        calls += (calls.empty() ? "" : " ") + call.name;
        const bool takesModule = call.name.rfind("script", 0) == 0;
        if (takesModule && call.module != pluginHandle_) {
            calls += "(other module)";
        }
    }
    return calls;
}

std::string Emulator::runningScriptName() const {
    const ScriptSlot* slot = scheduler.running();
    return slot != nullptr ? slot->name : "-";
}
