// A thousand save loads, and a thousand restarts of the scripts with the world as it is (a
// hundred each under the sanitizers), land in every wait the plug-in's scripts make: the process's
// memory must stay bounded. What the heap and the address space grow by per reload is printed; the
// bounds below hold them.
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "../process_folder.h"
#include "../sanitized_share.h"
#include "emulator/control_api.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TSW_HEAP_FROM_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TSW_HEAP_FROM_SANITIZER 1
#endif
#ifdef TSW_HEAP_FROM_SANITIZER
#include <sanitizer/allocator_interface.h>
#endif

namespace {

constexpr int SETTLING = 100;  // reloads before the first reading: every wait met once
constexpr int MEASURED = cyclesToPlay(1000);

std::int64_t heapBytes() {
#ifdef TSW_HEAP_FROM_SANITIZER
    return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<std::int64_t>(mallinfo2().uordblks);
#endif
}

// The process's mapped address space: a fiber stack never unmapped would show here.
std::int64_t mappedBytes() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t pages = 0;
    statm >> pages;
    return pages * sysconf(_SC_PAGESIZE);
}

void control(const std::string& command) {
    char reply[512];
    ASSERT_EQ(tswEmuControl(command.c_str(), reply, sizeof reply), TSW_OK)
        << command << ": " << reply;
}

struct Growth {
    double heapPerReload = 0;
    double mappedPerReload = 0;
};

class ReloadMemory : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto folder = processFolder("reload_memory");
        std::filesystem::create_directories(folder / "TinStarWarden");
        std::ofstream(folder / "TinStarWarden/TinStarWarden.dat")
            << "badge=0\nrot_xxxxx=-14\nrot_yyyyy=0\nrot_zzzzz=0\nxxxxx=0\nyyyyy=0\nzzzzz=0\n";
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder);
    }
    void TearDown() override {
        tswEmuReset();
        std::filesystem::current_path(previous_);
    }

    // The marshal's badge on, at an office; an engaged sheriff of a switch-off model (the
    // sweep's 1000 ms waits over its list of peds), a targeted townsman (the greeting's waits),
    // and the mission flag up every other time (the off-duty pass and its 3000 ms pause).
    Growth reloads(const std::string& reload, int measured = MEASURED) {
        tswEmuReset();
        control(std::string("load ") + TSW_PLUGIN);
        control("player at office 2");
        control("ped spawn rho U_M_M_RhdSheriff_01 -276 808 119 engaged");
        control("ped spawn ned A_M_M_VALTOWNFOLK_01 -274 806 119");
        control("player target ned");
        control("run 2000");
        std::int64_t heap = 0;
        std::int64_t mapped = 0;
        for (int i = 0; i < SETTLING + measured; ++i) {
            if (i == SETTLING) {
                heap = heapBytes();
                mapped = mappedBytes();
            }
            control(i % 2 == 0 ? "gate mission on" : "gate mission off");
            control("run " + std::to_string(16 + i * 53 % 3500));
            for (std::size_t at = 0, end = 0; at < reload.size(); at = end + 1) {
                end = std::min(reload.find(';', at), reload.size());
                control(reload.substr(at, end - at));
            }
        }
        Growth growth;
        growth.heapPerReload = static_cast<double>(heapBytes() - heap) / measured;
        growth.mappedPerReload = static_cast<double>(mappedBytes() - mapped) / measured;
        std::printf("%s: %.1f bytes of heap and %.1f of address space per reload\n", reload.c_str(),
                    growth.heapPerReload, growth.mappedPerReload);
        control("run 600");
        control("expect objects s_badgeusmarshal01x 1");
        return growth;
    }

  private:
    std::filesystem::path previous_;
};

// Nothing a script holds across a wait lives on its stack alone; the fibers' stacks go back.
TEST_F(ReloadMemory, RestartsOfTheScriptsKeepNothing) {
    const Growth growth = reloads("host restarts scripts");
    EXPECT_LT(growth.heapPerReload, 8.0);
    EXPECT_LT(growth.mappedPerReload, 64.0);
}

// A new world hands out new handles, four a load here (three entities and the new badge): the
// emulated game's arrays by handle grow a pointer per handle, in each of seven tables, about
// 370 bytes a load with their spare room (0 with them off). The plug-in keeps nothing.
TEST_F(ReloadMemory, SaveLoadsKeepNoMoreThanTheWorldsNewHandles) {
    const Growth growth = reloads("game loads save");
    EXPECT_LT(growth.heapPerReload, 512.0);
    EXPECT_LT(growth.mappedPerReload, 1024.0);
}

// A modder's hot reload: the plug-in unloaded and loaded again, at any point of its scripts.
// The game removes what the old instance left in the world (its badge, blips and prompts), and
// a mark lets go of the host calls the emulator noted, so that only the plug-in's own memory
// is measured: the unload frees it all. What is left is the emulated game's index by handle,
// which grows by the new badge's handle (about 12 bytes a load; the data file object kept at
// every unload was about 1 KB).
TEST_F(ReloadMemory, UnloadsAndLoadsKeepNothing) {
#ifdef TSW_HEAP_FROM_SANITIZER
    GTEST_SKIP() << "the sanitizer keeps its own record of every module loaded";
#endif
    const Growth growth = reloads(
        "unload;game removes badge;game removes blip 1;game removes blip 2;game removes blip 3;"
        "game removes blip 4;game removes blip 5;game removes blip 6;game removes blip 7;"
        "game removes blip 8;game removes prompt Select Badge;game removes prompt REMOVE BADGE;"
        "mark;load " TSW_PLUGIN);
    EXPECT_LT(growth.heapPerReload, 16.0);
    EXPECT_LT(growth.mappedPerReload, 64.0);
}

}  // namespace
