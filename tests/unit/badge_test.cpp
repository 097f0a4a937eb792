#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "badge/attachment_values.h"
#include "badge/badge_attachment.h"
#include "badge/badge_menu.h"
#include "badge/stored_badge.h"
#include "game/badge_catalogue.h"
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

    using Radii = std::vector<float>;

    // The radius of every object search since the last forgetCalls, in call order.
    Radii searchRadii() const {
        const auto& records = emulator().trace.records();
        Radii radii;
        for (std::size_t i = firstRecord(); i < records.size(); ++i) {
            if (records[i].hash == natives::DOES_OBJECT_OF_TYPE_EXIST_AT_COORDS ||
                records[i].hash == natives::GET_CLOSEST_OBJECT_OF_TYPE) {
                radii.push_back(floatArg(records[i], 3));
            }
        }
        return radii;
    }

    // The searches since the last forgetCalls had these radii, in this order.
    void expectSearches(const Radii& expected) const {
        const Radii radii = searchRadii();
        ASSERT_EQ(radii.size(), expected.size());
        for (std::size_t i = 0; i < radii.size(); ++i) {
            EXPECT_FLOAT_EQ(radii[i], expected[i]) << "search " << i;
        }
    }

    static float floatArg(const TraceRecord& record, std::size_t index) {
        const auto bits = static_cast<std::uint32_t>(record.args.at(index));
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        return value;
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

// A stored offset of -999 (as an absent one read once) is no place on the chest: the badge
// hangs at the attachment point, and the check never adds another object on a pass.
TEST_F(Badge, AttachmentCheckNeverDoublesABadgeFromAFarOffset) {
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

struct StoredCase {
    const char* key;
    const char* text;  // null: the key is missing
    float used;
};

// What a badge is put on with: missing keys and texts that are no finite number read as the
// reset values, offsets beyond 1 as 0; rotations are used as stored, however far.
TEST_F(Badge, StoredValuesAreSanitizedForTheAttachmentAndKeptInTheFile) {
    const StoredCase cases[] = {
        {"xxxxx", nullptr, 0.0f},       {"xxxxx", "nan", 0.0f},
        {"xxxxx", "abc", 0.0f},         {"xxxxx", "inf", 0.0f},
        {"xxxxx", "-999", 0.0f},        {"xxxxx", "1.5", 0.0f},
        {"xxxxx", "1.0", 1.0f},         {"xxxxx", "-0.25", -0.25f},
        {"yyyyy", "1.000001", 0.0f},    {"zzzzz", "-1", -1.0f},
        {"rot_xxxxx", nullptr, -14.0f}, {"rot_xxxxx", "NaN", -14.0f},
        {"rot_xxxxx", "-999", -999.0f}, {"rot_yyyyy", "720.5", 720.5f},
        {"rot_zzzzz", "-inf", 0.0f},    {"rot_zzzzz", "1e30", 1e30f},
    };
    for (const StoredCase& c : cases) {
        DictDataFile file("unused.dat");
        if (c.text != nullptr) {
            file.setString(c.key, c.text);
        }
        const Attachment at = sanitizedAttachment(&file);
        const float values[] = {at.offset.x,   at.offset.y,   at.offset.z,
                                at.rotation.x, at.rotation.y, at.rotation.z};
        for (std::size_t i = 0; i < ATTACHMENT_KEYS.size(); ++i) {
            const bool thisKey = std::string(ATTACHMENT_KEYS[i].dataKey) == c.key;
            const float expected =
                thisKey ? c.used : static_cast<float>(ATTACHMENT_KEYS[i].resetValue);
            EXPECT_EQ(values[i], expected) << c.key << "=" << (c.text ? c.text : "(missing)");
        }
        if (c.text != nullptr) {
            EXPECT_EQ(file.getString(c.key), c.text);
        }
    }
}

// The same sanitized values make the creation point of a re-created badge and its attachment.
TEST_F(Badge, ReCreationUsesTheSanitizedOffsetAsCreationPointAndAttachment) {
    file_ = std::make_unique<DictDataFile>("unused.dat");
    file_->setString("badge", "1");
    file_->setString("xxxxx", "nan");
    file_->setString("yyyyy", "0.05");
    file_->setString("zzzzz", "7");
    dataFile = file_.get();
    forgetCalls();
    recreateBadge();
    const auto& records = emulator().trace.records();
    const auto created = std::find_if(records.begin(), records.end(), [](const TraceRecord& r) {
        return r.hash == natives::CREATE_OBJECT;
    });
    ASSERT_NE(created, records.end());
    EXPECT_EQ(floatArg(*created, 1), 0.0f);
    EXPECT_EQ(floatArg(*created, 2), 0.05f);
    EXPECT_EQ(floatArg(*created, 3), 0.0f);
    const auto& at = *entity(badgesAtChest().at(0)).attachment;
    EXPECT_EQ(at.offset.x, 0.0f);
    EXPECT_EQ(at.offset.y, 0.05f);
    EXPECT_EQ(at.offset.z, 0.0f);
    EXPECT_EQ(at.rotation.x, -14.0f);
    EXPECT_EQ(file_->getString("xxxxx"), "nan");
}

// With offsets a player reaches with the keys and within the in-place radius, every search
// is the one of the badge's design: same natives, same radii, in the same order.
TEST_F(Badge, OrdinaryOffsetsSearchWithTheDesignedRadiiOnly) {
    storeAttachment(0.05f, -14.0f);  // 0.087 from the point
    dataFile->setInt("badge", 2);
    const Vector3 anchor = badgeAnchorNow();

    forgetCalls();
    EXPECT_FALSE(isBadgeWorn());
    expectSearches({0.6f, 0.6f, 0.6f, 0.6f, 0.6f, 0.6f});

    forgetCalls();
    wearBadge(2);
    expectSearches({0.6f});

    forgetCalls();
    ensureBadgeAttached();
    expectSearches({0.1f});

    forgetCalls();
    removeBadgeObjects(anchor, 0.6f, 0.3f, offsetLength(readStoredAttachment()));
    expectSearches({0.6f, 0.3f, 0.6f, 0.6f, 0.6f, 0.6f, 0.6f});

    wearBadge(2);
    forgetCalls();
    cycleBadge();
    expectSearches({0.6f, 0.6f, 0.6f, 0.6f, 0.6f, 0.6f, 0.6f, 0.6f, 0.6f});
    EXPECT_EQ(modelAtChest(), "s_badgepolice01x");

    forgetCalls();
    removeBadge();
    expectSearches({0.3f, 0.3f, 0.3f, 0.3f, 0.3f, 0.3f, 0.3f});
    EXPECT_TRUE(badgesAtChest().empty());
}

// A badge hanging beyond a search's radius: that search runs as designed, finds nothing, and
// one more search reaches 0.1 past the offset, so the badge is found and never doubled.
TEST_F(Badge, FarOffsetsSearchOnceMoreJustPastTheBadge) {
    file_ = std::make_unique<DictDataFile>("unused.dat");
    file_->setString("badge", "0");
    file_->setString("zzzzz", "0.7");
    dataFile = file_.get();

    forgetCalls();
    wearBadge(0);
    expectSearches({0.6f, 0.8f});
    forgetCalls();
    wearBadge(0);
    expectSearches({0.6f, 0.8f});
    forgetCalls();
    ensureBadgeAttached();
    expectSearches({0.1f, 0.8f});
    refreshAnchorPosition();
    EXPECT_TRUE(isBadgeWorn());
    EXPECT_EQ(badgesAtChest().size(), 1u);

    // The menu's removal: the marshal badge is found on the second search; each other model
    // searches twice and finds nothing.
    forgetCalls();
    removeBadge();
    const Radii twice = {0.3f, 0.8f};
    Radii expected;
    for (int model = 0; model < 7; ++model) {
        expected.insert(expected.end(), twice.begin(), twice.end());
    }
    expectSearches(expected);
    EXPECT_TRUE(badgesAtChest().empty());
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
