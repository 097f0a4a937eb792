// trace_compare FIRST SECOND: exit 0 when the two traces show the same native calls (addresses
// aside), 1 when they differ or a record is unreadable, 2 when a file cannot be opened.
#include <cstdio>
#include <fstream>

#include "emulator/emulator.h"
#include "tools/trace_compare.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: trace_compare FIRST SECOND\n");
        return 2;
    }
    std::ifstream first(argv[1], std::ios::binary);
    std::ifstream second(argv[2], std::ios::binary);
    if (!first || !second) {
        std::fprintf(stderr, "trace_compare: cannot read %s\n", !first ? argv[1] : argv[2]);
        return 2;
    }
    const TraceComparison comparison = compareTraces(first, second, emulator().natives);
    if (!comparison.same) {
        std::printf("%s\n%s\n%s\n", argv[1], argv[2], comparison.report.c_str());
        return 1;
    }
    std::printf("%zu native calls alike in %s and %s\n", comparison.lines, argv[1], argv[2]);
    return 0;
}
