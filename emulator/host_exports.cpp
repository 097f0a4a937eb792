// The eight host functions the plug-in imports, and the tick count its clock reads. Each marks
// its run as the host's (scheduler.h), for the benchmarks' sampling.
#include "emulator/host_exports.h"
#include "emulator/emulator.h"

extern "C" {

void scriptRegister(HINSTANCE module, ScriptEntry entry) {
    const HostCallScope host(emulator().scheduler.activity());
    emulator().logHostCall("scriptRegister", module);
    emulator().scheduler.registerScript(module, entry);
}

void scriptUnregister(HINSTANCE module) {
    const HostCallScope host(emulator().scheduler.activity());
    emulator().logHostCall("scriptUnregister", module);
    emulator().scheduler.unregisterModule(module);
}

void scriptWait(DWORD ms) {
    const HostCallScope host(emulator().scheduler.activity());
    emulator().scriptWait(ms);
}

void nativeInit(std::uint64_t hash) {
    const HostCallScope host(emulator().scheduler.activity());
    emulator().nativeInit(hash);
}

void nativePush64(std::uint64_t value) {
    const HostCallScope host(emulator().scheduler.activity());
    emulator().nativePush(value);
}

std::uint64_t* nativeCall() {
    const HostCallScope host(emulator().scheduler.activity());
    return emulator().nativeCall();
}

void keyboardHandlerRegister(KeyboardHandler handler) {
    const HostCallScope host(emulator().scheduler.activity());
    emulator().logHostCall("keyboardHandlerRegister");
    emulator().keyboard.registerHandler(handler);
}

void keyboardHandlerUnregister(KeyboardHandler handler) {
    const HostCallScope host(emulator().scheduler.activity());
    emulator().logHostCall("keyboardHandlerUnregister");
    emulator().keyboard.unregisterHandler(handler);
}

std::uint32_t tswEmulatorTickCount() {
    return emulator().clock.tickCount;
}
}
