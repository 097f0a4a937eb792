// save_timing [SAVES]: how long one save of a typical data file takes, flushed to disk before
// the replace (as the menu saves) and replaced without the flush (as a held edit key saves each
// step, flushed once the key is let go). Run natively and, from the Windows build, under Wine;
// it works in a fresh folder in the current one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "persist/dict_data_file.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The file after a few edit steps: a badge, its offset and rotation.
void fill(DictDataFile& file, int step) {
    file.setInt("badge", 2);
    file.setFloat("xxxxx", 0.001f * static_cast<float>(step % 80));
    file.setInt("yyyyy", 0);
    file.setFloat("zzzzz", 0.02f);
    file.setInt("rot_xxxxx", -14);
    file.setFloat("rot_yyyyy", static_cast<float>(step));
    file.setInt("rot_zzzzz", 0);
}

void report(const char* what, std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    double sum = 0;
    for (double m : micros) {
        sum += m;
    }
    const auto at = [&](double share) {
        return micros[std::min(micros.size() - 1, static_cast<std::size_t>(share * micros.size()))];
    };
    std::printf("%-34s mean %8.1f us  median %8.1f us  p90 %8.1f us  max %8.1f us\n", what,
                sum / static_cast<double>(micros.size()), at(0.5), at(0.9), micros.back());
}

template <typename Save>
std::vector<double> timed(DictDataFile& file, int saves, Save save) {
    std::vector<double> micros;
    for (int step = 0; step < saves; ++step) {
        fill(file, step);
        const auto start = Clock::now();
        if (!save(file)) {
            std::fprintf(stderr, "save_timing: a save failed: %s\n", file.error.c_str());
            std::exit(1);
        }
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return micros;
}

}  // namespace

int main(int argc, char** argv) {
    const int saves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const fs::path folder = fs::current_path() / "tsw-save-timing";
    fs::create_directories(folder);
    DictDataFile file((folder / "TinStarWarden.dat").string());
    std::printf("%d saves of a 7-entry data file in %s\n", saves, folder.string().c_str());
    report("flushed before the replace",
           timed(file, saves, [](DictDataFile& f) { return f.save(false); }));
    report("replaced, flush left for later",
           timed(file, saves, [](DictDataFile& f) { return f.saveWithoutFlush(); }));
    report("replaced, then flushed (a release)", timed(file, saves, [](DictDataFile& f) {
               return f.saveWithoutFlush() && f.flushToDisk();
           }));
    fs::remove_all(folder);
    return 0;
}
