#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "emulator/process_handles.h"

namespace fs = std::filesystem;

namespace {

// "socket:[123]", "pipe:[45]", "anon_inode:[eventfd]" name their kind; anything else is a file.
std::string kindOf(const fs::path& descriptor) {
    std::error_code error;
    const std::string target = fs::read_symlink(descriptor, error).string();
    const auto colon = target.find(':');
    return error || colon == std::string::npos || target.starts_with("/") ? "file"
                                                                          : target.substr(0, colon);
}

}  // namespace

std::map<std::string, long> processHandles() {
    std::map<std::string, long> kinds;
    std::error_code error;
    // The listing's own descriptor is open while it runs: it is not counted.
    std::vector<fs::path> descriptors;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
        descriptors.push_back(entry.path());
    }
    for (const fs::path& descriptor : descriptors) {
        if (fs::exists(descriptor, error)) {
            ++kinds[kindOf(descriptor)];
        }
    }
    return kinds;
}

long long processMemoryBytes() {
    return static_cast<long long>(mallinfo2().uordblks);
}
