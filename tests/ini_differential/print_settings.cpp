// Prints what the settings reader makes of each file named: every integer setting as read and
// the scaled values. Built natively (portable reader) and for Windows (the system's profile
// reader), so that the two outputs can be compared line by line.
#include <cstdio>

#include "persist/setting_rows.h"
#include "persist/settings.h"

namespace {

void printSettings(const char* path) {
    std::printf("== %s\n", path);
    const RawSettings raw = readRawSettings(path);
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        std::printf("%s %s = %u\n", SETTING_ROWS[row].section, SETTING_ROWS[row].key,
                    static_cast<unsigned>(raw[row]));
    }
    const Settings scaled = settingsFromRaw(raw);
    std::printf("greetingEnabled = %d\n", scaled.greetingEnabled ? 1 : 0);
    std::printf("greetingChanceThreshold = %d\n", static_cast<int>(scaled.greetingChanceThreshold));
    std::printf("movingSpeed = %.9g\n", static_cast<double>(scaled.movingSpeed));
    std::printf("rotatingSpeed = %.9g\n", static_cast<double>(scaled.rotatingSpeed));
    std::printf("refreshSpeed = %.9g\n", static_cast<double>(scaled.refreshSpeed));
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        printSettings(argv[i]);
    }
    return 0;
}
