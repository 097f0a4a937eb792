// A long chaos run's progress written to a log: one line every 10 s, with what it has done.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "sim/chaos_progress.h"

namespace {

std::string written(std::FILE* file) {
    std::string text(4096, '\0');
    std::rewind(file);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    return text;
}

TEST(ChaosProgress, ALogGetsALineEveryTenSecondsWithRateBreaksAndTimeLeft) {
    std::FILE* log = std::tmpfile();
    ChaosProgress progress(log);
    progress.update({3, 60000, 0, 4.0, 596.0});
    EXPECT_EQ(written(log), "");
    progress.update({8, 160000, 1, 10.0, 590.0});
    progress.update({12, 240000, 1, 19.9, 580.1});
    progress.update({13, 260000, 2, 20.0, 580.0});
    progress.finish();
    EXPECT_EQ(written(log),
              "chaos: 8 games, 16000 frames/s, 1 rule broken, 590 s left\n"
              "chaos: 13 games, 13000 frames/s, 2 rules broken, 580 s left\n");
    std::fclose(log);
}

}  // namespace
