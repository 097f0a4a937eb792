#pragma once
// The least any host can do for one native call as the plug-in makes it (start it with the
// hash, push each word, call, read the result): keep the hash and the words, find the native in
// a table like the emulator's, run a handler that does nothing. The emulated host's cost a
// call is measured against this floor.
#include <cstdint>

#include "emulator/native_table.h"

struct FloorHost {
    void (*init)(NativeHash hash);
    void (*push)(std::uint64_t word);
    std::uint64_t* (*call)();
};

// The natives of the table, each with a handler that does nothing; reached through pointers,
// as the plug-in reaches the host's functions through its imports.
FloorHost floorHost(const NativeTable& natives);
