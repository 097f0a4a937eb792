#include "lawman/greeting_memory.h"

#include <gtest/gtest.h>

#include "lawman/greetings.h"
#include "plugin_world_fixture.h"

namespace {

constexpr Ped FIRST_PED = 0x500;

TEST(GreetingMemory, FullTablesStoreNothingMoreAndFreeSlotsAreAnyOccupiedValueButOne) {
    GreetingMemory memory;
    for (Ped ped = FIRST_PED; ped < FIRST_PED + 21; ++ped) {
        rememberGreeting(memory, ped);
        rememberPassedOver(memory, ped);
    }
    EXPECT_TRUE(hasGreeted(memory, FIRST_PED + 19));
    EXPECT_FALSE(hasGreeted(memory, FIRST_PED + 20));
    EXPECT_TRUE(wasPassedOver(memory, FIRST_PED + 19));
    EXPECT_FALSE(wasPassedOver(memory, FIRST_PED + 20));

    // Only 1 means in use: a slot holding another value is taken by the next greeting.
    memory.greetedPeds[7].occupied = 2;
    rememberGreeting(memory, FIRST_PED + 20);
    EXPECT_EQ(memory.greetedPeds[7].handle, FIRST_PED + 20);
    EXPECT_EQ(memory.greetedPeds[7].occupied, 1);
    EXPECT_TRUE(memory.greetedPeds[7].holdPending);
}

TEST(GreetingMemory, HoldIsPendingUntilTakenAndFoundInTheFirstSlotOfThePed) {
    GreetingMemory memory;
    rememberGreeting(memory, FIRST_PED);
    rememberGreeting(memory, FIRST_PED);
    EXPECT_FALSE(greetedAndHeld(memory, FIRST_PED));
    GreetedSlot* slot = pendingHold(memory, FIRST_PED);
    ASSERT_EQ(slot, &memory.greetedPeds[0]);
    slot->holdPending = false;
    EXPECT_TRUE(greetedAndHeld(memory, FIRST_PED));
    EXPECT_EQ(pendingHold(memory, FIRST_PED), &memory.greetedPeds[1]);
    EXPECT_EQ(pendingHold(memory, FIRST_PED + 1), nullptr);
}

// The forgetting step of the closest-ped greeting, against the emulated world: the player stands
// at (100, 100, 10) with the marshal's star at the chest and nobody within greeting range.
class Forgetting : public PluginWorldTest {
  protected:
    void SetUp() override {
        PluginWorldTest::SetUp();
        const Vec3 chest = world().bonePosition(world().playerPed(), CHEST_BONE_INDEX);
        world().addEntity(EntityType::Object, world().hashName("s_badgeusmarshal01x"), chest);
    }
};

TEST_F(Forgetting, PedsMoreThan50AwayAndVanishedPedsLeaveBothTables) {
    GreetingMemory memory;
    const std::int32_t atEdge = spawnPed("A_M_M_VALTOWNFOLK_01", {150.0f, 100.0f, 10.0f});
    const std::int32_t beyond = spawnPed("A_M_M_VALTOWNFOLK_01", {150.01f, 100.0f, 10.0f});
    const std::int32_t vanished = spawnPed("A_M_M_VALTOWNFOLK_01", {110.0f, 100.0f, 10.0f});
    for (const std::int32_t ped : {atEdge, beyond, vanished}) {
        rememberGreeting(memory, ped);
        rememberPassedOver(memory, ped);
    }
    world().deleteEntity(vanished);

    forgetCalls();
    closestPedGreeting(memory);

    EXPECT_TRUE(hasGreeted(memory, atEdge));
    EXPECT_TRUE(wasPassedOver(memory, atEdge));
    EXPECT_FALSE(hasGreeted(memory, beyond));
    EXPECT_FALSE(wasPassedOver(memory, beyond));
    EXPECT_FALSE(hasGreeted(memory, vanished));
    EXPECT_EQ(memory.greetedPeds[1].occupied, 0);
    EXPECT_FALSE(memory.greetedPeds[1].holdPending);
    // The scan measures the two peds still there; then the player, the (absent) candidate and
    // every slot of both tables is read, every one before anything changes.
    EXPECT_EQ(calls(natives::GET_ENTITY_COORDS), 2 * 2 + 2 + 40);
    EXPECT_EQ(calls(natives::VDIST), 40);
}

}  // namespace
