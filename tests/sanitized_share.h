#pragma once
// The sanitizer run plays a test's long loops at a tenth of their count: a memory fault shows in
// the first cycles, not the thousandth. The main run plays them whole.
#ifdef TSW_SANITIZED_TESTS
inline constexpr int SANITIZED_SHARE = 10;
#else
inline constexpr int SANITIZED_SHARE = 1;
#endif

// How many of `count` cycles this run plays: a tenth under the sanitizers, at least one.
constexpr int cyclesToPlay(int count) {
    return count / SANITIZED_SHARE > 0 ? count / SANITIZED_SHARE : 1;
}
