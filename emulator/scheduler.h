#pragma once
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
    std::unique_ptr<ScriptFiber> fiber;
    std::uint32_t wakeAt = 0;      // game time at which the script's wait is over
    std::uint64_t readyFrame = 0;  // first frame it may run in (a wait of 0 means the next)
    bool started = false;
    bool faulted = false;  // stopped by an emulator failure, never resumed
};

// Runs registered scripts cooperatively, one at a time, in registration order.
class Scheduler {
  public:
    using ScriptEvent = std::function<void(const ScriptSlot&, const char* what)>;

    explicit Scheduler(GameClock& clock) : clock_(clock) {}

    void setScriptNames(std::vector<std::string> names) { names_ = std::move(names); }
    void onScriptEvent(ScriptEvent event) { event_ = std::move(event); }

    void registerScript(HINSTANCE module, ScriptEntry entry);
    void unregisterModule(HINSTANCE module);

    // From inside a script: suspend until game time has advanced by at least ms.
    void waitRunning(std::uint32_t ms);
    // From inside a script: stop it for good (after a failure).
    void haltRunning();

    // Every due script runs until its next wait.
    void runFrame();

    const ScriptSlot* running() const { return running_; }
    std::size_t scriptCount() const { return scripts_.size(); }

  private:
    bool due(const ScriptSlot& slot) const;
    std::string nameFor(HINSTANCE module) const;

    GameClock& clock_;
    std::vector<std::unique_ptr<ScriptSlot>> scripts_;
    std::vector<std::string> names_;
    ScriptSlot* running_ = nullptr;
    ScriptEvent event_;
};
