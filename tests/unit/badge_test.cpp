#include <unistd.h>

#include <filesystem>
#include <memory>

#include "badge/badge_attachment.h"
#include "badge/badge_catalogue.h"
#include "badge/badge_menu.h"
#include "host/native_hashes.h"
#include "lawman/lawman_models.h"
#include "plugin_world_fixture.h"

namespace fs = std::filesystem;

namespace {

class Badge : public PluginWorldTest {
  protected:
    void SetUp() override {
        PluginWorldTest::SetUp();
        folder_ = fs::temp_directory_path() / ("tsw-badge-test-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }

    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(folder_);
        PluginWorldTest::TearDown();
    }

    // An in-memory data file with the stored attachment; it is never written here.
    void storeAttachment(float offset, float rotX) {
        file_ = std::make_unique<DictDataFile>("unused.dat");
        for (const char* key : {"xxxxx", "yyyyy", "zzzzz"}) {
            file_->setFloat(key, offset);
        }
        file_->setFloat("rot_xxxxx", rotX);
        file_->setFloat("rot_yyyyy", 0.0f);
        file_->setFloat("rot_zzzzz", 0.0f);
        dataFile = file_.get();
    }

    void placeAtChest(const char* model, float dx) {
        const Vec3 chest = world().bonePosition(world().playerPed(), CHEST_BONE_INDEX);
        world().addEntity(EntityType::Object, world().hashName(model), chest + Vec3{dx, 0, 0});
    }

    std::string modelAtChest() {
        const auto badges = badgesAtChest();
        return badges.size() == 1 ? world().nameOf(entity(badges[0]).model) : "";
    }

    std::unique_ptr<DictDataFile> file_;
    fs::path folder_;
    fs::path previous_;
};

TEST_F(Badge, RotationAdjustmentGoesToTheAttachmentNotTheStoredValue) {
    storeAttachment(0.0f, -14.0f);
    const float expected[BADGE_COUNT] = {-14.0f, -14.0f, -14.0f, -14.0f, 76.0f, 166.0f};
    for (std::int32_t index = 0; index < BADGE_COUNT; ++index) {
        attachBadge(index, anchorPosition, Attachment{{}, {-14.0f, 0.0f, 0.0f}});
        const std::int32_t badge = world().entities.rbegin()->first;
        EXPECT_FLOAT_EQ(entity(badge).attachment->rotation.x, expected[index]) << index;
    }
    EXPECT_FLOAT_EQ(dataFile->getFloat("rot_xxxxx"), -14.0f);
}

TEST_F(Badge, WornMeansACatalogueModelWithinSixTenthsOfTheAnchor) {
    placeAtChest(MARSHAL_DAVIES_BADGE, 0.0f);
    EXPECT_FALSE(isBadgeWorn());
    placeAtChest("s_badgepolice01x", 0.7f);
    EXPECT_FALSE(isBadgeWorn());
    placeAtChest("s_badgepolice01x", 0.55f);
    EXPECT_TRUE(isBadgeWorn());
}

// A badge pushed far out by a missing offset (-999 on each axis) is still the worn one: the
// check must not add another object on every pass.
TEST_F(Badge, AttachmentCheckNeverDoublesABadgeAttachedFarOut) {
    storeAttachment(-999.0f, 0.0f);
    dataFile->setInt("badge", 3);
    for (int pass = 0; pass < 5; ++pass) {
        ensureBadgeAttached();
    }
    EXPECT_EQ(badgesAtChest().size(), 1u);
    world().deleteEntity(badgesAtChest().front());
    ensureBadgeAttached();
    EXPECT_EQ(modelAtChest(), "s_badgepolice01x");
}

TEST_F(Badge, MenuWithoutADataFileStillSwapsBadgesAndWritesNothing) {
    ASSERT_EQ(dataFile, nullptr);
    cycleBadge();
    EXPECT_EQ(modelAtChest(), "s_badgeusmarshal01x");
    EXPECT_TRUE(command("expect outfit on"));
    removeBadge();
    EXPECT_TRUE(command("expect outfit off"));
    EXPECT_FALSE(fs::exists("TinStarWarden/TinStarWarden.dat"));
    EXPECT_FALSE(fs::exists("TinStarWarden"));
}

TEST_F(Badge, LawmanTestStopsAtTheFirstMatchingModel) {
    const std::int32_t sheriff = spawnPed("CS_VALSHERIFF", {101.0f, 100.0f, 10.0f});
    const std::int32_t farmer = spawnPed("A_M_M_VALFARMER_01", {102.0f, 100.0f, 10.0f});
    const std::int32_t rhodes = world().addEntity(EntityType::Ped, 0x6D22857B, {103, 100, 10});
    forgetCalls();
    EXPECT_TRUE(isLawman(sheriff));
    EXPECT_EQ(calls(natives::IS_PED_MODEL), 1);
    forgetCalls();
    EXPECT_FALSE(isLawman(farmer));
    EXPECT_EQ(calls(natives::IS_PED_MODEL), 31);
    EXPECT_TRUE(isLawman(rhodes));
    EXPECT_TRUE(isGreetExcludedForClosestGreeting(rhodes));
    EXPECT_FALSE(isGreetExcludedForTargetedGreeting(farmer));
}

}  // namespace
