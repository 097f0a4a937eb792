#include "bench/pass_sampler.h"

#include <link.h>
#include <signal.h>
#include <time.h>
#include <ucontext.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "emulator/emulator.h"

namespace {

constexpr long INTERVAL_NS = 50'000;
constexpr std::size_t SCRIPTS = 8;

std::atomic<std::uint64_t> pluginSamples[SCRIPTS];
std::atomic<std::uint64_t> hostSamples[SCRIPTS];
CodeRange pluginCode;
timer_t timer;

std::uintptr_t interruptedAt(const void* context) {
    const auto* machine = static_cast<const ucontext_t*>(context);
    return static_cast<std::uintptr_t>(machine->uc_mcontext.gregs[REG_RIP]);
}

// Only reads and counts: nothing here may allocate or lock.
void onSample(int, siginfo_t*, void* context) {
    const Emulator* emu = emulator_instance::current;
    const std::uint32_t word = emu != nullptr ? emu->scheduler.activityNow() : 0;
    if (word == 0 || activity::scriptOf(word) >= SCRIPTS) {
        return;
    }
    const std::uintptr_t at = interruptedAt(context);
    const bool inPlugin = at >= pluginCode.begin && at < pluginCode.end;
    auto& counts = inPlugin ? pluginSamples : hostSamples;
    counts[activity::scriptOf(word)].fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

CodeRange codeRangeOf(const void* address) {
    struct Search {
        std::uintptr_t address;
        CodeRange range;
    } search{reinterpret_cast<std::uintptr_t>(address), {}};
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            auto& wanted = *static_cast<Search*>(data);
            for (int i = 0; i < info->dlpi_phnum; ++i) {
                const ElfW(Phdr)& segment = info->dlpi_phdr[i];
                const std::uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
                const std::uintptr_t end = begin + segment.p_memsz;
                if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) != 0 &&
                    wanted.address >= begin && wanted.address < end) {
                    wanted.range = {begin, end};
                    return 1;
                }
            }
            return 0;
        },
        &search);
    return search.range;
}

void startSampling(CodeRange plugin) {
    pluginCode = plugin;
    for (std::size_t i = 0; i < SCRIPTS; ++i) {
        pluginSamples[i] = 0;
        hostSamples[i] = 0;
    }
    struct sigaction action {};
    action.sa_sigaction = onSample;
    action.sa_flags = SA_RESTART | SA_SIGINFO;
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
