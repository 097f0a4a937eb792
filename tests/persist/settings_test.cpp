#include <algorithm>
#include <filesystem>
#include <string>

#include "persist/setting_rows.h"
#include "persist/settings.h"
#include "temp_folder.h"

namespace {

class SettingsFile : public TempFolderTest {
  protected:
    Settings readWith(const std::string& text) {
        writeBytes("settings.ini", text);
        return readSettings("settings.ini");
    }
};

TEST_F(SettingsFile, NoFileGivesTheDefaults) {
    const Settings s = readSettings("missing.ini");
    EXPECT_TRUE(s.greetingEnabled);
    EXPECT_EQ(s.greetingChanceThreshold, 0);
    EXPECT_EQ(s.movingSpeed, 0.0f);
    EXPECT_EQ(s.rotatingSpeed, 0.0f);
    EXPECT_EQ(s.refreshSpeed, 0.0f);
    EXPECT_EQ(s.goRightKey, 0u);
    EXPECT_EQ(s.editToggleKey, 0u);
}

TEST_F(SettingsFile, SpeedsAreScaledInSinglePrecision) {
    const Settings s =
        readWith("[BADGE_ADJUSTING]\nMOVING_SPEED=1000\nROTATING_SPEED=1000\nREFRESH_SPEED=50\n");
    EXPECT_EQ(s.movingSpeed, 0.01f);
    EXPECT_EQ(s.rotatingSpeed, 10.0f);
    EXPECT_EQ(s.refreshSpeed, 0.5f);
    // 10 x 0.01f, not 0.1 as 10 x 0.01 in double precision would give.
    const Settings t = readWith("[BADGE_ADJUSTING]\nROTATING_SPEED=10\nREFRESH_SPEED=1000\n");
    EXPECT_EQ(t.rotatingSpeed, 0.099999994f);
    EXPECT_NE(t.rotatingSpeed, 0.1f);
    EXPECT_EQ(t.refreshSpeed, 10.0f);
}

struct RangeCase {
    const char* written;
    std::uint32_t held;
};

// Each speed has a range from 0; a value beyond it is held to the top (-1 reads as the largest
// 32-bit value). A non-number reads as 0, as the profile reader gives it.
TEST_F(SettingsFile, SpeedsAreHeldToTheirRanges) {
    struct Speed {
        const char* key;
        std::uint32_t highest;
        float scale;
        float Settings::*field;
    };
    const Speed speeds[] = {
        {"MOVING_SPEED", 10000, 0.00001f, &Settings::movingSpeed},
        {"ROTATING_SPEED", 36000, 0.01f, &Settings::rotatingSpeed},
        {"REFRESH_SPEED", 100000, 0.01f, &Settings::refreshSpeed},
    };
    for (const Speed& speed : speeds) {
        const std::string top = std::to_string(speed.highest);
        const std::string above = std::to_string(speed.highest + 1);
        const RangeCase cases[] = {{"-1", speed.highest},
                                   {"0", 0},
                                   {top.c_str(), speed.highest},
                                   {above.c_str(), speed.highest},
                                   {"4294967295", speed.highest},
                                   {"1", 1},
                                   {"fast", 0}};
        for (const RangeCase& c : cases) {
            const Settings s =
                readWith(std::string("[BADGE_ADJUSTING]\n") + speed.key + "=" + c.written + "\n");
            EXPECT_EQ(s.*speed.field, static_cast<float>(c.held) * speed.scale)
                << speed.key << "=" << c.written;
        }
    }
    // At the tops: a move of 0.1, a turn of 360 degrees, a wait of a second.
    const Settings s =
        readWith("[BADGE_ADJUSTING]\nMOVING_SPEED=-1\nROTATING_SPEED=-1\nREFRESH_SPEED=-1\n");
    EXPECT_FLOAT_EQ(s.movingSpeed, 0.1f);
    EXPECT_FLOAT_EQ(s.rotatingSpeed, 360.0f);
    EXPECT_EQ(static_cast<std::uint32_t>(s.refreshSpeed), 1000u);
}

TEST_F(SettingsFile, TheLogIsOffUnlessSwitchedOn) {
    EXPECT_FALSE(readSettings("missing.ini").writeLog);
    EXPECT_FALSE(readWith("[DIAGNOSTICS]\nWRITE_LOG=0\n").writeLog);
    EXPECT_TRUE(readWith("[DIAGNOSTICS]\nWRITE_LOG=1\n").writeLog);
}

TEST_F(SettingsFile, GreetingSwitchAndChanceThreshold) {
    Settings s = readWith("[MARSHAL_GREETING]\nENABLE_GREETING=0\nGREETING_FREQUENCY=10\n");
    EXPECT_FALSE(s.greetingEnabled);
    EXPECT_EQ(s.greetingChanceThreshold, 10000);
    s = readWith("[MARSHAL_GREETING]\nENABLE_GREETING=2\nGREETING_FREQUENCY=4294967\n");
    EXPECT_TRUE(s.greetingEnabled);
    // 4294967000 wraps to a negative threshold, as the unsigned multiply did.
    EXPECT_EQ(s.greetingChanceThreshold, -296);
}

TEST_F(SettingsFile, EachKeyLandsInItsOwnField) {
    const Settings s = readWith(
        "[BADGE_ADJUSTING]\nGO_RIGHT_KEY=101\nGO_LEFT_KEY=102\nGO_CLOSER_KEY=103\n"
        "GO_FARTHER_KEY=104\nGO_UP_KEY=105\nGO_DOWN_KEY=106\nROTATE_DOWN_KEY=107\n"
        "ROTATE_UP_KEY=108\nROTATE_Z_PLUS_KEY=109\nROTATE_Z_MINUS_KEY=110\n"
        "ROTATE_RIGHT_KEY=111\nROTATE_LEFT_KEY=112\nRESET_KEY=113\n"
        "ENABLE_DISABLE_EDIT_KEY=114\n");
    const std::uint32_t keys[] = {
        s.goRightKey,     s.goLeftKey,     s.goCloserKey, s.goFartherKey,   s.goUpKey,
        s.goDownKey,      s.rotateDownKey, s.rotateUpKey, s.rotateZPlusKey, s.rotateZMinusKey,
        s.rotateRightKey, s.rotateLeftKey, s.resetKey,    s.editToggleKey};
    for (std::uint32_t i = 0; i < std::size(keys); ++i) {
        EXPECT_EQ(keys[i], 101 + i);
    }
}

TEST_F(SettingsFile, ValuesReadAsTheProfileReaderReadsThem) {
    const Settings s = readWith(
        "[marshal_greeting]\r\nENABLE_GREETING=abc\r\n"
        "[BADGE_ADJUSTING]\r\n  GO_RIGHT_KEY = 0x41 \r\nGO_LEFT_KEY=-1\r\nGO_UP_KEY=\r\n"
        "GO_DOWN_KEY=\"68\"\r\nRESET_KEY=12abc\r\nRESET_KEY=99\r\n");
    EXPECT_FALSE(s.greetingEnabled);  // found but no number: 0, not the default
    EXPECT_EQ(s.goRightKey, 0x41u);
    EXPECT_EQ(s.goLeftKey, 0xFFFFFFFFu);
    EXPECT_EQ(s.goUpKey, 0u);
    EXPECT_EQ(s.goDownKey, 68u);
    EXPECT_EQ(s.resetKey, 12u);  // the first of two wins
}

TEST_F(SettingsFile, GameBuildPathIsReadRelativeToTheCurrentFolder) {
    std::filesystem::create_directory("TinStarWarden");
    writeBytes("TinStarWarden/TinStarWarden.ini", "[BADGE_ADJUSTING]\nRESET_KEY=82\n");
    EXPECT_EQ(readSettings(SETTINGS_PATH).resetKey, 82u);
}

}  // namespace
