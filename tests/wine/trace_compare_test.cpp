// The trace comparison must mask only what really is an address: masking too much would let
// the Wine end-to-end and determinism tests pass whatever the plug-in does.
#include "tools/trace_compare.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "emulator/emulator.h"
#include "emulator/trace.h"

namespace {

class TraceCompare : public ::testing::Test {
  protected:
    static std::string record(NativeHash hash, std::vector<std::uint64_t> args,
                              std::uint64_t result, std::uint32_t time = 500,
                              const char* script = "BadgeScript") {
        TraceRecord r;
        r.gameTime = time;
        r.script = script;
        r.hash = hash;
        r.args = std::move(args);
        r.resultWord = result;
        return formatTraceLine(r) + "\n";
    }

    static std::string position(float x, float y, float z) {
        TraceRecord r;
        r.gameTime = 500;
        r.script = "BadgeScript";
        r.hash = natives::GET_ENTITY_COORDS;
        r.args = {7, 1, 0};
        r.vectorResult = true;
        r.resultVector[0] = x;
        r.resultVector[1] = y;
        r.resultVector[2] = z;
        return formatTraceLine(r) + "\n";
    }

    TraceComparison compare(const std::string& first, const std::string& second) {
        std::istringstream a(first);
        std::istringstream b(second);
        return compareTraces(a, b, table_);
    }
    const NativeTable& table_ = emulator().natives;
};

TEST_F(TraceCompare, AddressWordsMayDiffer) {
    const auto first = record(natives::GET_HASH_KEY, {0x7FF61A2B3000}, 0x9E2C1F0B) +
                       record(natives::VAR_STRING, {10, 0x140004000, 0x5612AB00}, 0x7FFE1000);
    const auto second = record(natives::GET_HASH_KEY, {0x55D0C0DE1000}, 0x9E2C1F0B) +
                        record(natives::VAR_STRING, {10, 0x5612CD00, 0x1400F0000}, 0x55AA2000);
    const TraceComparison result = compare(first, second);
    EXPECT_TRUE(result.same) << result.report;
    EXPECT_EQ(result.lines, 2u);
}

TEST_F(TraceCompare, ValueArgumentsMustMatch) {
    // VAR_STRING's first word is a flag, not an address, though its neighbours are.
    EXPECT_FALSE(compare(record(natives::VAR_STRING, {10, 0x1000, 0x2000}, 0x3000),
                         record(natives::VAR_STRING, {11, 0x1000, 0x2000}, 0x3000))
                     .same);
    EXPECT_FALSE(compare(record(natives::SET_PED_CONFIG_FLAG, {7, 26, 1}, 0),
                         record(natives::SET_PED_CONFIG_FLAG, {7, 26, 0}, 0))
                     .same);
}

TEST_F(TraceCompare, ValueResultsMustMatch) {
    EXPECT_FALSE(compare(record(natives::GET_HASH_KEY, {0x1000}, 0x9E2C1F0B),
                         record(natives::GET_HASH_KEY, {0x1000}, 0x9E2C1F0C))
                     .same);
    EXPECT_TRUE(compare(position(1.5f, -2.25f, 100.0f), position(1.5f, -2.25f, 100.0f)).same);
    EXPECT_FALSE(compare(position(1.5f, -2.25f, 100.0f), position(1.5f, -2.25f, 100.001f)).same);
}

TEST_F(TraceCompare, TimeAndScriptMustMatch) {
    const auto call = [](std::uint32_t time, const char* script) {
        return record(natives::SET_PED_CONFIG_FLAG, {7, 26, 1}, 0, time, script);
    };
    EXPECT_FALSE(compare(call(500, "BadgeScript"), call(501, "BadgeScript")).same);
    EXPECT_FALSE(compare(call(500, "BadgeScript"), call(500, "BadgeMenuScript")).same);
}

TEST_F(TraceCompare, ReportNamesTheFirstDifferingCall) {
    const auto same = record(natives::GET_HASH_KEY, {0x1000}, 1);
    const TraceComparison result =
        compare(same + same + record(natives::SET_PED_CONFIG_FLAG, {7, 26, 1}, 0),
                same + same + record(natives::SET_PED_CONFIG_FLAG, {7, 27, 1}, 0));
    EXPECT_FALSE(result.same);
    EXPECT_NE(result.report.find("call 3 (PED::SET_PED_CONFIG_FLAG)"), std::string::npos)
        << result.report;
}

TEST_F(TraceCompare, ExtraOrMissingCallsDiffer) {
    const auto call = record(natives::GET_HASH_KEY, {0x1000}, 1);
    EXPECT_FALSE(compare(call + call, call).same);
    EXPECT_FALSE(compare("", call).same);
    EXPECT_TRUE(compare("", "").same);
}

TEST_F(TraceCompare, MalformedRecordsAreRefused) {
    const auto good = record(natives::GET_HASH_KEY, {0x1000}, 1);
    const auto unknown = record(0x0123456789ABCDEF, {0x1000}, 1);
    const auto wrongArity = record(natives::GET_HASH_KEY, {0x1000, 2}, 1);
    for (const std::string& bad : {unknown, wrongArity, std::string("garbage\n")}) {
        const TraceComparison result = compare(bad, bad);
        EXPECT_FALSE(result.same) << bad;
        EXPECT_NE(result.report.find("unreadable"), std::string::npos) << result.report;
    }
    EXPECT_FALSE(compare(good, wrongArity).same);
}

}  // namespace
