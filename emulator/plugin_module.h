#pragma once
#include <string>

#include "host/platform_types.h"

// The plug-in library as the host holds it: loaded (process attach), notified of a thread
// starting and ending, unloaded (process detach). Natively a shared object through dlopen,
// on Windows the real .asi through LoadLibrary.
class PluginModule {
  public:
    bool load(const std::string& path, std::string& error);
    void threadAttachDetach();
    void unload();
    bool loaded() const { return handle_ != nullptr; }
    HINSTANCE handle() const { return static_cast<HINSTANCE>(handle_); }

  private:
    void* handle_ = nullptr;
};
