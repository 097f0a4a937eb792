#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "emulator/game_clock.h"
#include "emulator/script_fiber.h"
#include "host/host_api.h"

struct ScriptSlot {
    HINSTANCE module = nullptr;
    std::string name;
    ScriptEntry entry = nullptr;
    std::unique_ptr<ScriptFiber> fiber;
    std::uint32_t wakeAt = 0;      // tick count at which the script's wait is over
    std::uint64_t readyFrame = 0;  // first frame it may run in (a wait of 0 means the next)
    bool started = false;
    // For the benchmarks: calls made, waits of 0 (each ends a pass of the plug-in's scripts),
    // and, with timing on, time spent in the script (and, with native timing on too, in the
    // natives it called).
    std::uint64_t nativeCalls = 0;
    std::uint64_t zeroWaits = 0;
    std::chrono::nanoseconds runTime{0};
    std::chrono::nanoseconds nativeTime{0};
    bool faulted = false;  // stopped by an emulator failure, never resumed
};

// Which script runs at this moment, in one word that a timer signal may read (the benchmarks
// sample it, and tell the plug-in's code from the host's by where the signal stopped it): 0
// for none, N + 1 for script number N in registration order.
namespace activity {
constexpr std::uint32_t inScript(std::size_t index) {
    return static_cast<std::uint32_t>(index + 1);
}
constexpr std::size_t scriptOf(std::uint32_t word) {
    return word - 1;
}
}  // namespace activity

// Runs registered scripts cooperatively, one at a time, in registration order.
class Scheduler {
  public:
    using ScriptEvent = std::function<void(const ScriptSlot&, const char* what)>;

    explicit Scheduler(GameClock& clock) : clock_(clock) {}

    void setScriptNames(std::vector<std::string> names) { names_ = std::move(names); }
    void onScriptEvent(ScriptEvent event) { event_ = std::move(event); }
    // For the benchmarks: each script's run timed with this clock (its thread's CPU time, say,
    // on a busy machine); null for none.
    using TimingClock = std::chrono::nanoseconds (*)();
    void setTiming(TimingClock clock) { timing_ = clock; }
    TimingClock timing() const { return timing_; }

    void registerScript(HINSTANCE module, ScriptEntry entry);
    void unregisterModule(HINSTANCE module);

    // From inside a script: suspend until the tick count has advanced by at least ms (the
    // host's clock, GetTickCount: it runs on while the game is paused).
    void waitRunning(std::uint32_t ms);
    // From inside a script: stop it for good (after a failure).
    void haltRunning();
    // The host's way when the game makes its script threads anew: every script's fiber is
    // deleted where it stands, nothing on its stack runs, and each starts again at its entry,
    // in registration order, in the next frame. Not from inside a script.
    void restartAll();

    // Every due script runs until its next wait.
    void runFrame();

    ScriptSlot* running() const { return running_; }
    std::atomic<std::uint32_t>& activity() { return activity_; }
    std::uint32_t activityNow() const { return activity_.load(std::memory_order_relaxed); }
    std::size_t scriptCount() const { return scripts_.size(); }
    const std::vector<std::unique_ptr<ScriptSlot>>& scripts() const { return scripts_; }

  private:
    bool due(const ScriptSlot& slot) const;
    std::string nameFor(HINSTANCE module) const;

    GameClock& clock_;
    std::vector<std::unique_ptr<ScriptSlot>> scripts_;
    std::vector<std::string> names_;
    ScriptSlot* running_ = nullptr;
    ScriptEvent event_;
    TimingClock timing_ = nullptr;
    std::atomic<std::uint32_t> activity_{0};
};
