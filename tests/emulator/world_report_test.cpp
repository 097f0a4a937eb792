// The world as the scenario report reads it: each area's part, in area order, with what the
// page draws (peds and their groups, the badge's offset and rotation, blips, doors) and the
// fixed places (the offices and their doors).
#include <limits>
#include <string>

#include "emulator/atlas.h"
#include "emulator/control.h"
#include "emulator/control_api.h"
#include "emulator/json_writer.h"
#include "emulator_fixture.h"
#include "host/natives/entity.h"
#include "host/natives/map.h"
#include "host/natives/misc.h"
#include "host/natives/object.h"
#include "host/natives/player.h"

namespace {

void control(const std::string& command) {
    char reply[256];
    ASSERT_EQ(tswEmuControl(command.c_str(), reply, sizeof reply), TSW_OK) << reply;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace

using WorldReportTest = EmulatorTest;

TEST_F(WorldReportTest, StateHoldsWhatThePageDraws) {
    control("ped spawn ann A_M_M_VALTOWNFOLK_01 -276 800 119 group=REL_CIVMALE");
    control("player at office 2");
    control("door 0x1FE862E6 state 1");
    const Ped player = playerPedId();
    const Object badge = createObject(getHashKey("s_badgeusmarshal01x"), {0.0f, 0.0f, 0.0f});
    attachEntityToEntity(badge, player, 511, {{0.1f, 0.2f, 0.3f}, {-14.0f, 90.0f, 0.0f}});
    setBlipSprite(blipAddForCoords(getHashKey("BLIP_STYLE_PICKUP"), {-276.0f, 805.0f, 119.0f}),
                  getHashKey("blip_ambient_sheriff"));
    emu().run(100);

    const std::string world = worldReport(emu(), false);
    EXPECT_EQ(world.rfind("{\"time\":112,", 0), 0u) << world;
    EXPECT_NE(world.find("\"peds\":[{\"h\":257,\"name\":\"ann\",\"model\":\"A_M_M_VALTOWNFOLK_01\","
                         "\"at\":[-276,800,119],\"dead\":false}]"),
              std::string::npos)
        << world;
    EXPECT_NE(world.find("\"groups\":[[256,\"PLAYER\"],[257,\"REL_CIVMALE\"]]"), std::string::npos)
        << world;
    EXPECT_NE(world.find("\"badge\":[{\"h\":" + std::to_string(badge) +
                         ",\"model\":\"s_badgeusmarshal01x\",\"offset\":[0.1,0.2,0.3],"
                         "\"rotation\":[-14,90,0]}]"),
              std::string::npos)
        << world;
    EXPECT_NE(world.find("\"sprite\":\"blip_ambient_sheriff\",\"town\":\"Valentine\""),
              std::string::npos)
        << world;
    EXPECT_NE(world.find("{\"door\":\"0x1FE862E6\",\"name\":\"door 0x1FE862E6 (Valentine)\","
                         "\"state\":1,\"closed\":true,\"registered\":false}"),
              std::string::npos)
        << world;
    EXPECT_NE(world.find("\"player\":{\"h\":256,\"at\":[-276.183,805.232,119.38]"),
              std::string::npos)
        << world;
}

TEST_F(WorldReportTest, MapHoldsEveryOfficeAndItsDoors) {
    const std::string map = worldReport(emu(), true);
    EXPECT_EQ(occurrences(map, "\"town\":"), atlas::LAW_OFFICE_COUNT) << map;
    EXPECT_EQ(occurrences(map, "\"door\":"), std::size(atlas::OFFICE_DOORS)) << map;
    EXPECT_EQ(map.find("\"time\""), std::string::npos) << map;
}

// Through the C interface, as the Windows simulator reads it across the DLL: a buffer too
// small gets the start of the text and the whole length, to ask again.
TEST_F(WorldReportTest, CInterfaceTellsTheLengthOfATextTooLong) {
    const std::string world = worldReport(emu(), false);
    char small[16];
    EXPECT_EQ(tswEmuReport(TSW_REPORT_STATE, small, sizeof small), world.size());
    EXPECT_EQ(std::string(small), world.substr(0, sizeof small - 1));
    std::string whole(world.size() + 1, '\0');
    EXPECT_EQ(tswEmuReport(TSW_REPORT_STATE, whole.data(), whole.size()), world.size());
    EXPECT_EQ(whole.c_str(), world);
}

TEST(JsonWriter, NestsAndSeparatesMembers) {
    JsonWriter json;
    json.beginObject();
    json.key("a").beginArray();
    json.value(1);
    json.beginObject();
    json.endObject();
    json.beginArray();
    json.endArray();
    json.value(true);
    json.endArray();
    json.field("b", "x");
    json.field("c", Vec3{1.5f, -0.0f, 100000.0f});
    json.endObject();
    EXPECT_EQ(json.text(), R"({"a":[1,{},[],true],"b":"x","c":[1.5,0,100000]})");
}

// Texts end up inside an HTML script element: nothing in them may close it or start markup.
TEST(JsonWriter, TextsAreSafeInsideAScriptElement) {
    EXPECT_EQ(jsonQuoted("say \"hi\"\\ </script> & <!--\n\x01"),
              R"("say \"hi\"\\ \u003c/script\u003e \u0026 \u003c!--\u000a\u0001")");
}

TEST(JsonWriter, NumbersThatAreNotFiniteAreNull) {
    JsonWriter json;
    json.beginArray();
    json.value(std::numeric_limits<double>::quiet_NaN());
    json.value(std::numeric_limits<double>::infinity());
    json.value(0.1234567);
    json.value(std::int64_t{-5});
    json.endArray();
    EXPECT_EQ(json.text(), "[null,null,0.123457,-5]");
}
