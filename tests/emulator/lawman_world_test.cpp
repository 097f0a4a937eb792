// The emulated game's lawman areas, driven as a plug-in drives them: what the natives answer
// and what they refuse.
#include <cstring>

#include "emulator/control_api.h"
#include "emulator_fixture.h"
#include "host/natives/audio.h"
#include "host/natives/door.h"
#include "host/natives/entity.h"
#include "host/natives/interior.h"
#include "host/natives/map.h"
#include "host/natives/misc.h"
#include "host/natives/player.h"

namespace {

void control(const std::string& command) {
    char reply[256];
    ASSERT_EQ(tswEmuControl(command.c_str(), reply, sizeof reply), TSW_OK) << reply;
}

bool holds(const std::string& expectation) {
    char reply[256];
    return tswEmuControl(expectation.c_str(), reply, sizeof reply) == TSW_OK;
}

Ped pedNamed(const char* name) {
    return emulator().world.findLabel(name)->handle;
}

SpeechRecord greeting(Ped speaker) {
    SpeechRecord record{};
    record.speechName = reinterpret_cast<std::uintptr_t>("GREET_MARSHAL");
    record.variation = 1;
    record.speechParams = 0x67F3AB43;
    record.listenerPed = static_cast<std::uint32_t>(speaker);
    record.syncOverNetwork = 1;
    record.v7 = 1;
    return record;
}

using LawmanWorld = EmulatorTest;

TEST_F(LawmanWorld, SpeechLineIsHeardForAWhileAndAWideSlotIsRefused) {
    control("ped spawn joe A_M_M_VALTOWNFOLK_01 3 0 0");
    const Ped joe = pedNamed("joe");
    SpeechRecord record = greeting(joe);
    EXPECT_TRUE(playPedAmbientSpeechNative(joe, &record));
    EXPECT_TRUE(holds("expect spoke joe GREET_MARSHAL 1"));
    EXPECT_TRUE(isAnySpeechPlaying(joe));
    emu().run(2500);
    EXPECT_FALSE(isAnySpeechPlaying(joe));

    record.v8 = 0x100000000ull;
    playPedAmbientSpeechNative(joe, &record);
    EXPECT_TRUE(emu().failed());
    EXPECT_NE(emu().failure().find("slot 7"), std::string::npos) << emu().failure();
}

TEST_F(LawmanWorld, NoLongerNeededClearsTheCallersVariable) {
    control("ped spawn ann A_M_M_VALTOWNFOLK_01 3 0 0");
    Ped ann = pedNamed("ann");
    setPedAsNoLongerNeeded(&ann);
    EXPECT_EQ(ann, 0);
    EXPECT_TRUE(holds("expect released ann yes"));
    setPedAsNoLongerNeeded(&ann);  // a variable holding 0 is no error
    EXPECT_FALSE(emu().failed()) << emu().failure();
}

// Heading 0 faces +y and angles turn counter-clockwise, so 90 faces -x.
TEST_F(LawmanWorld, APedSeesWhatStandsInFrontOfItUnlessBlind) {
    control("player at 0 0 0");
    control("ped spawn north A_M_M_VALTOWNFOLK_01 0 5 0 heading=180");
    control("ped spawn east A_M_M_VALTOWNFOLK_01 5 0 0 heading=90");
    control("ped spawn west A_M_M_VALTOWNFOLK_01 -5 0 0 heading=90");
    control("ped spawn blind A_M_M_VALTOWNFOLK_01 0 -5 0 blind");
    const Ped player = playerPedId();
    EXPECT_TRUE(hasEntityClearLosToEntityInFront(pedNamed("north"), player, 16));
    EXPECT_TRUE(hasEntityClearLosToEntityInFront(pedNamed("east"), player, 16));
    EXPECT_FALSE(hasEntityClearLosToEntityInFront(pedNamed("west"), player, 16));
    EXPECT_FALSE(hasEntityClearLosToEntityInFront(pedNamed("blind"), player, 16));
}

TEST_F(LawmanWorld, OfficesAreInteriorsOutdoorsAndUnloadedOnesReadZero) {
    const Vector3 valentineProbe{-276.851f, 809.485f, 119.0f};
    const Vector3 rhodesProbe{1357.44f, -1301.963f, 77.0f};
    const std::int32_t valentine = getInteriorAtCoords(valentineProbe);
    EXPECT_NE(valentine, 0);
    EXPECT_NE(getInteriorAtCoords(rhodesProbe), valentine);
    EXPECT_EQ(getInteriorAtCoords({-276.851f, 770.0f, 119.0f}), 0);
    control("player at office 2");
    EXPECT_EQ(getInteriorFromEntity(playerPedId()), valentine);
    control("interior office 2 off");
    EXPECT_EQ(getInteriorAtCoords(valentineProbe), 0);
    EXPECT_EQ(getInteriorFromEntity(playerPedId()), 0);
}

TEST_F(LawmanWorld, BlipsTakeOnlyThePickupStyle) {
    const Blip blip = blipAddForCoords(0xEC972124, {-276.183f, 805.232f, 119.38f});
    EXPECT_TRUE(doesBlipExist(blip));
    EXPECT_FALSE(doesBlipExist(0));
    ASSERT_FALSE(emu().failed()) << emu().failure();
    blipAddForCoords(getHashKey("blip_ambient_sheriff"), {0.0f, 0.0f, 0.0f});
    EXPECT_TRUE(emu().failed());
}

// 0 unlocked, 1 locked, 2 locked but breakable, 3 and 4 held open; nothing else is a state.
TEST_F(LawmanWorld, DoorsTakeTheFiveDoorStatesOnly) {
    control("door 0x1FE862E6 state 4");
    EXPECT_EQ(doorSystemGetDoorState(0x1FE862E6), 4);
    EXPECT_FALSE(holds("door 0x1FE862E6 state 5"));
    EXPECT_FALSE(holds("door 0x1FE862E6 state -1"));
    doorSystemSetDoorState(0x1FE862E6, 0);
    EXPECT_EQ(doorSystemGetDoorState(0x1FE862E6), 0);
    ASSERT_FALSE(emu().failed()) << emu().failure();
    doorSystemSetDoorState(0x1FE862E6, 5);
    EXPECT_TRUE(emu().failed());
    EXPECT_EQ(doorSystemGetDoorState(0x1FE862E6), 0);
}

}  // namespace
