#pragma once
// Plug-in code called straight from a test against a fresh emulated world: the player stands
// at a known spot, the shared player values are filled as the badge script fills them, and
// every native call is kept for the test to count.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "emulator/control_api.h"
#include "emulator/emulator.h"
#include "game/player_state.h"
#include "persist/data_file.h"

class PluginWorldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetEmulator();
        emulator().trace.keepRecords(true);
        dataFile = nullptr;
        world().playerPed().position = {100.0f, 100.0f, 10.0f};
        refreshAnchorPosition();
        refreshPlayerValues();
    }

    void TearDown() override {
        resetEmulator();
        dataFile = nullptr;
    }

    static World& world() { return emulator().world; }

    static std::int32_t spawnPed(const std::string& model, Vec3 at) {
        return world().addEntity(EntityType::Ped, world().hashName(model), at);
    }

    static EntityState& entity(std::int32_t handle) { return world().entities.at(handle); }

    // Calls of the native since the last forgetCalls.
    long calls(NativeHash hash) const {
        const auto& records = emulator().trace.records();
        return std::count_if(records.begin() + static_cast<long>(firstRecord_), records.end(),
                             [&](const TraceRecord& r) { return r.hash == hash; });
    }

    void forgetCalls() { firstRecord_ = emulator().trace.records().size(); }
    std::size_t firstRecord() const { return firstRecord_; }

    // A scenario command or expectation against the world; the reply when it does not hold.
    static ::testing::AssertionResult command(const std::string& text) {
        char reply[512];
        if (tswEmuControl(text.c_str(), reply, sizeof reply) == TSW_OK) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << text << ": " << reply;
    }

    // The objects that hang at the player's chest point.
    static std::vector<std::int32_t> badgesAtChest() {
        return world().attachedAt(world().player.ped, CHEST_BONE_INDEX);
    }

  private:
    std::size_t firstRecord_ = 0;
};
