#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "emulator/script_fiber.h"

namespace {

constexpr SIZE_T STACK_SIZE = 1024 * 1024;
ScriptFiber* runningFiber = nullptr;

// MinGW's GetCurrentFiber reads the thread block through a zero-length array, which GCC's
// bounds check mistakes for an overflow.
void* currentFiber() {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    return GetCurrentFiber();
#pragma GCC diagnostic pop
}

// The thread that runs the scheduler must itself be a fiber to switch to others.
void* schedulerFiber() {
    static void* fiber = nullptr;
    if (fiber == nullptr) {
        fiber = IsThreadAFiber() ? currentFiber() : ConvertThreadToFiber(nullptr);
    }
    return fiber;
}

}  // namespace

struct ScriptFiber::Impl {
    void* fiber = nullptr;
    void* caller = nullptr;

    static void WINAPI start(void* parameter) {
        ScriptFiber::body(static_cast<ScriptFiber*>(parameter));
    }
};

ScriptFiber::ScriptFiber(Entry entry) : entry_(entry), impl_(std::make_unique<Impl>()) {
    schedulerFiber();
    impl_->fiber = CreateFiber(STACK_SIZE, &Impl::start, this);
    if (impl_->fiber == nullptr) {
        std::fprintf(stderr, "CreateFiber failed: %lu\n", GetLastError());
        std::abort();
    }
}

ScriptFiber::~ScriptFiber() {
    DeleteFiber(impl_->fiber);
}

void ScriptFiber::resume() {
    if (finished_) {
        return;
    }
    ScriptFiber* outer = runningFiber;
    runningFiber = this;
    impl_->caller = currentFiber();
    SwitchToFiber(impl_->fiber);
    runningFiber = outer;
}

void ScriptFiber::yield() {
    SwitchToFiber(runningFiber->impl_->caller);
}

ScriptFiber* ScriptFiber::current() {
    return runningFiber;
}

void ScriptFiber::body(ScriptFiber* fiber) {
    fiber->entry_();
    fiber->finished_ = true;
    // A fiber function must never return (that would end the thread).
    for (;;) {
        SwitchToFiber(fiber->impl_->caller);
    }
}
