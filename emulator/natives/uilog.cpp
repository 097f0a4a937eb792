#include "emulator/natives/areas.h"

namespace {

void setCachedObjective(CallContext& call) {
    const std::string* text = call.world().gameText(call.arg<std::uint64_t>(0));
    if (text == nullptr) {
        call.fail("the text is not one the game made (VAR_STRING)");
        return;
    }
    call.world().cachedObjective = *text;
}

void printCachedObjective(CallContext& call) {
    World& world = call.world();
    if (!world.cachedObjective) {
        return;
    }
    world.messages.push_back({call.gameTime(), *world.cachedObjective});
    call.event("message on screen: \"" + *world.cachedObjective + "\"");
}

void clearCachedObjective(CallContext& call) {
    call.world().cachedObjective.reset();
}

}  // namespace

void registerUilogNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::UILOG_SET_CACHED_OBJECTIVE,   "p", setCachedObjective},
        {natives::UILOG_PRINT_CACHED_OBJECTIVE, "",  printCachedObjective},
        {natives::UILOG_CLEAR_CACHED_OBJECTIVE, "",  clearCachedObjective},
    });
    // clang-format on
}
