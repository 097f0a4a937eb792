// Messages on screen: the objective text the game prints.
#include "emulator/areas/area_support.h"

namespace {

struct ShownMessage {
    std::uint32_t gameTime = 0;
    std::string text;
};

struct MessageArea final : Area {
    std::vector<ShownMessage> messages;
    std::optional<std::string> cachedObjective;

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    void buildAnew(World&, const NewHandles&) override { cachedObjective.reset(); }
    // The last message shown, if any.
    void report(const World&, JsonWriter& json) const override {
        if (!messages.empty()) {
            json.field("message", messages.back().text);
        }
    }
};

MessageArea& screen(World& world) {
    return world.area<MessageArea>();
}

void setCachedObjective(CallContext& call) {
    const std::string* text = call.world().gameText(call.arg<std::uint64_t>(0));
    if (text == nullptr) {
        call.fail("the text is not one the game made (VAR_STRING)");
        return;
    }
    screen(call.world()).cachedObjective = *text;
}

void printCachedObjective(CallContext& call) {
    MessageArea& area = screen(call.world());
    if (!area.cachedObjective) {
        return;
    }
    area.messages.push_back({call.gameTime(), *area.cachedObjective});
    call.event("message on screen: \"" + *area.cachedObjective + "\"");
}

void clearCachedObjective(CallContext& call) {
    screen(call.world()).cachedObjective.reset();
}

ControlReply expectMessage(Emulator& emu, const Args& args) {
    const std::string text = args.joined(0);
    const auto& messages = screen(emu.world).messages;
    const std::string last = messages.empty() ? "" : messages.back().text;
    return last == text && !text.empty()
               ? ok()
               : expectationFailed("the last message \"" + text + "\"",
                                   messages.empty() ? "no message" : "\"" + last + "\"");
}

constexpr Verb VERBS[] = {
    {"expect message TEXT", expectMessage, DocTable::EXPECT, "the last on-screen message"},
};

void MessageArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::UILOG_SET_CACHED_OBJECTIVE,   "p", setCachedObjective},
        {natives::UILOG_PRINT_CACHED_OBJECTIVE, "",  printCachedObjective},
        {natives::UILOG_CLEAR_CACHED_OBJECTIVE, "",  clearCachedObjective},
    });
    // clang-format on
}

std::span<const Verb> MessageArea::verbs() const {
    return VERBS;
}

}  // namespace

void addMessageArea(World& world) {
    world.addArea<MessageArea>();
}
