// Under AddressSanitizer a script's locals live on a fake stack of its own (with
// detect_stack_use_after_return, as the linux-asan tests run). A script still in a wait when
// its fiber goes (each unload) must not keep that fake stack for the rest of the process.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "emulator/script_fiber.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TSW_TEST_FAKE_STACKS 1
#include <sanitizer/asan_interface.h>
#endif
#endif

namespace {

#ifdef TSW_TEST_FAKE_STACKS

void* fakeStack = nullptr;
void* localAddress = nullptr;

void waitForever() {
    volatile int local = 0;
    localAddress = const_cast<int*>(&local);
    fakeStack = __asan_get_current_fake_stack();
    for (;;) {
        ScriptFiber::yield();
    }
}

// Whether the page holding address is mapped in this process.
bool mapped(void* address) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    unsigned char resident = 0;
    return mincore(reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(address) & ~(page - 1)),
                   1, &resident) == 0;
}

TEST(ScriptFiber, AFiberDestroyedInAWaitHandsItsFakeStackBack) {
    auto fiber = std::make_unique<ScriptFiber>(&waitForever);
    fiber->resume();
    ASSERT_FALSE(fiber->finished());
    if (fakeStack == nullptr ||
        __asan_addr_is_in_fake_stack(fakeStack, localAddress, nullptr, nullptr) == nullptr) {
        GTEST_SKIP() << "no fake stacks (ASAN_OPTIONS lacks detect_stack_use_after_return=1)";
    }
    EXPECT_TRUE(mapped(localAddress));
    fiber.reset();
    EXPECT_FALSE(mapped(localAddress));
}

#else

TEST(ScriptFiber, AFiberDestroyedInAWaitHandsItsFakeStackBack) {
    GTEST_SKIP() << "fake stacks exist only under AddressSanitizer";
}

#endif

}  // namespace
