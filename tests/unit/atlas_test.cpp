// The plug-in's tables against the emulated game's own atlas, entry by entry: a wrong number on
// either side names the entry it is in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <span>
#include <string>

#include "emulator/atlas.h"
#include "emulator/jenkins.h"
#include "game/badge_catalogue.h"
#include "game/law_offices.h"
#include "host/native_hashes.h"
#include "lawman/greetings.h"
#include "lawman/lawman_models.h"
#include "lawman/office_doors.h"
#include "lawman/office_places.h"
#include "lawman/relationships.h"
#include "plugin_world_fixture.h"

namespace {

std::string triple(float x, float y, float z) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "(%.9g, %.9g, %.9g)", static_cast<double>(x),
                  static_cast<double>(y), static_cast<double>(z));
    return buffer;
}

std::string hex(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", value);
    return buffer;
}

// Every entry that differs, one line each; empty when all agree.
class Differences {
  public:
    void point(const std::string& entry, const Vector3& plugin, Vec3 atlas) {
        if (plugin.x != atlas.x || plugin.y != atlas.y || plugin.z != atlas.z) {
            add(entry, triple(plugin.x, plugin.y, plugin.z), triple(atlas.x, atlas.y, atlas.z));
        }
    }
    void hash(const std::string& entry, Hash plugin, std::uint32_t atlas) {
        if (plugin != atlas) {
            add(entry, hex(plugin), hex(atlas));
        }
    }
    void name(const std::string& entry, const std::string& plugin, const std::string& atlas) {
        if (plugin != atlas) {
            add(entry, plugin, atlas);
        }
    }
    void count(const std::string& table, std::size_t plugin, std::size_t atlas) {
        if (plugin != atlas) {
            add(table + " count", std::to_string(plugin), std::to_string(atlas));
        }
    }
    const std::string& text() const { return text_; }

  private:
    void add(const std::string& entry, const std::string& plugin, const std::string& atlas) {
        text_ += entry + ": the plug-in has " + plugin + ", the atlas " + atlas + "\n";
    }
    std::string text_;
};

std::string officeName(std::size_t index) {
    return "office " + std::to_string(index + 1) + " (" + atlas::OFFICES[index].town + ")";
}

// The atlas office whose menu spot is nearest the point, across the map.
std::size_t officeNear(const Vector3& p) {
    const auto distance = [&](const atlas::Office& office) {
        const float dx = office.spot.x - p.x;
        const float dy = office.spot.y - p.y;
        return dx * dx + dy * dy;
    };
    const auto nearest = std::min_element(
        std::begin(atlas::OFFICES), std::end(atlas::OFFICES),
        [&](const atlas::Office& a, const atlas::Office& b) { return distance(a) < distance(b); });
    return static_cast<std::size_t>(nearest - std::begin(atlas::OFFICES));
}

bool isOfficeDoor(std::uint32_t hash) {
    return std::any_of(std::begin(atlas::OFFICE_DOORS), std::end(atlas::OFFICE_DOORS),
                       [&](const atlas::Door& door) { return door.hash == hash; });
}

TEST(Atlas, OfficeSpotsAndProbePointsAreTheAtlasOnes) {
    Differences differences;
    differences.count("lawOffices", LAW_OFFICE_COUNT, atlas::LAW_OFFICE_COUNT);
    for (std::size_t i = 0; i < std::min(LAW_OFFICE_COUNT, atlas::LAW_OFFICE_COUNT); ++i) {
        differences.point(officeName(i) + " spot", lawOffices[i], atlas::OFFICES[i].spot);
    }
    // The sweep lists its probe points in an order of its own: each is held against the
    // probe of the office it stands in, and every office has one.
    differences.count("officeProbePoints", std::size(officeProbePoints), atlas::LAW_OFFICE_COUNT);
    std::string probed(atlas::LAW_OFFICE_COUNT, '-');
    for (std::size_t i = 0; i < std::size(officeProbePoints); ++i) {
        const std::size_t office = officeNear(officeProbePoints[i]);
        probed[office] = '+';
        differences.point("probe point " + std::to_string(i + 1) + " at " + officeName(office),
                          officeProbePoints[i], atlas::OFFICES[office].probe);
    }
    EXPECT_EQ(probed, std::string(atlas::LAW_OFFICE_COUNT, '+')) << "offices without a probe point";
    EXPECT_EQ(differences.text(), "");
}

