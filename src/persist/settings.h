#pragma once
#include <cstdint>

// Where the game build reads its settings; natively the same text, with '\' read as '/'.
inline constexpr const char* SETTINGS_PATH = ".\\TinStarWarden/TinStarWarden.ini";

// The user's tuning, read once while the library loads and constant afterwards.
struct Settings {
    bool greetingEnabled;
    std::int32_t greetingChanceThreshold;  // compared with a roll from 0 to 10000
    float movingSpeed;                     // offset step per poll
    float rotatingSpeed;                   // rotation step per poll, degrees
    float refreshSpeed;                    // wait after a step, ms; the caller truncates it
    std::uint32_t goRightKey;
    std::uint32_t goLeftKey;
    std::uint32_t goCloserKey;
    std::uint32_t goFartherKey;
    std::uint32_t goUpKey;
    std::uint32_t goDownKey;
    std::uint32_t rotateDownKey;
    std::uint32_t rotateUpKey;
    std::uint32_t rotateZPlusKey;
    std::uint32_t rotateZMinusKey;
    std::uint32_t rotateRightKey;
    std::uint32_t rotateLeftKey;
    std::uint32_t resetKey;
    std::uint32_t editToggleKey;
    bool writeLog;  // the diagnostics log, TinStarWarden/TinStarWarden.log
};

// Read during static initialisation, so before the entry point registers any script; the
// diagnostics log, when switched on, starts then too.
extern const Settings settings;

// The values of the file at path, the speeds held to their ranges.
Settings readSettings(const char* path);
