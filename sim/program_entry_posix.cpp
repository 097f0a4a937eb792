#include "sim/simulator_main.h"

int main(int argc, char** argv) {
    return simulatorMain(std::vector<std::string>(argv + 1, argv + argc));
}
