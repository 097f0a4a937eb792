#include <windows.h>
// After windows.h, which they need.
#include <psapi.h>
#include <winternl.h>

#include <optional>
#include <string>

#include "emulator/process_handles.h"

namespace {

// One object's type name (ObjectTypeInformation), as ntdll answers it; winternl.h leaves it out.
constexpr ULONG OBJECT_TYPE_INFORMATION = 2;
// Handles are handed out four apart from the lowest free one, so the process's own are found
// by walking up the values until a long run of none. (The system's table of every process's
// handles would answer at once, but reading it while other processes start and end brings Wine
// 8's server down.)
constexpr ULONG_PTR HANDLE_STEP = 4;
constexpr int NONE_IN_A_ROW_ENDS_THE_WALK = 4096;

using QueryObject = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

// The handle's type, or nothing when the value is no handle of this process.
std::optional<std::string> typeName(QueryObject query, HANDLE handle) {
    alignas(UNICODE_STRING) char buffer[1024];
    if (query(handle, OBJECT_TYPE_INFORMATION, buffer, sizeof buffer, nullptr) != 0) {
        return std::nullopt;
    }
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer);
    std::string text;
    for (USHORT at = 0; at < name->Length / sizeof(WCHAR); ++at) {
        text += static_cast<char>(name->Buffer[at]);
    }
    return text;
}

}  // namespace

std::map<std::string, long> processHandles() {
    const auto query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    std::map<std::string, long> kinds;
    int noneInARow = 0;
    for (ULONG_PTR value = HANDLE_STEP; noneInARow < NONE_IN_A_ROW_ENDS_THE_WALK;
         value += HANDLE_STEP) {
        const auto type = typeName(query, reinterpret_cast<HANDLE>(value));
        noneInARow = type ? 0 : noneInARow + 1;
        if (type) {
            ++kinds[*type];
        }
    }
    return kinds;
}

// The commit charge (PagefileUsage, which Windows also gives as PrivateUsage; Wine fills only
// the first).
long long processMemoryBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long long>(counters.PagefileUsage);
}
