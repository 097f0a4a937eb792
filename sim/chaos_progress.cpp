#include "sim/chaos_progress.h"

#ifdef _WIN32
#include <io.h>
#define TSW_ISATTY _isatty
#define TSW_FILENO _fileno
#else
#include <unistd.h>
#define TSW_ISATTY isatty
#define TSW_FILENO fileno
#endif

namespace {

constexpr double LIVE_EVERY = 0.25;  // seconds between rewrites of a live line
constexpr double LOG_EVERY = 10.0;   // seconds between lines in a log

}  // namespace

ChaosProgress::ChaosProgress(std::FILE* to) : to_(to), live_(TSW_ISATTY(TSW_FILENO(to)) != 0) {}

void ChaosProgress::update(const ChaosProgressState& state) {
    const double every = live_ ? LIVE_EVERY : LOG_EVERY;
    if (state.elapsed - lastShown_ < every) {
        return;
    }
    lastShown_ = state.elapsed;
    shown_ = true;
    const double rate = state.elapsed > 0 ? static_cast<double>(state.frames) / state.elapsed : 0;
    std::fprintf(to_, "%schaos: %llu games, %.0f frames/s, %zu rule%s broken, %.0f s left%s",
                 live_ ? "\r\033[K" : "", static_cast<unsigned long long>(state.games), rate,
                 state.broken, state.broken == 1 ? "" : "s", state.left, live_ ? "" : "\n");
    std::fflush(to_);
}

void ChaosProgress::finish() {
    if (live_ && shown_) {
        std::fprintf(to_, "\n");
    }
}
