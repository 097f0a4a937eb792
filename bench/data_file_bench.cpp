// What a big data file costs: one load, one save (flushed, as the menu saves, and with the flush
// left for later, as an edit step saves), and the heap one loaded file object holds, which the
// plug-in keeps for the life of the process, one object per load. The file is 10,000 lines:
// the plug-in's own and other programs' keys.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "persist/dict_data_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int LINES = 10000;

const std::string& bigFile() {
    static const std::string path = [] {
        const fs::path folder = fs::temp_directory_path() / "tsw-data-file-bench";
        fs::create_directories(folder);
        const std::string file = (folder / "TinStarWarden.dat").string();
        std::ofstream out(file, std::ios::binary);
        out << "badge=2\nrot_xxxxx=-14\nrot_yyyyy=0\nrot_zzzzz=0\nxxxxx=0\nyyyyy=0\nzzzzz=0\n";
        for (int line = 7; line < LINES; ++line) {
            char text[64];
            std::snprintf(text, sizeof text, "other_program_key_%05d=%f\n", line, line * 0.001);
            out << text;
        }
        return file;
    }();
    return path;
}

void loadBigFile(benchmark::State& state) {
    for (auto _ : state) {
        DictDataFile file(bigFile());
        if (!file.load()) {
            state.SkipWithError("load failed");
        }
        benchmark::DoNotOptimize(file.entries);
    }
    state.counters["lines"] = LINES;
}
BENCHMARK(loadBigFile)->Unit(benchmark::kMicrosecond);

template <bool FLUSH>
void saveBigFile(benchmark::State& state) {
    DictDataFile file(bigFile());
    file.load();
    for (auto _ : state) {
        file.setInt("badge", 2);
        if (!(FLUSH ? file.save(false) : file.saveWithoutFlush())) {
            state.SkipWithError(file.error.c_str());
        }
    }
    file.flushToDisk();
}
BENCHMARK(saveBigFile<true>)->Name("saveBigFile/flushed")->Unit(benchmark::kMicrosecond);
BENCHMARK(saveBigFile<false>)->Name("saveBigFile/flush_later")->Unit(benchmark::kMicrosecond);

// As openDataFile does at each load: a new object, loaded and kept.
void heapHeldPerLoad(benchmark::State& state) {
    double held = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        auto file = std::make_unique<DictDataFile>(bigFile());
        file->load();
        held = static_cast<double>(mallinfo2().uordblks - before);
    }
    state.counters["heap_bytes_held"] = held;
}
BENCHMARK(heapHeldPerLoad)->Unit(benchmark::kMicrosecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
