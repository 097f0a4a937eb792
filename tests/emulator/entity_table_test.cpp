// The world's entity table and per-entity data, found by handle in one step: removals must
// leave no stale entry behind, and handles beyond the index's reach (a plug-in may pass any
// number) still work the slow way.
#include <gtest/gtest.h>

#include <vector>

#include "emulator/world.h"

namespace {

EntityState entity(std::int32_t handle, EntityType type) {
    EntityState e;
    e.handle = handle;
    e.type = type;
    return e;
}

std::vector<std::int32_t> handles(const std::vector<const EntityState*>& list) {
    std::vector<std::int32_t> found;
    for (const EntityState* e : list) {
        found.push_back(e->handle);
    }
    return found;
}

}  // namespace

TEST(EntityTable, RemovedEntitiesAreGoneFromIndexAndLists) {
    EntityTable table;
    table.add(entity(0x100, EntityType::Ped));
    table.add(entity(0x101, EntityType::Object));
    table.add(entity(0x102, EntityType::Ped));
    table.add(entity(0x103, EntityType::Object));
    EXPECT_TRUE(table.erase(0x102));
    EXPECT_TRUE(table.erase(0x101));
    EXPECT_FALSE(table.erase(0x101));

    EXPECT_EQ(table.find(0x102), nullptr);
    EXPECT_EQ(table.find(0x101), nullptr);
    ASSERT_NE(table.find(0x103), nullptr);
    EXPECT_EQ(table.find(0x103)->handle, 0x103);
    EXPECT_EQ(handles(table.peds()), (std::vector<std::int32_t>{0x100}));
    EXPECT_EQ(handles(table.objects()), (std::vector<std::int32_t>{0x103}));
    EXPECT_EQ(table.size(), 2u);
}

TEST(EntityTable, ListsStayInHandleOrderWhateverTheOrderAdded) {
    EntityTable table;
    for (std::int32_t handle : {0x105, 0x101, 0x103, 0x104, 0x102}) {
        table.add(entity(handle, EntityType::Ped));
    }
    EXPECT_EQ(handles(table.peds()),
              (std::vector<std::int32_t>{0x101, 0x102, 0x103, 0x104, 0x105}));
    std::vector<std::int32_t> walked;
    for (const auto& [handle, e] : table) {
        walked.push_back(handle);
    }
    EXPECT_EQ(walked, handles(table.peds()));
}

TEST(EntityTable, HandlesBeyondTheIndexAreFoundToo) {
    EntityTable table;
    const std::int32_t far = (1 << 24) + 5;
    table.add(entity(far, EntityType::Ped));
    table.add(entity(-7, EntityType::Object));
    ASSERT_NE(table.find(far), nullptr);
    EXPECT_EQ(table.find(far)->handle, far);
    ASSERT_NE(table.find(-7), nullptr);
    EXPECT_EQ(table.find(-8), nullptr);
    EXPECT_EQ(table.find(0x7FFFFFFF), nullptr);
    EXPECT_TRUE(table.erase(far));
    EXPECT_EQ(table.find(far), nullptr);
}

TEST(PerEntity, DataIsMadeFoundAndForgottenByHandle) {
    PerEntity<int> data;
    data[0x100] = 1;
    data[(1 << 24) + 1] = 2;
    data[-1] = 3;
    ASSERT_NE(data.find(0x100), nullptr);
    EXPECT_EQ(*data.find(0x100), 1);
    EXPECT_EQ(*data.find((1 << 24) + 1), 2);
    EXPECT_EQ(*data.find(-1), 3);
    EXPECT_EQ(data.find(0x101), nullptr);
    data.erase(0x100);
    EXPECT_EQ(data.find(0x100), nullptr);
    data[0x100] = 4;  // made again after it was forgotten
    EXPECT_EQ(*data.find(0x100), 4);
}
