// What one pass of each of the plug-in's scripts costs with 0 to 1000 peds around the player,
// badge worn (lawman pass) or not (off-duty reset): native calls, heap allocations made while
// the pass runs, and time. The pass's CPU time (from resume to wait, two clock reads a pass)
// is split into the plug-in's own code and the host's (its call path, the natives' handlers,
// the switch back) by sampling (pass_sampler.h), which costs nothing per call; the host's part
// over the calls is the emulated host's cost per native call. The plug-in is the shared object
// tsw-sim plays, loaded the same way, so its calls go through the same imports.
//
// --native_timing also times every native's handler (us_natives/pass), at two clock reads a
// call: the other figures then grow by that much.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "bench/pass_sampler.h"
#include "bench/protocol_floor.h"
#include "emulator/emulator.h"
#include "game/player_state.h"
#include "host/native_hashes.h"
#include "host/platform_types.h"
#include "lawman/office_sweep.h"

namespace {

constexpr Vec3 PLAYER_AT{-276.0f, 805.0f, 119.0f};

std::atomic<std::uint64_t> passAllocations{0};

// The machine is shared: a pass is timed by the CPU time it took, not the wall time.
std::chrono::nanoseconds threadCpuTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}
bool nativeTiming = false;

// The plug-in's and the host's alike: the host's call path makes none.
bool inScript() {
    const Emulator* emu = emulator_instance::current;
    return emu != nullptr && emu->scheduler.activityNow() != 0;
}

void writeDataFile(bool badgeWorn) {
    std::filesystem::create_directories("TinStarWarden");
    std::ofstream file("TinStarWarden/TinStarWarden.dat", std::ios::trunc);
    file << "badge=" << (badgeWorn ? 0 : 7) << "\n"
         << "rot_xxxxx=-14\nrot_yyyyy=0\nrot_zzzzz=0\nxxxxx=0\nyyyyy=0\nzzzzz=0\n";
}

// On a ring within 60 of the centre, all inside the lawman pass's and off-duty reset's 100.
Vec3 onRing(Vec3 centre, std::int64_t i) {
    const float angle = static_cast<float>(i) * 0.37f;
    const float distance = 5.0f + static_cast<float>(i % 55);
    centre.x += distance * (angle < 3.14f ? 1.0f : -1.0f) * 0.7f;
    centre.y += distance * 0.7f;
    return centre;
}

void addTownsfolk(std::int64_t peds) {
    World& world = emulator().world;
    for (std::int64_t i = 0; i < peds; ++i) {
        world.addEntity(EntityType::Ped, world.hashName("A_M_M_VALTOWNFOLK_01"),
                        onRing(PLAYER_AT, i));
    }
}

// Outside Valentine's office; half of the peds are patrol lawmen, a tenth stand in the office.
constexpr Vec3 OUTSIDE_OFFICE{-276.0f, 770.0f, 119.0f};
constexpr Vec3 IN_OFFICE{-274.0f, 808.5f, 119.4f};

void addLawmanCrowd(std::int64_t peds) {
    World& world = emulator().world;
    for (std::int64_t i = 0; i < peds; ++i) {
        const bool lawman = i % 2 == 1;
        const Vec3 at = i % 10 == 0 ? IN_OFFICE + Vec3{0.01f * static_cast<float>(i % 7), 0, 0}
                                    : onRing(OUTSIDE_OFFICE, i);
        const char* model = lawman ? "A_M_M_VALDEPUTYRESIDENT_01" : "A_M_M_VALTOWNFOLK_01";
        world.addEntity(EntityType::Ped, world.hashName(model), at);
    }
}

