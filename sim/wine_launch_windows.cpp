#include <cstdio>

#include "sim/wine_launch.h"

// The Windows build is what --wine starts; it does not start itself again.
int runUnderWine(const ScenarioOptions&, const std::vector<std::string>&,
                 const std::vector<std::string>&) {
    std::fprintf(stderr, "--wine is an option of the native tsw-sim\n");
    return 2;
}
