#include "bench/protocol_floor.h"

#include "emulator/call_context.h"
#include "emulator/emulator.h"

namespace {

NativeTable table;
NativeHash pending = 0;
std::uint64_t words[NativeTable::MAX_ARGS];
std::size_t count = 0;
std::uint64_t result[4];

void nothing(CallContext&) {}

void floorInit(NativeHash hash) {
    pending = hash;
    count = 0;
}

void floorPush(std::uint64_t word) {
    words[count++ % NativeTable::MAX_ARGS] = word;
}

std::uint64_t* floorCall() {
    const NativeTable::Slot& slot = table.slot(pending);
    CallContext context(emulator(), emulator().world, *slot.entry, words, result);
    slot.handler(context);
    return result;
}

}  // namespace

FloorHost floorHost(const NativeTable& natives) {
    table = NativeTable{};
    for (NativeEntry entry : natives.entries()) {
        entry.handler = nothing;
        table.add({entry});
    }
    return {floorInit, floorPush, floorCall};
}
