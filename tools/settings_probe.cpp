// settings_probe EXPECTED: reads every setting the plug-in reads, from the plug-in's settings
// path relative to the current folder and with its own profile reader (Windows' own in the
// Windows build), and checks each against EXPECTED ("SECTION KEY VALUE" lines, '#' notes).
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "persist/profile_reader.h"
#include "persist/setting_rows.h"

namespace {

// Returned for a missing key; no shipped setting holds it.
constexpr std::int32_t ABSENT = -1;

using Expected = std::map<std::string, std::uint32_t>;

bool readExpected(const char* path, Expected& expected) {
    std::ifstream file(path);
    std::string line;
    while (file && std::getline(file, line)) {
        std::istringstream words(line);
        std::string section;
        std::string key;
        std::uint32_t value = 0;
        if (!(words >> section) || section[0] == '#') {
            continue;
        }
        if (!(words >> key >> value)) {
            std::fprintf(stderr, "settings_probe: bad line in %s: %s\n", path, line.c_str());
            return false;
        }
        expected[section + " " + key] = value;
    }
    return static_cast<bool>(file) || file.eof();
}

}  // namespace

int main(int argc, char** argv) {
    Expected expected;
    if (argc != 2 || !readExpected(argv[1], expected)) {
        std::fprintf(stderr, "usage: settings_probe EXPECTED (a readable list)\n");
        return 2;
    }
    int wrong = 0;
    for (const SettingRow& row : SETTING_ROWS) {
        const std::uint32_t value = readProfileInt(row.section, row.key, ABSENT, SETTINGS_PATH);
        const auto it = expected.find(std::string(row.section) + " " + row.key);
        if (it == expected.end()) {
            std::printf("[%s] %s: not listed in %s\n", row.section, row.key, argv[1]);
        } else if (value == static_cast<std::uint32_t>(ABSENT)) {
            std::printf("[%s] %s: missing\n", row.section, row.key);
        } else if (value != it->second) {
            std::printf("[%s] %s: read %u, expected %u\n", row.section, row.key, value, it->second);
        } else {
            continue;
        }
        ++wrong;
    }
    if (expected.size() != SETTING_ROWS.size()) {
        std::printf("%s lists %zu settings, the plug-in reads %zu\n", argv[1], expected.size(),
                    SETTING_ROWS.size());
        ++wrong;
    }
    std::printf("%s: %zu settings, %d not as expected\n", SETTINGS_PATH, SETTING_ROWS.size(),
                wrong);
    return wrong == 0 ? 0 : 1;
}
