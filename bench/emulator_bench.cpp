#include <benchmark/benchmark.h>
#include <signal.h>

#include <cstring>

#include "bench/protocol_floor.h"
#include "emulator/emulator.h"
#include "emulator/script_fiber.h"
#include "host/native_invoker.h"

namespace {

const HINSTANCE BENCH_MODULE = reinterpret_cast<HINSTANCE>(0xBE00);
constexpr std::uint32_t TEN_MINUTES_MS = 10 * 60 * 1000;

void idleScript() {
    for (;;) {
        scriptWait(0);
    }
}

void freshEmulatorWithTwoIdleScripts() {
    resetEmulator();
    scriptRegister(BENCH_MODULE, idleScript);
    scriptRegister(BENCH_MODULE, idleScript);
}

// nativeInit, three nativePush64, nativeCall and reading a Vector3 result, through the host
// functions the plug-in imports; optionally with every call written to a trace file.
void nativeCallWholePath(benchmark::State& state) {
    resetEmulator();
    if (state.range(0) != 0 && !emulator().trace.openFile("/dev/null")) {
        state.SkipWithError("cannot open /dev/null");
        return;
    }
    const std::uint64_t ped = static_cast<std::uint32_t>(emulator().world.player.ped);
    for (auto _ : state) {
        nativeInit(natives::GET_ENTITY_COORDS);
        nativePush64(ped);
        nativePush64(1);
        nativePush64(0);
        Vector3 at;
        std::memcpy(&at, nativeCall(), sizeof at);
        benchmark::DoNotOptimize(at);
    }
    if (emulator().failed()) {
        state.SkipWithError(emulator().failure().c_str());
    }
}
BENCHMARK(nativeCallWholePath)->ArgName("traceFile")->Arg(0)->Arg(1);

// IS_PED_MODEL, the call the plug-in makes most (two pushes, an integer result), through
// pointers to the host functions as through the plug-in's imports.
void isPedModel(benchmark::State& state, FloorHost host) {
    benchmark::DoNotOptimize(host);
    const std::uint64_t ped = static_cast<std::uint32_t>(emulator().world.player.ped);
    const std::uint64_t model = emulator().world.playerPed().model;
    for (auto _ : state) {
        host.init(natives::IS_PED_MODEL);
        host.push(ped);
        host.push(model);
        benchmark::DoNotOptimize(*host.call());
    }
}

// GET_HASH_KEY, the plug-in's next most frequent call, over model names of the lengths the
// lawman switch sweep asks about, one after the other as the sweep does.
constexpr const char* SWEPT_MODEL_NAMES[] = {
    "CS_VALSHERIFF",
    "CS_SheriffOwens",
    "U_M_M_RhdSheriff_01",
    "CS_rhodeputy_01",
    "A_M_M_VALDEPUTYRESIDENT_01",
    "S_M_M_VALDEPUTY_01",
    "U_M_M_RhdBackupDeputy_01",
    "S_M_M_DispatchLeaderPolice_01",
};

void hashKeys(benchmark::State& state, FloorHost host) {
    benchmark::DoNotOptimize(host);
    std::size_t next = 0;
    for (auto _ : state) {
        host.init(natives::GET_HASH_KEY);
        host.push(reinterpret_cast<std::uintptr_t>(SWEPT_MODEL_NAMES[next]));
        benchmark::DoNotOptimize(*host.call());
        next = (next + 1) % std::size(SWEPT_MODEL_NAMES);
    }
}

// The same calls on the protocol's floor (protocol_floor.h) and on the emulated host.
using Calls = void (*)(benchmark::State&, FloorHost);

void onHost(benchmark::State& state, Calls calls, bool floor) {
    resetEmulator();
    calls(state,
          floor ? floorHost(emulator().natives) : FloorHost{nativeInit, nativePush64, nativeCall});
    if (emulator().failed()) {
        state.SkipWithError(emulator().failure().c_str());
    }
}

struct HostBenchmark {
    const char* name;
    Calls calls;
    bool floor;
};
constexpr HostBenchmark HOST_BENCHMARKS[] = {
    {"protocolFloor", isPedModel, true},
    {"emulatedHost", isPedModel, false},
    {"protocolFloorHashKey", hashKeys, true},
    {"emulatedHostHashKey", hashKeys, false},
};
const bool hostBenchmarksRegistered = [] {
    for (const HostBenchmark& bench : HOST_BENCHMARKS) {
        benchmark::RegisterBenchmark(bench.name, onHost, bench.calls, bench.floor);
    }
    return true;
}();

void frameOfTwoIdleScripts(benchmark::State& state) {
    freshEmulatorWithTwoIdleScripts();
    for (auto _ : state) {
        emulator().runFrame();
    }
}
BENCHMARK(frameOfTwoIdleScripts);

// The goal: 37,500 frames of 16 ms in well under a second.
void tenMinutesOfTwoIdleScripts(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        freshEmulatorWithTwoIdleScripts();
        state.ResumeTiming();
        emulator().run(TEN_MINUTES_MS);
    }
    state.counters["frames"] = static_cast<double>(emulator().clock.frame);
}
BENCHMARK(tenMinutesOfTwoIdleScripts)->Unit(benchmark::kMillisecond)->Iterations(10);

// One resume and one yield: two context switches.
void fiberResumeAndYield(benchmark::State& state) {
    ScriptFiber fiber([] {
        for (;;) {
            ScriptFiber::yield();
        }
    });
    for (auto _ : state) {
        fiber.resume();
    }
}
BENCHMARK(fiberResumeAndYield);

// What each ucontext switch pays on top of saving registers: one signal-mask system call.
void signalMaskSystemCall(benchmark::State& state) {
    sigset_t empty;
    sigset_t old;
    sigemptyset(&empty);
    for (auto _ : state) {
        pthread_sigmask(SIG_BLOCK, &empty, &old);
        benchmark::DoNotOptimize(old);
    }
}
BENCHMARK(signalMaskSystemCall);

}  // namespace

BENCHMARK_MAIN();
