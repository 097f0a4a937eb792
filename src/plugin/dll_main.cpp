#include <cstdlib>

#include "host/clock.h"
#include "host/host_api.h"
#include "host/key_state.h"
#include "persist/data_file.h"
#include "plugin/badge_menu_script.h"
#include "plugin/badge_script.h"
#include "plugin/runtime.h"

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
// At detach a null `reserved` means an unload (FreeLibrary, a reload), else the process ends.
extern "C" TSW_PLUGIN_ENTRY BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == PROCESS_ATTACH) {
        scriptRegister(module, badgeScriptEntry);
        scriptRegister(module, badgeMenuScriptEntry);
        keyboardHandlerRegister(onKeyboardMessage);
    } else if (reason == PROCESS_DETACH) {
        scriptUnregister(module);
        keyboardHandlerUnregister(onKeyboardMessage);
        const bool unloaded = reserved == nullptr;
        closeDataFile(unloaded);
        if (unloaded) {
            releaseRuntime();
        }
    }
    return TRUE;
}
