#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>

#include "emulator_fixture.h"
#include "host/natives/entity.h"
#include "host/natives/misc.h"
#include "host/natives/player.h"
#include "tests/process_folder.h"

void PrintTo(const TraceRecord& record, std::ostream* out) {
    *out << formatTraceLine(record);
}

namespace {

std::vector<std::string> traceLines() {
    std::vector<std::string> lines;
    for (const TraceRecord& record : emulator().trace.records()) {
        lines.push_back(formatTraceLine(record));
    }
    return lines;
}

}  // namespace

class TraceTest : public EmulatorTest {
  protected:
    void SetUp() override {
        EmulatorTest::SetUp();
        emu().world.playerPed().position = {1.5f, -2.25f, 0.1f};
    }
};

TEST_F(TraceTest, LinesFollowTheTextFormat) {
    emu().scheduler.setScriptNames({"BadgeScript"});
    scriptRegister(MODULE_A, [] {
        getGameTimer();
        scriptWait(0);
        const Ped ped = playerPedId();
        getEntityCoords(ped, {.alive = true, .realCoords = false});
        isEntityAtCoord(ped, {1.5f, -2.25f, 3.0f}, {1.0f, 1.0f, 1.0f},
                        {.highlight = false, .do3dCheck = true, .transportMode = -1});
        getEntityCoords(0, {.alive = false, .realCoords = false});
        for (;;) {
            scriptWait(1000);
        }
    });
    emu().run(32);
    getGameTimer();  // outside any script

    EXPECT_EQ(traceLines(),
              (std::vector<std::string>{
                  "0 BadgeScript 0x4F67E8ECA7D3F667 -> 0x0",
                  "16 BadgeScript 0x096275889B8E0EE0 -> 0x100",
                  // Vector3 results print each float with enough digits to read back exactly.
                  "16 BadgeScript 0xA86D5F069399F44D 0x100 0x1 0x0 -> 1.5 -2.25 0.100000001",
                  "16 BadgeScript 0x5E58342602E94718 0x100 0x3FC00000 0xC0100000 0x40400000 "
                  "0x3F800000 0x3F800000 0x3F800000 0x0 0x1 0xFFFFFFFF -> 0x0",
                  // A position native answers three floats even for no entity.
                  "16 BadgeScript 0xA86D5F069399F44D 0x0 0x0 0x0 -> 0 0 0",
                  "32 - 0x4F67E8ECA7D3F667 -> 0x20",
              }));
}

TEST_F(TraceTest, RecordsCompareEqualToTheExpectedCall) {
    emu().run(32);
    getEntityCoords(playerPedId(), {.alive = false, .realCoords = true});

    TraceRecord expected;
    expected.gameTime = 32;
    expected.script = "-";
    expected.hash = natives::GET_ENTITY_COORDS;
    expected.args = {0x100, 0, 1};
    expected.params = "ibb>v";
    expected.vectorResult = true;
    expected.resultVector[0] = 1.5f;
    expected.resultVector[1] = -2.25f;
    expected.resultVector[2] = 0.1f;
    ASSERT_EQ(emu().trace.records().size(), 2u);
    EXPECT_EQ(emu().trace.records()[1], expected);

    expected.resultVector[2] = 0.2f;
    EXPECT_NE(emu().trace.records()[1], expected);
}

// The file is written a block at a time: thousands of calls cross many blocks' edges.
TEST_F(TraceTest, FileHoldsOneLfTerminatedLinePerCall) {
    const std::string path = (processFolder("emulator-trace") / "trace.txt").string();
    ASSERT_TRUE(emu().trace.openFile(path));
    for (int i = 0; i < 1000; ++i) {
        getGameTimer();
        getEntityCoords(playerPedId(), {.alive = true, .realCoords = false});
    }
    emu().trace.closeFile();

    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    std::string expected;
    for (const std::string& line : traceLines()) {
        expected += line + "\n";
    }
    EXPECT_EQ(emu().trace.records().size(), 3000u);
    EXPECT_EQ(text.str(), expected);
}

