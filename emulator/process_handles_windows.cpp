#include <windows.h>
#include <winternl.h>

#include <string>
#include <vector>

#include "emulator/process_handles.h"

namespace {

// The system's handle table (SystemExtendedHandleInformation) and one object's type name
// (ObjectTypeInformation), as ntdll answers them; winternl.h leaves both out.
constexpr ULONG EXTENDED_HANDLE_INFORMATION = 64;
constexpr ULONG OBJECT_TYPE_INFORMATION = 2;
constexpr NTSTATUS INFO_LENGTH_MISMATCH = static_cast<NTSTATUS>(0xC0000004L);

struct HandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};

struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry handles[1];
};

using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
using QueryObject = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

template <typename Function>
Function fromNtdll(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

std::string typeName(QueryObject query, HANDLE handle) {
    alignas(UNICODE_STRING) char buffer[1024];
    if (query(handle, OBJECT_TYPE_INFORMATION, buffer, sizeof buffer, nullptr) != 0) {
        return "unknown";
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
    const auto querySystem = fromNtdll<QuerySystem>("NtQuerySystemInformation");
    const auto queryObject = fromNtdll<QueryObject>("NtQueryObject");
    std::vector<char> buffer(1 << 16);
    NTSTATUS status = 0;
    while ((status = querySystem(EXTENDED_HANDLE_INFORMATION, buffer.data(),
                                 static_cast<ULONG>(buffer.size()), nullptr)) ==
           INFO_LENGTH_MISMATCH) {
        buffer.resize(buffer.size() * 2);
    }
    std::map<std::string, long> kinds;
    if (status != 0) {
        kinds["(the handle table cannot be read)"] = 1;
        return kinds;
    }
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    const ULONG_PTR self = GetCurrentProcessId();
    for (ULONG_PTR at = 0; at < table->count; ++at) {
        if (table->handles[at].processId == self) {
            ++kinds[typeName(queryObject, reinterpret_cast<HANDLE>(table->handles[at].handle))];
        }
    }
    return kinds;
}
