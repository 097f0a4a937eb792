#include <array>

#include "emulator/control_api.h"
#include "emulator_fixture.h"
#include "host/natives/entity.h"
#include "host/natives/hud.h"
#include "host/natives/misc.h"
#include "host/natives/object.h"
#include "host/natives/ped.h"
#include "host/natives/player.h"

namespace {

constexpr std::int32_t CHEST_BONE = 511;

void control(const std::string& command) {
    char reply[256];
    ASSERT_EQ(tswEmuControl(command.c_str(), reply, sizeof reply), TSW_OK) << reply;
}

}  // namespace

class WorldNativesTest : public EmulatorTest {
  protected:
    void TearDown() override {
        EXPECT_FALSE(emu().failed()) << emu().failure();
        EmulatorTest::TearDown();
    }

    EntityState& player() { return emu().world.playerPed(); }
    Hash marshal() { return getHashKey("s_badgeusmarshal01x"); }
    Hash sheriff() { return getHashKey("s_badgesherif01x"); }
};

TEST_F(WorldNativesTest, HashKeyIsCaseInsensitive) {
    EXPECT_EQ(marshal(), 0x215299EBu);
    EXPECT_EQ(getHashKey("S_BadgeUSMarshal01X"), 0x215299EBu);
    EXPECT_EQ(sheriff(), 0xB8EB9CA8u);
}

TEST_F(WorldNativesTest, ClosestObjectIsOfTheModelWithinTheRadiusIn3d) {
    const Object above = createObject(marshal(), {0.0f, 0.0f, 5.0f});
    createObject(sheriff(), {0.0f, 0.0f, 1.0f});  // closer, but another model

    EXPECT_EQ(getClosestObjectOfType({}, 4.9f, marshal()), 0);
    EXPECT_FALSE(doesObjectOfTypeExistAtCoords({}, 4.9f, marshal()));
    EXPECT_EQ(getClosestObjectOfType({}, 5.1f, marshal()), above);
    EXPECT_TRUE(doesObjectOfTypeExistAtCoords({}, 5.1f, marshal()));

    const Object nearer = createObject(marshal(), {3.0f, 0.0f, 0.0f});
    EXPECT_EQ(getClosestObjectOfType({}, 5.1f, marshal()), nearer);
}

TEST_F(WorldNativesTest, DeleteObjectRemovesItAndZeroesTheVariable) {
    Object badge = createObject(marshal(), {1.0f, 2.0f, 3.0f});
    const Object handle = badge;

    deleteObject(&badge);

    EXPECT_EQ(badge, 0);
    EXPECT_FALSE(doesEntityExist(handle));
    EXPECT_EQ(getClosestObjectOfType({1.0f, 2.0f, 3.0f}, 1.0f, marshal()), 0);
    deleteObject(&badge);  // a variable already holding 0
}

TEST_F(WorldNativesTest, AttachedObjectMovesAndTurnsWithThePedsBone) {
    player().position = {10.0f, 20.0f, 30.0f};
    const Object badge = createObject(marshal(), {});
    attachEntityToEntity(badge, playerPedId(), CHEST_BONE, {{0.1f, 0.0f, 0.0f}, {}});

    Vector3 bone = getWorldPositionOfEntityBone(playerPedId(), CHEST_BONE);
    Vector3 at = getEntityCoords(badge, {.alive = true, .realCoords = false});
    EXPECT_FLOAT_EQ(at.x, bone.x + 0.1f);
    EXPECT_FLOAT_EQ(at.y, bone.y);
    EXPECT_FLOAT_EQ(at.z, bone.z);

    player().position = {-5.0f, 7.0f, 1.0f};
    player().heading = 90.0f;  // the offset turns from +x to +y
    bone = getWorldPositionOfEntityBone(playerPedId(), CHEST_BONE);
    at = getEntityCoords(badge, {.alive = true, .realCoords = false});
    EXPECT_FLOAT_EQ(at.x, bone.x);
    EXPECT_FLOAT_EQ(at.y, bone.y + 0.1f);
    EXPECT_FLOAT_EQ(at.z, bone.z);
    EXPECT_EQ(getClosestObjectOfType(bone, 0.2f, marshal()), badge);
}

