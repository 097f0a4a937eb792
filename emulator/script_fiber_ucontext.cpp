#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "emulator/script_fiber.h"

// AddressSanitizer keeps one current stack per thread in mind: each switch to or from a
// script's stack is announced, so that its stack checks and reports know which one runs.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TSW_ANNOUNCE_STACK_SWITCHES 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TSW_ANNOUNCE_STACK_SWITCHES 1
#endif

#ifdef TSW_ANNOUNCE_STACK_SWITCHES
#include <sanitizer/asan_interface.h>
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

constexpr std::size_t STACK_SIZE = 1024 * 1024;
ScriptFiber* runningFiber = nullptr;

// Just before a switch to another stack; a null save slot says the stack being left ends
// for good. Without the sanitizer these three do nothing.
void leavingStack([[maybe_unused]] void** fakeStackSave, [[maybe_unused]] const void* bottom,
                  [[maybe_unused]] std::size_t size) {
#ifdef TSW_ANNOUNCE_STACK_SWITCHES
    __sanitizer_start_switch_fiber(fakeStackSave, bottom, size);
#endif
}

// Right after arriving on a stack; reports the stack that was left.
void arrivedOnStack([[maybe_unused]] void* fakeStack, [[maybe_unused]] const void** leftBottom,
                    [[maybe_unused]] std::size_t* leftSize) {
#ifdef TSW_ANNOUNCE_STACK_SWITCHES
    __sanitizer_finish_switch_fiber(fakeStack, leftBottom, leftSize);
#endif
}

// A stack handed back to the system may be mapped again for another script.
void forgetStack([[maybe_unused]] void* stack, [[maybe_unused]] std::size_t size) {
#ifdef TSW_ANNOUNCE_STACK_SWITCHES
    __asan_unpoison_memory_region(stack, size);
#endif
}

}  // namespace

struct ScriptFiber::Impl {
    ucontext_t fiberContext{};
    ucontext_t callerContext{};
    void* mapping = nullptr;
    std::size_t mappedSize = 0;
    void* stack = nullptr;
    // The resumer's stack, as the sanitizer reported it when the script was entered.
    const void* callerStack = nullptr;
    std::size_t callerStackSize = 0;
    void* callerFakeStack = nullptr;
    void* fiberFakeStack = nullptr;

    // makecontext passes only int arguments; the fiber being started is the running one.
    static void start() {
        Impl& impl = *runningFiber->impl_;
        arrivedOnStack(nullptr, &impl.callerStack, &impl.callerStackSize);
        ScriptFiber::body(runningFiber);
    }
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
    impl_->stack = static_cast<char*>(impl_->mapping) + page;
    getcontext(&impl_->fiberContext);
    impl_->fiberContext.uc_stack.ss_sp = impl_->stack;
    impl_->fiberContext.uc_stack.ss_size = STACK_SIZE;
    impl_->fiberContext.uc_link = nullptr;
    makecontext(&impl_->fiberContext, &Impl::start, 0);
}

ScriptFiber::~ScriptFiber() {
    forgetStack(impl_->stack, STACK_SIZE);
    munmap(impl_->mapping, impl_->mappedSize);
}

void ScriptFiber::resume() {
    if (finished_) {
        return;
    }
    ScriptFiber* outer = runningFiber;
    runningFiber = this;
    leavingStack(&impl_->callerFakeStack, impl_->stack, STACK_SIZE);
    swapcontext(&impl_->callerContext, &impl_->fiberContext);
    arrivedOnStack(impl_->callerFakeStack, nullptr, nullptr);
    runningFiber = outer;
}

void ScriptFiber::yield() {
    Impl& impl = *runningFiber->impl_;
    leavingStack(&impl.fiberFakeStack, impl.callerStack, impl.callerStackSize);
    swapcontext(&impl.fiberContext, &impl.callerContext);
    // Resumed, perhaps from another stack than last time.
    arrivedOnStack(impl.fiberFakeStack, &impl.callerStack, &impl.callerStackSize);
}

ScriptFiber* ScriptFiber::current() {
    return runningFiber;
}

void ScriptFiber::body(ScriptFiber* fiber) {
    fiber->entry_();
    fiber->finished_ = true;
    // A finished fiber is never resumed again; its context just goes back for good.
    Impl& impl = *fiber->impl_;
    leavingStack(nullptr, impl.callerStack, impl.callerStackSize);
    setcontext(&impl.callerContext);
}
