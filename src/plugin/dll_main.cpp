#include <cstdlib>

#include "host/clock.h"
#include "host/host_api.h"
#include "host/key_state.h"
#include "plugin/badge_menu_script.h"
#include "plugin/badge_script.h"

namespace {

constexpr DWORD PROCESS_DETACH = 0;
constexpr DWORD PROCESS_ATTACH = 1;

// Thin entries: the host starts each as a cooperative script of its own.
void badgeScriptEntry() {
    BadgeScript();
}
void badgeMenuScriptEntry() {
    std::srand(tickCount());
    BadgeMenuScript();
}

}  // namespace

// The module handle goes straight to the host and is not kept: detach gets it again.
extern "C" TSW_PLUGIN_ENTRY BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == PROCESS_ATTACH) {
        scriptRegister(module, badgeScriptEntry);
        scriptRegister(module, badgeMenuScriptEntry);
        keyboardHandlerRegister(onKeyboardMessage);
    } else if (reason == PROCESS_DETACH) {
        scriptUnregister(module);
        keyboardHandlerUnregister(onKeyboardMessage);
    }
    return TRUE;
}
