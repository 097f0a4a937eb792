// Any bytes as a settings file, read for every setting: no crash, the same answers from a
// second reading, the default only where a value is missing, and the same answers from the
// file's text in UTF-16 with its mark.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "persist/ini_reader.h"
#include "persist/setting_rows.h"

namespace {

constexpr std::int32_t ONE_DEFAULT = 7;
constexpr std::int32_t OTHER_DEFAULT = 9;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "settings reader fuzz: %s\n", what);
        std::abort();
    }
}

RawSettings readAll(std::string_view bytes, std::int32_t defaultValue) {
    const auto sections = parseIniFile(bytes);
    RawSettings values{};
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        values[row] =
            profileInt(sections, SETTING_ROWS[row].section, SETTING_ROWS[row].key, defaultValue);
    }
    return values;
}

// Without bytes above ASCII (so without a mark of its own), every encoding reads alike.
bool plainAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string asUtf16le(std::string_view ascii) {
    std::string encoded = "\xFF\xFE";
    for (const char c : ascii) {
        encoded += c;
        encoded += '\0';
    }
    return encoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RawSettings values = readAll(bytes, ONE_DEFAULT);
    require(readAll(bytes, ONE_DEFAULT) == values, "a second reading differed");
    const RawSettings others = readAll(bytes, OTHER_DEFAULT);
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        require(values[row] == others[row] ||
                    (values[row] == ONE_DEFAULT && others[row] == OTHER_DEFAULT),
                "the default leaked into a found value");
    }
    if (plainAscii(bytes)) {
        require(readAll(asUtf16le(bytes), ONE_DEFAULT) == values, "UTF-16 text read differently");
    }
    return 0;
}
