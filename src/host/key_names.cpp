#include "host/key_names.h"

#include <array>

namespace {

struct NamedKey {
    std::uint32_t code;
    const char* name;
};

// A run of codes named by a prefix and a counter: "Numpad 0" to "Numpad 9", "F1" to "F24".
struct NamedRun {
    std::uint32_t first;
    std::uint32_t last;
    const char* prefix;
    char firstLetter;  // 0: count from firstNumber instead
    unsigned firstNumber;
};

// clang-format off
constexpr std::array<NamedRun, 4> RUNS = {{
    {0x30, 0x39, "",        '0', 0},
    {0x41, 0x5A, "",        'A', 0},
    {0x60, 0x69, "Numpad ", '0', 0},
    {0x70, 0x87, "F",       0,   1},
}};

constexpr std::array<NamedKey, 38> KEYS = {{
    {0x08, "Backspace"},    {0x09, "Tab"},           {0x0C, "Clear"},
    {0x0D, "Enter"},        {0x10, "Shift"},         {0x11, "Ctrl"},
    {0x12, "Alt"},          {0x13, "Pause"},         {0x14, "Caps Lock"},
    {0x1B, "Esc"},          {0x20, "Space"},         {0x21, "Page Up"},
    {0x22, "Page Down"},    {0x23, "End"},           {0x24, "Home"},
    {0x25, "Left Arrow"},   {0x26, "Up Arrow"},      {0x27, "Right Arrow"},
    {0x28, "Down Arrow"},   {0x2C, "Print Screen"},  {0x2D, "Insert"},
    {0x2E, "Delete"},       {0x5B, "Left Windows"},  {0x5C, "Right Windows"},
    {0x5D, "Menu"},         {0x6A, "Numpad *"},      {0x6B, "Numpad +"},
    {0x6D, "Numpad -"},     {0x6E, "Numpad ."},      {0x6F, "Numpad /"},
    {0x90, "Num Lock"},     {0x91, "Scroll Lock"},   {0xA0, "Left Shift"},
    {0xA1, "Right Shift"},  {0xA2, "Left Ctrl"},     {0xA3, "Right Ctrl"},
    {0xA4, "Left Alt"},     {0xA5, "Right Alt"},
}};
// clang-format on

}  // namespace

std::string keyName(std::uint32_t code) {
    for (const NamedRun& run : RUNS) {
        if (code >= run.first && code <= run.last) {
            const std::uint32_t step = code - run.first;
            return std::string(run.prefix) +
                   (run.firstLetter != 0 ? std::string(1, static_cast<char>(run.firstLetter + step))
                                         : std::to_string(run.firstNumber + step));
        }
    }
    for (const NamedKey& key : KEYS) {
        if (key.code == code) {
            return key.name;
        }
    }
    return "key code " + std::to_string(code);
}
