#include "lawman/ped_queries.h"

#include "host/native_hashes.h"
#include "plugin_world_fixture.h"

namespace {

class PedQueries : public PluginWorldTest {
  protected:
    static constexpr Vec3 PLAYER_AT{100.0f, 100.0f, 10.0f};

    static std::int32_t pedAt(float dx, const std::string& model = "A_M_M_VALTOWNFOLK_01") {
        return spawnPed(model, {PLAYER_AT.x + dx, PLAYER_AT.y, PLAYER_AT.z});
    }
};

TEST_F(PedQueries, DistanceLimitKeepsAPedExactlyAtItAndMinusOneKeepsEveryone) {
    const std::int32_t atLimit = pedAt(100.0f);
    const std::int32_t beyond = pedAt(120.0f);
    EXPECT_EQ(collectNearbyPeds(playerPed, 40, 100.0f, -1, true), std::vector<Ped>{atLimit});
    EXPECT_EQ(collectNearbyPeds(playerPed, 40, -1.0f, -1, true),
              (std::vector<Ped>{atLimit, beyond}));
}

TEST_F(PedQueries, DeadPedsOnlyWhenIncludedAndVanishedPedsNever) {
    const std::int32_t living = pedAt(5.0f);
    const std::int32_t dead = pedAt(6.0f);
    const std::int32_t vanished = pedAt(7.0f);
    entity(dead).dead = true;
    entity(vanished).stale = true;
    EXPECT_EQ(collectNearbyPeds(playerPed, 40, 100.0f, 0, false), std::vector<Ped>{living});
    EXPECT_EQ(collectNearbyPeds(playerPed, 40, 100.0f, 0, true), (std::vector<Ped>{living, dead}));
}

// A game that reports more peds than it was asked for must not make the plug-in read past
// its buffer; a negative count is none.
TEST_F(PedQueries, CountIsHeldToTheCapacityAndANegativeCountIsEmpty) {
    for (int i = 0; i < 3; ++i) {
        pedAt(2.0f + static_cast<float>(i));
    }
    ASSERT_TRUE(command("nearby count 5000"));
    forgetCalls();
    EXPECT_EQ(collectNearbyPeds(playerPed, 2, -1.0f, -1, true).size(), 2u);
    EXPECT_EQ(calls(natives::DOES_ENTITY_EXIST), 2);

    ASSERT_TRUE(command("nearby count -7"));
    forgetCalls();
    EXPECT_TRUE(collectNearbyPeds(playerPed, 40, -1.0f, -1, true).empty());
    EXPECT_EQ(calls(natives::DOES_ENTITY_EXIST), 0);
}

TEST_F(PedQueries, ClosestPedIsTheNearestLivingHumanAndTheGamesFirstOnATie) {
    EXPECT_EQ(closestPed(playerPed, 10.0f), 0);
    const std::int32_t dog = pedAt(1.0f, "A_C_DOGHUSKY_01");
    entity(dog).human = false;
    const std::int32_t dead = pedAt(1.5f);
    entity(dead).dead = true;
    const std::int32_t first = pedAt(3.0f);
    pedAt(-3.0f);
    pedAt(9.0f);
    EXPECT_EQ(closestPed(playerPed, 10.0f), first);
    EXPECT_EQ(closestPed(playerPed, 2.0f), 0);
}

TEST_F(PedQueries, EntityDistanceIsThreeDimensional) {
    const std::int32_t above = spawnPed("A_M_M_VALTOWNFOLK_01", {103.0f, 104.0f, 22.0f});
    EXPECT_FLOAT_EQ(entityDistance(playerPed, above), 13.0f);
    EXPECT_FLOAT_EQ(entityDistance(above, playerPed), 13.0f);
}

}  // namespace
