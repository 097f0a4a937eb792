#include "emulator/scheduler.h"

#include <algorithm>

void Scheduler::registerScript(HINSTANCE module, ScriptEntry entry) {
    auto slot = std::make_unique<ScriptSlot>();
    slot->module = module;
    slot->name = nameFor(module);
    slot->entry = entry;
    slot->fiber = std::make_unique<ScriptFiber>(entry);
    slot->wakeAt = clock_.tickCount;
    slot->readyFrame = clock_.frame;
    scripts_.push_back(std::move(slot));
    if (event_) {
        event_(*scripts_.back(), "registered");
    }
}

// Scripts are named in registration order within their module, so a reloaded plug-in's
// scripts get the same names again.
std::string Scheduler::nameFor(HINSTANCE module) const {
    const auto index = static_cast<std::size_t>(
        std::count_if(scripts_.begin(), scripts_.end(),
                      [&](const auto& slot) { return slot->module == module; }));
    if (index < names_.size()) {
        return names_[index];
    }
    return "script" + std::to_string(index + 1);
}

void Scheduler::unregisterModule(HINSTANCE module) {
    std::erase_if(scripts_, [&](const auto& slot) {
        return slot->module == module && slot.get() != running_;
    });
}

void Scheduler::waitRunning(std::uint32_t ms) {
    ScriptSlot* slot = running_;
    slot->zeroWaits += ms == 0 ? 1 : 0;
    slot->wakeAt = clock_.tickCount + ms;
    slot->readyFrame = clock_.frame + 1;
    ScriptFiber::yield();
}

void Scheduler::haltRunning() {
    running_->faulted = true;
    ScriptFiber::yield();
}

bool Scheduler::due(const ScriptSlot& slot) const {
    if (slot.faulted || slot.fiber->finished() || clock_.frame < slot.readyFrame) {
        return false;
    }
    return static_cast<std::int32_t>(clock_.tickCount - slot.wakeAt) >= 0;
}

// The old fiber goes first: natively its stack is unmapped without running what is on it
// (the sanitizer told), on Windows DeleteFiber, as the host does.
void Scheduler::restartAll() {
    for (const auto& slot : scripts_) {
        slot->fiber.reset();
        slot->fiber = std::make_unique<ScriptFiber>(slot->entry);
        slot->wakeAt = clock_.tickCount;
        slot->readyFrame = clock_.frame;
        slot->started = false;
    }
}

void Scheduler::runFrame() {
    // Indexes, not iterators: a script may register or unregister scripts while it runs.
    for (std::size_t i = 0; i < scripts_.size(); ++i) {
        ScriptSlot* slot = scripts_[i].get();
        if (!due(*slot)) {
            continue;
        }
        if (!slot->started) {
            slot->started = true;
            if (event_) {
                event_(*slot, "started");
            }
        }
        running_ = slot;
        activity_.store(activity::inScript(i), std::memory_order_relaxed);
        const std::chrono::nanoseconds start = timing_ ? timing_() : std::chrono::nanoseconds{};
        slot->fiber->resume();
        if (timing_) {
            slot->runTime += timing_() - start;
        }
        activity_.store(0, std::memory_order_relaxed);
        running_ = nullptr;
        if (slot->fiber->finished() && event_) {
            event_(*slot, "ended");
        }
    }
}