// Positions are written as printf's %.9g writes them, whatever the value.
TEST(TraceFormat, FloatsAreWrittenAsPrintfWritesThem) {
    const float values[] = {0.1f,
                            -0.0f,
                            1e-5f,
                            123456789.0f,
                            1e9f,
                            -3.40282347e38f,
                            1.17549435e-38f,
                            1.4e-45f,
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::quiet_NaN()};
    for (float value : values) {
        TraceRecord record;
        record.script = "-";
        record.vectorResult = true;
        record.resultVector[0] = record.resultVector[1] = record.resultVector[2] = value;
        char text[32];
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
        const std::string word = text;

        EXPECT_EQ(formatTraceLine(record),
                  "0 - 0x0000000000000000 -> " + word + " " + word + " " + word);
    }
}

// The trace comparison and the determinism checks read the text form back: every record must
// come back as it was written, vector results and script names included.
TEST_F(TraceTest, LinesReadBackAsTheRecordsTheyCameFrom) {
    emu().scheduler.setScriptNames({"BadgeScript"});
    scriptRegister(MODULE_A, [] {
        const Ped ped = playerPedId();
        getEntityCoords(ped, {.alive = true, .realCoords = false});
        getEntityCoords(0, {.alive = true, .realCoords = false});
        getHashKey("REL_COP");
        varString(10, "LITERAL_STRING", "Select Badge");
        for (;;) {
            scriptWait(1000);
        }
    });
    emu().run(16);
    ASSERT_EQ(emu().trace.records().size(), 5u);
    for (const TraceRecord& written : emu().trace.records()) {
        TraceRecord read;
        std::string error;
        ASSERT_TRUE(parseTraceLine(formatTraceLine(written), emu().natives, read, error)) << error;
        EXPECT_EQ(read, written);
    }
}

TEST_F(TraceTest, OnlyAddressWordsAreMasked) {
    varString(10, "LITERAL_STRING", "Select Badge");
    const TraceRecord masked = withoutAddresses(emu().trace.records().at(0));
    EXPECT_EQ(masked.args, (std::vector<std::uint64_t>{10, 0, 0}));
    EXPECT_EQ(masked.resultWord, 0u);
    EXPECT_NE(emu().trace.records()[0].resultWord, 0u);
}

TEST_F(TraceTest, LinesThatDoNotFitTheirNativeAreRefused) {
    TraceRecord record;
    std::string error;
    const auto parse = [&](const std::string& line) {
        return parseTraceLine(line, emu().natives, record, error);
    };
    EXPECT_TRUE(parse("16 BadgeScript 0x4F67E8ECA7D3F667 -> 0x10"));
    EXPECT_FALSE(parse("16 BadgeScript 0x4F67E8ECA7D3F667 0x1 -> 0x10"));  // one argument too many
    EXPECT_NE(error.find("does not match its parameters"), std::string::npos) << error;
    EXPECT_FALSE(parse("16 BadgeScript 0x4F67E8ECA7D3F667 -> 0x10 0x11"));
    EXPECT_FALSE(parse("16 BadgeScript 0x0123456789ABCDEF -> 0x10"));
    EXPECT_EQ(error, "unknown native 0x0123456789ABCDEF");
    EXPECT_FALSE(parse("sixteen BadgeScript 0x4F67E8ECA7D3F667 -> 0x10"));
    EXPECT_FALSE(parse("16 BadgeScript 0x4F67E8ECA7D3F667 -> 0xZZ"));
    // A position native's result is three floats, any other native's one word.
    EXPECT_TRUE(parse("16 BadgeScript 0xA86D5F069399F44D 0x0 0x0 0x0 -> 0 0 0"));
    EXPECT_FALSE(parse("16 BadgeScript 0xA86D5F069399F44D 0x0 0x0 0x0 -> 0x0"));
    EXPECT_FALSE(parse("16 BadgeScript 0x4F67E8ECA7D3F667 -> 1 2 3"));
}
