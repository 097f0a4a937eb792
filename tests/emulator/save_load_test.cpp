// A save load builds the world anew: what scripts made or set is gone, what the game itself
// holds stays, and every entity that stays has a new handle. And the readings we are unsure
// of, as world options.
#include "emulator/control_api.h"
#include "emulator_fixture.h"
#include "host/natives/audio.h"
#include "host/natives/door.h"
#include "host/natives/entity.h"
#include "host/natives/hud.h"
#include "host/natives/map.h"
#include "host/natives/misc.h"
#include "host/natives/object.h"
#include "host/natives/ped.h"
#include "host/natives/player.h"

namespace {

constexpr Hash DOOR = 0x1FE862E6;

void control(const std::string& command) {
    char reply[256];
    ASSERT_EQ(tswEmuControl(command.c_str(), reply, sizeof reply), TSW_OK) << reply;
}

std::int32_t handleOf(const std::string& label) {
    return emulator().world.findLabel(label)->handle;
}

}  // namespace

class SaveLoadTest : public EmulatorTest {
  protected:
    void TearDown() override {
        EXPECT_FALSE(emu().failed()) << emu().failure();
        EmulatorTest::TearDown();
    }
    Hash marshal() { return getHashKey("s_badgeusmarshal01x"); }
};

TEST_F(SaveLoadTest, ScriptObjectsGoAndEveryOtherEntityStaysWithANewHandle) {
    control("ped spawn joe A_M_M_VALTOWNFOLK_01 5 0 0 heading=90");
    control("object spawn p_chair01x at 1 2 3");
    control("player target joe");
    const Ped oldPlayer = playerPedId();
    const Ped oldJoe = handleOf("joe");
    const Object badge = createObject(marshal(), {});
    attachEntityToEntity(badge, oldPlayer, 511, Attachment{});

    emu().loadSave();

    EXPECT_FALSE(doesEntityExist(badge));
    EXPECT_FALSE(doesEntityExist(oldPlayer));
    EXPECT_FALSE(doesEntityExist(oldJoe));
    const Ped player = playerPedId();
    EXPECT_TRUE(doesEntityExist(player));
    EXPECT_EQ(emu().world.findLabel("player")->handle, player);
    EXPECT_EQ(emu().world.find(handleOf("joe"))->heading, 90.0f);
    Entity target = 0;
    getPlayerTargetEntity(0, &target);
    EXPECT_EQ(target, handleOf("joe"));
    EXPECT_EQ(emu().world.entities.objects().size(), 1u);  // the chair
    EXPECT_TRUE(doesObjectOfTypeExistAtCoords({1.0f, 2.0f, 3.0f}, 0.1f, getHashKey("p_chair01x")));
}

TEST_F(SaveLoadTest, WhatScriptsSetIsBackAtTheGamesOwnAndWhatTheGameHoldsStays) {
    control("ped spawn joe A_M_M_VALTOWNFOLK_01 5 0 0 group=REL_CIVMALE drunk speaking");
    const Hash cop = getHashKey("REL_COP");
    setPedRelationshipGroupHash(playerPedId(), cop);
    setPedRelationshipGroupHash(handleOf("joe"), cop);
    setRelationshipBetweenGroups(6, cop, getHashKey("REL_PLAYER_ENEMY"));
    setPedConfigFlag(handleOf("joe"), 44, true);
    stopPedSpeaking(handleOf("joe"), true);
    setDisablePlayerWantedLevel(0, true);
    doorSystemSetDoorState(DOOR, 1);
    addDoorToSystemNew(DOOR);
    const Prompt prompt = shownPrompt("Lock");
    const Blip blip = blipAddForCoords(0xEC972124, {});

    emu().loadSave();

    EXPECT_EQ(getPedRelationshipGroupHash(playerPedId()), getHashKey("PLAYER"));
    EXPECT_EQ(getPedRelationshipGroupHash(handleOf("joe")), getHashKey("REL_CIVMALE"));
    control("expect relationship REL_COP REL_PLAYER_ENEMY none");
    control("expect flag joe 44 off");
    control("expect switch joe off");
    control("expect wanted enabled");
    EXPECT_TRUE(isPedDrunk(handleOf("joe")));
    EXPECT_TRUE(isAnySpeechPlaying(handleOf("joe")));
    EXPECT_EQ(doorSystemGetDoorState(DOOR), 0);
    control("expect door 0x1FE862E6 registered no");
    EXPECT_FALSE(uiPromptIsEnabled(prompt));
    EXPECT_FALSE(doesBlipExist(blip));
    // New prompts and blips get handles never given out before.
    EXPECT_NE(shownPrompt("Lock"), prompt);
    EXPECT_NE(blipAddForCoords(0xEC972124, {}), blip);
}

TEST_F(SaveLoadTest, CreationsOfAModelNotYetLoadedGiveNothingTheFirstTimes) {
    control("object create fails s_badgeusmarshal01x 2");
    control("expect objects s_badgeusmarshal01x 0");

    EXPECT_EQ(createObject(marshal(), {}), 0);
    EXPECT_NE(createObject(getHashKey("s_badgesherif01x"), {}), 0);  // another model
    EXPECT_EQ(createObject(marshal(), {}), 0);
    EXPECT_NE(createObject(marshal(), {}), 0);
    control("expect objects s_badgeusmarshal01x 1");
}

TEST_F(SaveLoadTest, AttachedObjectsAreReportedOffTheirBoneWhenTheWorldSaysSo) {
    control("object attach off 0.25");
    const Object badge = createObject(marshal(), {});
    attachEntityToEntity(badge, playerPedId(), 511, Attachment{});
    const Vector3 chest = getWorldPositionOfEntityBone(playerPedId(), 511);

    EXPECT_FALSE(doesObjectOfTypeExistAtCoords(chest, 0.2f, marshal()));
    EXPECT_TRUE(doesObjectOfTypeExistAtCoords(chest, 0.3f, marshal()));
    EXPECT_FLOAT_EQ(getEntityCoords(badge, {}).z, chest.z + 0.25f);
}

// Our reading: once after each use. A game may go on reporting it for a few frames.
TEST_F(SaveLoadTest, ACompletionIsReportedOnceOrForTheFramesTheWorldSays) {
    const Prompt prompt = shownPrompt("Select Badge");
    control("prompt use Select Badge");
    EXPECT_TRUE(uiPromptHasStandardModeCompleted(prompt));
    EXPECT_FALSE(uiPromptHasStandardModeCompleted(prompt));

    control("prompt completes frames 3");
    control("prompt use Select Badge");
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_TRUE(uiPromptHasStandardModeCompleted(prompt)) << frame;
        EXPECT_TRUE(uiPromptHasStandardModeCompleted(prompt)) << frame;
        emu().runFrame();
    }
    EXPECT_FALSE(uiPromptHasStandardModeCompleted(prompt));
}
