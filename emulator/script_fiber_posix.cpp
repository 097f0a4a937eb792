#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "emulator/script_fiber.h"

#if !defined(__x86_64__)
#error "the script stack switch is written for x86-64 (System V calling convention)"
#endif

// Saves the registers a call must preserve, the SSE control word and the x87 control word on
// the current stack, stores the stack pointer in *from and continues on the stack at `to`.
// ucontext's swapcontext does the same plus a signal-mask system call on every switch, which
// was most of the cost of a frame; nothing here changes the signal mask.
extern "C" void tswSwitchStack(void** from, void* to);
asm(R"(
    .text
    .globl tswSwitchStack
    .hidden tswSwitchStack
    .type tswSwitchStack, @function
tswSwitchStack:
    pushq %rbp
    pushq %rbx
    pushq %r12
    pushq %r13
    pushq %r14
    pushq %r15
    subq $8, %rsp
    stmxcsr (%rsp)
    fnstcw 4(%rsp)
    movq %rsp, (%rdi)
    movq %rsi, %rsp
    ldmxcsr (%rsp)
    fldcw 4(%rsp)
    addq $8, %rsp
    popq %r15
    popq %r14
    popq %r13
    popq %r12
    popq %rbx
    popq %rbp
    ret
    .size tswSwitchStack, .-tswSwitchStack
)");

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
    void* fiberStackPointer = nullptr;  // where the fiber goes on when resumed
    void* callerStackPointer = nullptr;
    void* mapping = nullptr;
    std::size_t mappedSize = 0;
    void* stack = nullptr;
    // The resumer's stack, as the sanitizer reported it when the script was entered.
    const void* callerStack = nullptr;
    std::size_t callerStackSize = 0;
    void* callerFakeStack = nullptr;
    void* fiberFakeStack = nullptr;

    // The first switch to a fiber returns here, on its new stack; the fiber being started is
    // the running one.
    [[noreturn]] static void start() {
        Impl& impl = *runningFiber->impl_;
        arrivedOnStack(nullptr, &impl.callerStack, &impl.callerStackSize);
        ScriptFiber::body(runningFiber);
        std::abort();  // body never comes back
    }

    // A fiber destroyed while suspended in a wait is entered once more, here, with its own fake
    // stack, only to leave it for good: told so, the sanitizer frees that fake stack, which it
    // otherwise keeps for as long as the process runs.
    [[noreturn]] static void end() {
        Impl& impl = *runningFiber->impl_;
        arrivedOnStack(impl.fiberFakeStack, &impl.callerStack, &impl.callerStackSize);
        leaveForGood(impl);
        std::abort();  // never resumed
    }

    // From here on no local may have its address taken: told that this stack ends, the
    // sanitizer frees its fake stack at once.
    static void leaveForGood(Impl& impl) {
        void** unused = &impl.fiberStackPointer;
        leavingStack(nullptr, impl.callerStack, impl.callerStackSize);
        tswSwitchStack(unused, impl.callerStackPointer);
    }

    // Runs the fiber from where its stack says until it yields, returns or ends.
    static void enter(ScriptFiber* fiber) {
        Impl& impl = *fiber->impl_;
        ScriptFiber* outer = runningFiber;
        runningFiber = fiber;
        leavingStack(&impl.callerFakeStack, impl.stack, STACK_SIZE);
        tswSwitchStack(&impl.callerStackPointer, impl.fiberStackPointer);
        arrivedOnStack(impl.callerFakeStack, nullptr, nullptr);
        runningFiber = outer;
    }

    // The stack as a switch away from entry would have left it: the control words, six
    // registers, entry as the return address, and a zero return address above it, which
    // also ends a debugger's walk up the stack. entry is entered as if called, with the
    // stack pointer 8 past a 16-byte boundary.
    void prepareStack(void (*entry)()) {
        auto* top = reinterpret_cast<std::uint64_t*>(
            (reinterpret_cast<std::uintptr_t>(stack) + STACK_SIZE) & ~std::uintptr_t{15});
        std::uint64_t* sp = top - 9;
        std::uint32_t controlWords[2] = {};
        asm volatile("stmxcsr %0\n\tfnstcw %1" : "=m"(controlWords[0]), "=m"(controlWords[1]));
        std::memcpy(&sp[0], controlWords, sizeof controlWords);
        for (int i = 1; i <= 6; ++i) {
            sp[i] = 0;
        }
        sp[7] = reinterpret_cast<std::uintptr_t>(entry);
        sp[8] = 0;
        fiberStackPointer = sp;
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
    impl_->prepareStack(&Impl::start);
}

// Only the sanitizer keeps a fake stack for a suspended fiber; without it there is none.
ScriptFiber::~ScriptFiber() {
    if (!finished_ && impl_->fiberFakeStack != nullptr) {
        forgetStack(impl_->stack, STACK_SIZE);
        impl_->prepareStack(&Impl::end);
        Impl::enter(this);
    }
    forgetStack(impl_->stack, STACK_SIZE);
    munmap(impl_->mapping, impl_->mappedSize);
}

void ScriptFiber::resume() {
    if (!finished_) {
        Impl::enter(this);
    }
}

void ScriptFiber::yield() {
    Impl& impl = *runningFiber->impl_;
    leavingStack(&impl.fiberFakeStack, impl.callerStack, impl.callerStackSize);
    tswSwitchStack(&impl.fiberStackPointer, impl.callerStackPointer);
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
    Impl::leaveForGood(*fiber->impl_);
}