TEST(Atlas, OfficeDoorsAreTheAtlasDoorsWhereTheyStand) {
    Differences differences;
    differences.count("officeDoors", OFFICE_DOOR_COUNT, std::size(atlas::OFFICE_DOORS));
    for (std::size_t i = 0; i < std::min(OFFICE_DOOR_COUNT, std::size(atlas::OFFICE_DOORS)); ++i) {
        const std::string entry = "office door " + std::to_string(i + 1);
        differences.hash(entry + " hash", officeDoors[i].door, atlas::OFFICE_DOORS[i].hash);
        differences.point(entry + " spot", officeDoors[i].spot, atlas::OFFICE_DOORS[i].at);
    }
    differences.count("alwaysUnlockedDoors", std::size(alwaysUnlockedDoors),
                      std::size(atlas::OTHER_DOORS));
    for (std::size_t i = 0; i < std::size(alwaysUnlockedDoors); ++i) {
        differences.hash("always unlocked door " + std::to_string(i + 1), alwaysUnlockedDoors[i],
                         atlas::OTHER_DOORS[i]);
    }
    EXPECT_EQ(differences.text(), "");
}

// The sweep reads every office door once, in an order of its own; the set-up doors are office
// doors too.
TEST(Atlas, SweepAndSetUpNameOnlyOfficeDoors) {
    std::vector<std::uint32_t> swept(std::begin(officeSweepDoors), std::end(officeSweepDoors));
    std::vector<std::uint32_t> doors;
    for (const atlas::Door& door : atlas::OFFICE_DOORS) {
        doors.push_back(door.hash);
    }
    std::sort(swept.begin(), swept.end());
    std::sort(doors.begin(), doors.end());
    EXPECT_EQ(swept, doors);
    for (Hash door : setUpDoors) {
        EXPECT_TRUE(isOfficeDoor(door)) << "set-up door " << hex(door) << " is no office door";
    }
}

TEST(Atlas, DoorBoxesAreTheAtlasBoxesShutByTheSameDoors) {
    Differences differences;
    differences.count("doorBoxes", std::size(doorBoxes), std::size(atlas::DOOR_BOXES));
    for (std::size_t i = 0; i < std::min(std::size(doorBoxes), std::size(atlas::DOOR_BOXES)); ++i) {
        const DoorBox& box = doorBoxes[i];
        const atlas::DoorBox& atlasBox = atlas::DOOR_BOXES[i];
        const std::string entry = "door box " + std::to_string(i + 1);
        differences.point(entry + " centre", box.centre, atlasBox.centre);
        differences.point(entry + " half size", box.halfSize, atlasBox.halfSize);
        differences.hash(entry + " door", box.condition.either, atlasBox.door);
        differences.hash(entry + " first outer door", box.condition.both[0],
                         atlasBox.outerDoors[0]);
        differences.hash(entry + " second outer door", box.condition.both[1],
                         atlasBox.outerDoors[1]);
    }
    EXPECT_EQ(differences.text(), "");
}

TEST(Atlas, BadgeModelsAreTheAtlasPropsInCatalogueOrder) {
    Differences differences;
    differences.count("badgeCatalogue", static_cast<std::size_t>(BADGE_COUNT),
                      atlas::WEARABLE_BADGE_COUNT);
    for (std::size_t i = 0; i < std::min<std::size_t>(BADGE_COUNT, atlas::WEARABLE_BADGE_COUNT);
         ++i) {
        differences.name("badge " + std::to_string(i), badgeCatalogue[i].modelName,
                         atlas::WEARABLE_BADGES[i].model);
    }
    differences.count("the badge props nobody wears", 1, std::size(atlas::UNWORN_BADGES));
    differences.name("the marshal badge prop nobody wears", MARSHAL_DAVIES_BADGE,
                     atlas::UNWORN_BADGES[0].model);
    differences.hash("the marshal badge's written-out hash", MARSHAL_BADGE_MODEL_HASH,
                     jenkinsHash(atlas::WEARABLE_BADGES[0].model));
    differences.hash("the sheriff badge's written-out hash", SHERIFF_BADGE_MODEL_HASH,
                     jenkinsHash(atlas::WEARABLE_BADGES[1].model));
    EXPECT_EQ(differences.text(), "");
}

