// The eight host functions the plug-in imports, and the tick count its clock reads.
#include "emulator/host_exports.h"
#include "emulator/emulator.h"

namespace {

// The first host call of a process makes the emulator: out of line, so that the usual path of
// the three host functions of every native call is a load and a test, with no stack frame.
[[gnu::noinline]] void initFirst(std::uint64_t hash) {
    emulator_instance::make().nativeInit(hash);
}
[[gnu::noinline]] void pushFirst(std::uint64_t value) {
    emulator_instance::make().nativePush(value);
}
[[gnu::noinline]] std::uint64_t* callFirst() {
    return emulator_instance::make().nativeCall();
}

}  // namespace

extern "C" {

void scriptRegister(HINSTANCE module, ScriptEntry entry) {
    emulator().logHostCall("scriptRegister", module);
    emulator().scheduler.registerScript(module, entry);
}

void scriptUnregister(HINSTANCE module) {
    emulator().logHostCall("scriptUnregister", module);
    emulator().scheduler.unregisterModule(module);
}

void scriptWait(DWORD ms) {
    emulator().scriptWait(ms);
}

void nativeInit(std::uint64_t hash) {
    Emulator* current = emulator_instance::current;
    if (current == nullptr) [[unlikely]] {
        return initFirst(hash);
    }
    current->nativeInit(hash);
}

void nativePush64(std::uint64_t value) {
    Emulator* current = emulator_instance::current;
    if (current == nullptr) [[unlikely]] {
        return pushFirst(value);
    }
    current->nativePush(value);
}

std::uint64_t* nativeCall() {
    Emulator* current = emulator_instance::current;
    if (current == nullptr) [[unlikely]] {
        return callFirst();
    }
    return current->nativeCall();
}

void keyboardHandlerRegister(KeyboardHandler handler) {
    emulator().logHostCall("keyboardHandlerRegister");
    emulator().keyboard.registerHandler(handler);
}

void keyboardHandlerUnregister(KeyboardHandler handler) {
    emulator().logHostCall("keyboardHandlerUnregister");
    emulator().keyboard.unregisterHandler(handler);
}

std::uint32_t tswEmulatorTickCount() {
    return emulator().clock.tickCount;
}
}
