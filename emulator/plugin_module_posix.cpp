#include <dlfcn.h>

#include "emulator/plugin_module.h"

namespace {

constexpr DWORD PROCESS_DETACH = 0;
constexpr DWORD PROCESS_ATTACH = 1;
constexpr DWORD THREAD_ATTACH = 2;
constexpr DWORD THREAD_DETACH = 3;

using EntryPoint = BOOL (*)(HINSTANCE, DWORD, LPVOID);

// The shared object exports its DllMain; the loader calls it as Windows' loader would.
EntryPoint entryPoint(void* handle) {
    return reinterpret_cast<EntryPoint>(dlsym(handle, "DllMain"));
}

}  // namespace

bool PluginModule::load(const std::string& path, std::string& error) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        error = dlerror();
        return false;
    }
    const EntryPoint entry = entryPoint(handle_);
    if (entry == nullptr) {
        error = "the plug-in has no DllMain: " + path;
        dlclose(handle_);
        handle_ = nullptr;
        return false;
    }
    entry(handle(), PROCESS_ATTACH, nullptr);
    return true;
}

void PluginModule::threadAttachDetach() {
    const EntryPoint entry = entryPoint(handle_);
    entry(handle(), THREAD_ATTACH, nullptr);
    entry(handle(), THREAD_DETACH, nullptr);
}

void PluginModule::unload() {
    entryPoint(handle_)(handle(), PROCESS_DETACH, nullptr);
    dlclose(handle_);
    handle_ = nullptr;
}
