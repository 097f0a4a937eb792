#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "emulator/script_fiber.h"

namespace {

constexpr std::size_t STACK_SIZE = 1024 * 1024;
ScriptFiber* runningFiber = nullptr;

}  // namespace

struct ScriptFiber::Impl {
    ucontext_t fiberContext{};
    ucontext_t callerContext{};
    void* mapping = nullptr;
    std::size_t mappedSize = 0;
    bool started = false;

    // makecontext passes only int arguments; the fiber being started is the running one.
    static void start() { ScriptFiber::body(runningFiber); }
};

ScriptFiber::ScriptFiber(Entry entry) : entry_(entry), impl_(std::make_unique<Impl>()) {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    impl_->mappedSize = STACK_SIZE + page;
    impl_->mapping = mmap(nullptr, impl_->mappedSize, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (impl_->mapping == MAP_FAILED) {
        std::perror("script stack");
        std::abort();
    }
    // A guard page turns a stack overflow into a crash instead of silent corruption.
    mprotect(impl_->mapping, page, PROT_NONE);
    getcontext(&impl_->fiberContext);
    impl_->fiberContext.uc_stack.ss_sp = static_cast<char*>(impl_->mapping) + page;
    impl_->fiberContext.uc_stack.ss_size = STACK_SIZE;
    impl_->fiberContext.uc_link = nullptr;
    makecontext(&impl_->fiberContext, &Impl::start, 0);
}

ScriptFiber::~ScriptFiber() {
    munmap(impl_->mapping, impl_->mappedSize);
}

void ScriptFiber::resume() {
    if (finished_) {
        return;
    }
    ScriptFiber* outer = runningFiber;
    runningFiber = this;
    swapcontext(&impl_->callerContext, &impl_->fiberContext);
    runningFiber = outer;
}

void ScriptFiber::yield() {
    ScriptFiber* fiber = runningFiber;
    swapcontext(&fiber->impl_->fiberContext, &fiber->impl_->callerContext);
}

ScriptFiber* ScriptFiber::current() {
    return runningFiber;
}

void ScriptFiber::body(ScriptFiber* fiber) {
    fiber->entry_();
    fiber->finished_ = true;
    // A finished fiber is never resumed again; its context just goes back for good.
    setcontext(&fiber->impl_->callerContext);
}