void startGame(std::int64_t peds, bool badgeWorn, bool lawmanCrowd = false) {
    writeDataFile(badgeWorn);
    resetEmulator();
    World& world = emulator().world;
    world.playerPed().position = lawmanCrowd ? OUTSIDE_OFFICE : PLAYER_AT;
    if (lawmanCrowd) {
        addLawmanCrowd(peds);
    } else {
        addTownsfolk(peds);
    }
    emulator().scheduler.setScriptNames({"BadgeScript", "BadgeMenuScript"});
    if (!emulator().loadPlugin(TSW_PLUGIN)) {
        std::fprintf(stderr, "%s\n", emulator().failure().c_str());
        std::exit(1);
    }
    emulator().run(5000);
}

CodeRange pluginCode() {
    void* module = reinterpret_cast<void*>(emulator().plugin.handle());
    return codeRangeOf(dlsym(module, "DllMain"));
}

struct Totals {
    std::uint64_t passes = 0;
    std::uint64_t calls = 0;
    double runNs = 0;
    double nativeNs = 0;
};

Totals totalsOf(const ScriptSlot& slot) {
    return {slot.zeroWaits, slot.nativeCalls, static_cast<double>(slot.runTime.count()),
            static_cast<double>(slot.nativeTime.count())};
}

// Per pass: calls, time, the plug-in's own share of it and the host's; the host's time per call.
void reportScript(benchmark::State& state, const std::string& prefix, const Totals& before,
                  const Totals& after, const PassSamples& samples) {
    const double passes = static_cast<double>(after.passes - before.passes);
    const double sampled = static_cast<double>(samples.plugin + samples.host);
    if (passes == 0 || sampled == 0) {
        return;
    }
    const double calls = static_cast<double>(after.calls - before.calls) / passes;
    const double passUs = (after.runNs - before.runNs) / passes / 1000.0;
    const double pluginShare = static_cast<double>(samples.plugin) / sampled;
    state.counters[prefix + "calls/pass"] = calls;
    state.counters[prefix + "us/pass"] = passUs;
    state.counters[prefix + "us_plugin/pass"] = passUs * pluginShare;
    if (calls > 0) {
        state.counters[prefix + "ns_host/call"] = passUs * (1.0 - pluginShare) * 1000.0 / calls;
    }
    state.counters[prefix + "samples"] = sampled;
    if (nativeTiming) {
        state.counters[prefix + "us_natives/pass"] =
            (after.nativeNs - before.nativeNs) / passes / 1000.0;
    }
}

constexpr std::uint32_t SAMPLED_MS = 60'000;

// The protocol's floor (protocol_floor.h) for the call the plug-in makes most, IS_PED_MODEL,
// timed the same way as the passes and between them, so that a busy machine weighs on both
// alike: the host's cost a call reads against it.
class FloorTimer {
  public:
    FloorTimer()
        : host_(floorHost(emulator().natives)),
          ped_(static_cast<std::uint32_t>(emulator().world.player.ped)),
          model_(emulator().world.playerPed().model) {
        benchmark::DoNotOptimize(host_);
    }
    void run() {
        constexpr int CALLS = 1'000'000;
        const std::chrono::nanoseconds start = threadCpuTime();
        for (int i = 0; i < CALLS; ++i) {
            host_.init(natives::IS_PED_MODEL);
            host_.push(ped_);
            host_.push(model_);
            benchmark::DoNotOptimize(*host_.call());
        }
        time_ += threadCpuTime() - start;
        calls_ += CALLS;
    }
    double nsPerCall() const { return static_cast<double>(time_.count()) / calls_; }

  private:
    FloorHost host_;
    std::uint64_t ped_;
    std::uint64_t model_;
    std::chrono::nanoseconds time_{0};
    double calls_ = 0;
};