TEST_F(WorldNativesTest, EntityAtCoordTakesHalfExtentsAndTestsZOnlyWithTheNinthArgument) {
    player().position = {10.0f, 10.0f, 10.0f};
    const Ped ped = playerPedId();
    const Vector3 half{2.0f, 2.0f, 2.0f};
    constexpr BoxTest HIGHLIGHTED = {.highlight = true, .do3dCheck = false, .transportMode = 0};
    constexpr BoxTest IN_3D = {.highlight = false, .do3dCheck = true, .transportMode = 0};

    EXPECT_TRUE(isEntityAtCoord(ped, {11.5f, 8.5f, 10.0f}, half, FLAT_BOX_TEST));
    EXPECT_FALSE(isEntityAtCoord(ped, {12.5f, 10.0f, 10.0f}, half, FLAT_BOX_TEST));
    EXPECT_FALSE(isEntityAtCoord(ped, {10.0f, 7.5f, 10.0f}, half, FLAT_BOX_TEST));
    // The eighth argument only highlights the area.
    EXPECT_TRUE(isEntityAtCoord(ped, {10.0f, 10.0f, 50.0f}, half, HIGHLIGHTED));
    EXPECT_FALSE(isEntityAtCoord(ped, {10.0f, 10.0f, 50.0f}, half, IN_3D));
    EXPECT_TRUE(isEntityAtCoord(ped, {10.0f, 10.0f, 11.5f}, half, IN_3D));
}

TEST_F(WorldNativesTest, PromptStaysEnabledUntilDeleted) {
    const Prompt prompt = shownPrompt("Select Badge");
    emu().run(10'000);
    EXPECT_TRUE(uiPromptIsEnabled(prompt));

    uiPromptDelete(prompt);

    EXPECT_FALSE(uiPromptIsEnabled(prompt));
    EXPECT_FALSE(uiPromptIsEnabled(prompt + 100));  // never made
    uiPromptDelete(prompt);                         // gone already: harmless
}

TEST_F(WorldNativesTest, PromptCompletionIsReportedOnce) {
    const Prompt prompt = shownPrompt("Select Badge");
    EXPECT_FALSE(uiPromptHasStandardModeCompleted(prompt));

    control("prompt use Select Badge");

    EXPECT_TRUE(uiPromptHasStandardModeCompleted(prompt));
    EXPECT_FALSE(uiPromptHasStandardModeCompleted(prompt));

    control("prompt use Select Badge");
    uiPromptDelete(prompt);
    EXPECT_FALSE(uiPromptHasStandardModeCompleted(prompt));
}

TEST_F(WorldNativesTest, NearbyPedScanFillsSlotsAfterTheCapacityAndNoFurther) {
    control("ped spawn far A_M_M_VALTOWNFOLK_01 30 0 0");
    control("ped spawn near A_M_M_VALTOWNFOLK_01 5 0 0");
    control("ped spawn middle A_M_M_VALTOWNFOLK_01 0 10 0");
    const std::uint64_t near = emu().world.findLabel("near")->handle;
    const std::uint64_t middle = emu().world.findLabel("middle")->handle;
    const std::uint64_t far = emu().world.findLabel("far")->handle;
    constexpr std::uint64_t UNTOUCHED = 0xDDDDDDDDDDDDDDDD;
    using Slots = std::array<std::uint64_t, 5>;

    Slots slots{2, UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED};
    EXPECT_EQ(getPedNearbyPeds(playerPedId(), slots.data(), -1), 2);
    EXPECT_EQ(slots, (Slots{2, near, middle, UNTOUCHED, UNTOUCHED}));

    slots = {4, UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED};
    EXPECT_EQ(getPedNearbyPeds(playerPedId(), slots.data(), -1), 3);
    EXPECT_EQ(slots, (Slots{4, near, middle, far, UNTOUCHED}));

    slots = {0, UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED};
    EXPECT_EQ(getPedNearbyPeds(playerPedId(), slots.data(), -1), 0);
    EXPECT_EQ(slots, (Slots{0, UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED}));
}
