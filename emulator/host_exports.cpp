// The eight host functions the plug-in imports, and the tick count its clock reads.
#include "emulator/host_exports.h"
#include "emulator/emulator.h"

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
    emulator().nativeInit(hash);
}

void nativePush64(std::uint64_t value) {
    emulator().nativePush(value);
}

std::uint64_t* nativeCall() {
    return emulator().nativeCall();
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