// One iteration is 30 s of game time: ten off-duty passes, or about 1900 lawman passes.
void measurePasses(benchmark::State& state) {
    emulator().scheduler.setTiming(threadCpuTime);
    emulator().setNativeTiming(nativeTiming);
    const auto& scripts = emulator().scheduler.scripts();
    const Totals badgeBefore = totalsOf(*scripts[0]);
    const Totals menuBefore = totalsOf(*scripts[1]);
    const std::uint64_t allocationsBefore = passAllocations;
    FloorTimer floor;
    for (auto _ : state) {
        emulator().run(30'000);
        state.PauseTiming();
        floor.run();
        state.ResumeTiming();
    }
    const Totals badgeAfter = totalsOf(*scripts[0]);
    const Totals menuAfter = totalsOf(*scripts[1]);
    const std::uint64_t passes = badgeAfter.passes - badgeBefore.passes;
    const std::uint64_t allocations = passAllocations - allocationsBefore;
    // The split comes from a further minute of game time: delivering the samples' signals
    // takes microseconds here, which would swell the times measured above.
    startSampling(pluginCode());
    emulator().run(SAMPLED_MS);
    stopSampling();
    reportScript(state, "badge_", badgeBefore, badgeAfter, samplesOf(0));
    reportScript(state, "menu_", menuBefore, menuAfter, samplesOf(1));
    state.counters["floor_ns/call"] = floor.nsPerCall();
    if (state.counters.count("badge_ns_host/call") != 0) {
        state.counters["badge_host/floor"] =
            state.counters["badge_ns_host/call"] / floor.nsPerCall();
    }
    state.counters["allocs/badge_pass"] = passes ? static_cast<double>(allocations) / passes : 0.0;
    resetEmulator();
}

// Calls made outside any script (the sweep run straight from the benchmark) and in scripts.
std::size_t countAllCalls() {
    std::size_t calls = 0;
    for (const NativeEntry& entry : emulator().natives.entries()) {
        calls += emulator().natives.callsSinceMark(entry.hash);
    }
    return calls;
}

void scriptPasses(benchmark::State& state) {
    startGame(state.range(0), state.range(1) != 0);
    measurePasses(state);
}

// The badge worn among a crowd near a law office: the lawman pass with its once-a-second block.
void lawmanPasses(benchmark::State& state) {
    startGame(state.range(0), true, true);
    measurePasses(state);
}

// The menu script's pass with the badge worn, at Valentine's door 0x1FE862E6 (the door prompt
// kept up every block) or away from every door.
void menuPasses(benchmark::State& state) {
    startGame(0, true);
    const Vec3 door{-274.84f, 808.769f, 119.373f};
    emulator().world.playerPed().position = state.range(0) != 0 ? door : OUTSIDE_OFFICE;
    emulator().run(1000);
    measurePasses(state);
}

// The office sweep on its own (it runs once a second): calls and wall time of one sweep.
void officeSweepOnce(benchmark::State& state) {
    startGame(state.range(0), true, true);
    refreshPlayerValues();
    emulator().trace.keepRecords(false);
    std::uint64_t calls = 0;
    for (auto _ : state) {
        const std::size_t before = countAllCalls();
        officeSweep();
        calls += countAllCalls() - before;
    }
    state.counters["calls/sweep"] =
        benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
    resetEmulator();
}

class GameFolder {
  public:
    GameFolder() {
        root_ = std::filesystem::temp_directory_path() / ("tsw-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(root_);
        std::filesystem::current_path(root_);
    }
    ~GameFolder() {
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }

  private:
    std::filesystem::path root_;
};

}  // namespace

void* operator new(std::size_t size) {
    // The check itself may allocate (the emulator is made on first use): not counted twice.
    static thread_local bool checking = false;
    if (!checking) {
        checking = true;
        if (inScript()) {
            ++passAllocations;
        }
        checking = false;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

BENCHMARK(scriptPasses)
    ->ArgNames({"peds", "badge"})
    ->ArgsProduct({{0, 50, 500, 1000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(lawmanPasses)
    ->ArgName("peds")
    ->Arg(0)
    ->Arg(100)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(menuPasses)
    ->ArgName("at_door")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(officeSweepOnce)
    ->ArgName("peds")
    ->Arg(0)
    ->Arg(100)
    ->Arg(500)
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    GameFolder folder;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--native_timing") {
            nativeTiming = true;
            std::copy(argv + i + 1, argv + argc, argv + i);
            --argc;
            break;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
