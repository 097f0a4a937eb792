#include <ostream>

#include "emulator/control.h"
#include "emulator_fixture.h"
#include "host/native_invoker.h"
#include "host/natives/player.h"

namespace {

// One way of breaking the calling convention, made through the raw host functions.
struct BadCall {
    const char* name;
    void (*make)();
    const char* failure;
};

void PrintTo(const BadCall& call, std::ostream* out) {
    *out << call.name;
}

const BadCall BAD_CALLS[] = {
    {"UnknownHash",
     [] {
         nativeInit(0x0123456789ABCDEF);
         nativeCall();
     },
     "unknown native hash 0x0123456789ABCDEF"},
    {"TooManyArguments",
     [] {
         nativeInit(natives::PLAYER_PED_ID);
         nativePush64(0);
         nativeCall();
     },
     "PLAYER::PLAYER_PED_ID (0x096275889B8E0EE0) takes 0 arguments, got 1"},
    {"TooFewArguments",
     [] {
         nativeInit(natives::SET_PED_CONFIG_FLAG);
         nativePush64(0x100);
         nativePush64(64);
         nativeCall();
     },
     "PED::SET_PED_CONFIG_FLAG (0x1913FE4CBF41C463) takes 3 arguments, got 2"},
    {"SignExtendedInteger",
     [] {
         nativeInit(natives::SET_PED_CONFIG_FLAG);
         nativePush64(0x100);
         nativePush64(0xFFFFFFFFFFFFFFFF);  // -1 sign-extended
         nativePush64(1);
         nativeCall();
     },
     "PED::SET_PED_CONFIG_FLAG (0x1913FE4CBF41C463) argument 2 is 0xFFFFFFFFFFFFFFFF, not a "
     "zero-extended 32-bit value"},
    {"FloatWithHighHalf",
     [] {
         nativeInit(natives::GET_DISTANCE_BETWEEN_COORDS);
         for (std::uint64_t word : {0ull, 0ull, 0x100000000ull, 0ull, 0ull, 0ull, 1ull}) {
             nativePush64(word);
         }
         nativeCall();
     },
     "MISC::GET_DISTANCE_BETWEEN_COORDS (0x0BE7F4E3CDBAFB28) argument 3 is 0x100000000, not a "
     "zero-extended 32-bit value"},
    {"BoolPastTheFourthArgument",
     [] {
         nativeInit(natives::GET_DISTANCE_BETWEEN_COORDS);
         for (std::uint64_t word : {0ull, 0ull, 0ull, 0ull, 0ull, 0ull, 2ull}) {
             nativePush64(word);
         }
         nativeCall();
     },
     "MISC::GET_DISTANCE_BETWEEN_COORDS (0x0BE7F4E3CDBAFB28) argument 7 is 0x2, not a BOOL (0 "
     "or 1)"},
    {"MoreWordsThanAnyCallCarries",
     [] {
         nativeInit(natives::PLAYER_PED_ID);
         for (int i = 0; i < 40; ++i) {
             nativePush64(0);
         }
         nativeCall();
     },
     "PLAYER::PLAYER_PED_ID (0x096275889B8E0EE0) takes 0 arguments, got 40"},
    {"BoolOtherThanZeroOrOne",
     [] {
         nativeInit(natives::SET_DISABLE_PLAYER_WANTED_LEVEL);
         nativePush64(0);
         nativePush64(2);
         nativeCall();
     },
     "PLAYER::_SET_DISABLE_PLAYER_WANTED_LEVEL (0x8674D138391FFB1B) argument 2 is 0x2, not a "
     "BOOL (0 or 1)"},
    {"PushWithoutInit", [] { nativePush64(1); },
     "an argument was pushed with no native call started"},
    {"CallWithoutInit", [] { nativeCall(); }, "a native was called with no call started"},
    {"InitTwiceWithoutCall",
     [] {
         nativeInit(natives::PLAYER_ID);
         nativeInit(natives::PLAYER_ID);
     },
     "native call 0x217E9DC48139933D was started but never made"},
};

}  // namespace

class NativeDispatchTest : public EmulatorTest, public ::testing::WithParamInterface<BadCall> {};

TEST_P(NativeDispatchTest, BrokenCallFailsNamingTheFault) {
    GetParam().make();

    EXPECT_EQ(emu().failure(), GetParam().failure);
}

INSTANTIATE_TEST_SUITE_P(Calls, NativeDispatchTest, ::testing::ValuesIn(BAD_CALLS),
                         [](const auto& info) { return std::string(info.param.name); });

using NativeDispatchStrictness = EmulatorTest;

TEST_F(NativeDispatchStrictness, RejectedCallRunsNothingAndLeavesNoStaleResult) {
    ASSERT_NE(playerPedId(), 0);  // leaves a non-zero result in the host's buffer

    nativeInit(natives::SET_DISABLE_PLAYER_WANTED_LEVEL);
    nativePush64(0);
    nativePush64(2);
    const std::uint64_t* result = nativeCall();

    EXPECT_TRUE(emu().failed());
    EXPECT_EQ(result[0], 0u);
    EXPECT_EQ(runCommand(emu(), "expect wanted enabled").code, TSW_OK);
}

TEST_F(NativeDispatchStrictness, UnknownHashStopsTheCallingScriptForGood) {
    scriptRegister(MODULE_A, [] {
        note("before");
        invokeNative(NativeHash{0x0123456789ABCDEF});
        note("after");
    });
    scriptRegister(MODULE_B, [] {
        for (;;) {
            note("other");
            scriptWait(0);
        }
    });

    EXPECT_FALSE(emu().run(1000));
    emu().runFrame();

    EXPECT_EQ(emu().failure(), "unknown native hash 0x0123456789ABCDEF");
    EXPECT_EQ(scriptLog, (std::vector<std::string>{"before@0", "other@0", "other@16"}));
}

TEST_F(NativeDispatchStrictness, FirstFailureIsKept) {
    nativeCall();
    nativePush64(1);

    EXPECT_EQ(emu().failure(), "a native was called with no call started");
}