// A model list entry by its name, or by its hash where it has none.
std::string modelOf(const char* name, std::uint32_t hash) {
    return name != nullptr ? std::string(name) : hex(hash);
}

void compareModels(Differences& differences, const std::string& table,
                   std::span<const ModelEntry> plugin, std::span<const atlas::Model> atlas) {
    differences.count(table, plugin.size(), atlas.size());
    for (std::size_t i = 0; i < std::min(plugin.size(), atlas.size()); ++i) {
        differences.name(table + " " + std::to_string(i + 1),
                         modelOf(plugin[i].name, plugin[i].rawHash),
                         modelOf(atlas[i].name, atlas[i].hash));
    }
}

TEST(Atlas, LawmanModelListsAreTheAtlasListsInOrder) {
    Differences differences;
    compareModels(differences, "lawman models", lawmanModels, atlas::LAWMAN_MODELS);
    compareModels(differences, "patrol lawman models", patrolLawmanModels,
                  atlas::PATROL_LAWMAN_MODELS);
    compareModels(differences, "switch-off lawman models", switchOffLawmanModels,
                  atlas::SWITCH_OFF_LAWMAN_MODELS);
    EXPECT_EQ(differences.text(), "");
}

TEST(Atlas, TheGreetingIsTheAtlasOnlySpeechLine) {
    ASSERT_EQ(std::size(atlas::SPEECH_LINES), 1u);
    EXPECT_STREQ(GREETING_LINE, atlas::SPEECH_LINES[0].name);
}

using AtlasDuty = PluginWorldTest;

// The plug-in's relationship rows are its own: read back from the calls its step makes.
TEST_F(AtlasDuty, RelationshipsSetOnDutyAreTheAtlasOnesInOrder) {
    forgetCalls();
    relationshipStep();
    const auto& records = emulator().trace.records();
    std::vector<const TraceRecord*> set;
    for (std::size_t i = firstRecord(); i < records.size(); ++i) {
        if (records[i].hash == natives::SET_RELATIONSHIP_BETWEEN_GROUPS) {
            set.push_back(&records[i]);
        }
    }
    Differences differences;
    differences.count("relationship rows", set.size(), std::size(atlas::DUTY_RELATIONSHIPS));
    for (std::size_t i = 0; i < std::min(set.size(), std::size(atlas::DUTY_RELATIONSHIPS)); ++i) {
        const atlas::Relationship& row = atlas::DUTY_RELATIONSHIPS[i];
        const std::string entry = "relationship row " + std::to_string(i + 1);
        differences.name(entry + " value",
                         std::to_string(static_cast<std::int32_t>(set[i]->args[0])),
                         std::to_string(row.value));
        differences.hash(entry + " group", static_cast<Hash>(set[i]->args[1]),
                         jenkinsHash(row.group));
        differences.hash(entry + " towards", static_cast<Hash>(set[i]->args[2]),
                         jenkinsHash(row.towards));
    }
    EXPECT_EQ(differences.text(), "");
    // Every group a row names is one the atlas describes.
    for (const atlas::Relationship& row : atlas::DUTY_RELATIONSHIPS) {
        for (const char* group : {row.group, row.towards}) {
            EXPECT_TRUE(
                std::any_of(std::begin(atlas::GROUPS), std::end(atlas::GROUPS),
                            [&](const atlas::Group& g) { return std::string(g.name) == group; }))
                << group;
        }
    }
}

}  // namespace
