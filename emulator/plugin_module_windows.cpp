#include <windows.h>

#include <cstring>
#include <string>

#include "emulator/host_exports.h"
#include "emulator/plugin_module.h"

namespace {

DWORD WINAPI idleThread(LPVOID) {
    return 0;
}

// The .asi reads GetTickCount while the game's time is virtual: point its import at the
// emulated tick count, as hosts commonly patch a loaded module's import address table. An
// empty answer means done; otherwise it says why not.
std::string patchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const std::string what = std::string(dll) + " " + function;
    if (imports.VirtualAddress == 0) {
        return "it imports nothing, so not " + what;
    }
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; descriptor->Name != 0; ++descriptor) {
        if (_stricmp(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + descriptor->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) {
                continue;
            }
            DWORD oldProtection = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                                &oldProtection)) {
                return "its import of " + what + " cannot be made writable (error " +
                       std::to_string(GetLastError()) + ")";
            }
            slots->u1.Function = reinterpret_cast<ULONGLONG>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, oldProtection,
                           &oldProtection);
            return {};
        }
    }
    return "it has no import of " + what + " by name";
}

}  // namespace

bool PluginModule::load(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        error = "LoadLibrary(" + path + ") failed with error " + std::to_string(GetLastError());
        return false;
    }
    // Left on the real clock, the plug-in's runs would differ from run to run: no load at all.
    const std::string notPatched = patchImport(module, "KERNEL32.dll", "GetTickCount",
                                               reinterpret_cast<void*>(&tswEmulatorTickCount));
    if (!notPatched.empty()) {
        FreeLibrary(module);
        error = "the plug-in's clock cannot be pointed at the emulated one: " + notPatched;
        return false;
    }
    handle_ = module;
    return true;
}

// A thread that starts and ends makes the loader send thread attach and thread detach.
void PluginModule::threadAttachDetach() {
    HANDLE thread = CreateThread(nullptr, 0, &idleThread, nullptr, 0, nullptr);
    if (thread != nullptr) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
}

void PluginModule::unload() {
    FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
}
