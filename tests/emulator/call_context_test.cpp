// What a native handler reads of its call: never a word past the call's arguments.
#include "emulator/call_context.h"

#include <cstdint>

#include "emulator_fixture.h"

namespace {

// A call of SET_PED_CONFIG_FLAG (three arguments) with a stale word behind its last one, as
// the host's argument buffer holds from an earlier, longer call.
class CallContextTest : public EmulatorTest {
  protected:
    CallContext call() {
        const NativeEntry* entry = emu().natives.find(natives::SET_PED_CONFIG_FLAG);
        EXPECT_NE(entry, nullptr);
        return CallContext(emu(), emu().world, *entry, args_, result_);
    }

    static constexpr const char* PAST_THE_CALL =
        "PED::SET_PED_CONFIG_FLAG: the handler reads argument 4 of a call that has 3";

  private:
    std::uint64_t args_[4] = {0x100, 64, 1, 0xDEADBEEF};
    std::uint64_t result_[4] = {};
};

}  // namespace

TEST_F(CallContextTest, ArgumentsOfTheCallAreReadAsTheyWerePushed) {
    const CallContext context = call();

    EXPECT_EQ(context.arg<std::int32_t>(0), 0x100);
    EXPECT_EQ(context.arg<std::int32_t>(1), 64);
    EXPECT_TRUE(context.arg<bool>(2));
    EXPECT_FALSE(emu().failed());
}

TEST_F(CallContextTest, ReadPastTheLastArgumentFailsNamingTheNativeAndGivesZero) {
    const CallContext context = call();

    EXPECT_EQ(context.arg<std::uint64_t>(3), 0u);

    EXPECT_EQ(emu().failure(), PAST_THE_CALL);
}

TEST_F(CallContextTest, EveryWayOfReadingAnArgumentIsBounded) {
    EXPECT_EQ(call().ptr<std::uint32_t>(3), nullptr);
    EXPECT_EQ(emu().failure(), PAST_THE_CALL);

    resetEmulator();
    // A position of three floats starting at the last argument runs two past it.
    const Vec3 position = call().vec(2);
    EXPECT_EQ(position.y, 0.0f);
    EXPECT_EQ(emu().failure(), PAST_THE_CALL);

    resetEmulator();
    EXPECT_EQ(call().text(3), "");
    EXPECT_EQ(emu().failure(), PAST_THE_CALL);
}
