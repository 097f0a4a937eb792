// settings_probe: reads every setting the plug-in reads, from the plug-in's settings path
// relative to the current folder and with its own profile reader (Windows' own in the Windows
// build), and checks each against the value the shipped file holds (setting_list.inc).
// settings_probe --list: prints those values instead, "SECTION KEY VALUE" a line, for the
// shipped file's check of its form.
#include <cstdio>
#include <string_view>

#include "persist/profile_reader.h"
#include "persist/setting_rows.h"

namespace {

// Returned for a missing key; no shipped setting holds it.
constexpr std::int32_t ABSENT = -1;

void listShipped() {
    for (const SettingRow& row : SETTING_ROWS) {
        std::printf("%s %s %u\n", row.section, row.key, row.shipped);
    }
}

int checkShipped() {
    int wrong = 0;
    for (const SettingRow& row : SETTING_ROWS) {
        const std::uint32_t value = readProfileInt(row.section, row.key, ABSENT, SETTINGS_PATH);
        if (value == static_cast<std::uint32_t>(ABSENT)) {
            std::printf("[%s] %s: missing\n", row.section, row.key);
        } else if (value != row.shipped) {
            std::printf("[%s] %s: read %u, expected %u\n", row.section, row.key, value,
                        row.shipped);
        } else {
            continue;
        }
        ++wrong;
    }
    std::printf("%s: %zu settings, %d not as expected\n", SETTINGS_PATH, SETTING_COUNT, wrong);
    return wrong == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--list") {
        listShipped();
        return 0;
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: settings_probe [--list]\n");
        return 2;
    }
    return checkShipped();
}
