#include "bench/pass_sampler.h"

#include <signal.h>
#include <time.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "emulator/emulator.h"

namespace {

constexpr long INTERVAL_NS = 50'000;
constexpr std::size_t SCRIPTS = 8;

std::atomic<std::uint64_t> pluginSamples[SCRIPTS];
std::atomic<std::uint64_t> hostSamples[SCRIPTS];
timer_t timer;

// Only reads the activity word and counts: nothing here may allocate or lock.
void onSample(int) {
    const Emulator* emu = emulator_instance::current;
    const std::uint32_t word = emu != nullptr ? emu->scheduler.activityNow() : 0;
    if (word == 0 || activity::scriptOf(word) >= SCRIPTS) {
        return;
    }
    auto& counts = (word & activity::KIND) == activity::PLUGIN ? pluginSamples : hostSamples;
    counts[activity::scriptOf(word)].fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

void startSampling() {
    for (std::size_t i = 0; i < SCRIPTS; ++i) {
        pluginSamples[i] = 0;
        hostSamples[i] = 0;
    }
    struct sigaction action {};
    action.sa_handler = onSample;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = SIGPROF;
    const itimerspec every{{0, INTERVAL_NS}, {0, INTERVAL_NS}};
    if (sigaction(SIGPROF, &action, nullptr) != 0 ||
        timer_create(CLOCK_MONOTONIC, &event, &timer) != 0 ||
        timer_settime(timer, 0, &every, nullptr) != 0) {
        std::perror("pass sampler");
        std::abort();
    }
}

void stopSampling() {
    timer_delete(timer);
    signal(SIGPROF, SIG_IGN);
}

PassSamples samplesOf(std::size_t script) {
    if (script >= SCRIPTS) {
        return {};
    }
    return {pluginSamples[script].load(), hostSamples[script].load()};
}
