#include "badge/edit_mode.h"

#include <cstdint>

#include "badge/badge_attachment.h"
#include "badge/badge_catalogue.h"
#include "badge/player_state.h"
#include "badge/show_message.h"
#include "host/host_api.h"
#include "host/key_state.h"
#include "persist/data_file.h"
#include "persist/settings.h"

namespace {

enum class Limit { Below, Above, None };
enum class Speed { Moving, Rotating };

struct EditStep {
    std::uint32_t Settings::*key;
    const char* dataKey;
    Speed speed;
    float direction;  // +1 adds the speed, -1 takes it away
    Limit limit;      // the step applies while the value is below / above the bound
    double bound;     // compared in double precision
    float secondModelRadius;
};

// The order in which each pass checks the keys. GO_LEFT may reach -0.1, the other negative
// moves stop at -0.08; the keys named for Z turn the y rotation.
// clang-format off
constexpr EditStep EDIT_STEPS[] = {
    {&Settings::goRightKey,      "xxxxx",     Speed::Moving,   +1.0f, Limit::Below,  0.08, WORN_RADIUS},
    {&Settings::goLeftKey,       "xxxxx",     Speed::Moving,   -1.0f, Limit::Above, -0.1,  NARROW_RADIUS},
    {&Settings::goCloserKey,     "yyyyy",     Speed::Moving,   +1.0f, Limit::Below,  0.08, WORN_RADIUS},
    {&Settings::goFartherKey,    "yyyyy",     Speed::Moving,   -1.0f, Limit::Above, -0.08, WORN_RADIUS},
    {&Settings::goUpKey,         "zzzzz",     Speed::Moving,   +1.0f, Limit::Below,  0.08, WORN_RADIUS},
    {&Settings::goDownKey,       "zzzzz",     Speed::Moving,   -1.0f, Limit::Above, -0.08, WORN_RADIUS},
    {&Settings::rotateDownKey,   "rot_xxxxx", Speed::Rotating, +1.0f, Limit::None,   0.0,  WORN_RADIUS},
    {&Settings::rotateUpKey,     "rot_xxxxx", Speed::Rotating, -1.0f, Limit::None,   0.0,  WORN_RADIUS},
    {&Settings::rotateZPlusKey,  "rot_yyyyy", Speed::Rotating, +1.0f, Limit::None,   0.0,  WORN_RADIUS},
    {&Settings::rotateZMinusKey, "rot_yyyyy", Speed::Rotating, -1.0f, Limit::None,   0.0,  WORN_RADIUS},
    {&Settings::rotateRightKey,  "rot_zzzzz", Speed::Rotating, +1.0f, Limit::None,   0.0,  WORN_RADIUS},
    {&Settings::rotateLeftKey,   "rot_zzzzz", Speed::Rotating, -1.0f, Limit::None,   0.0,  WORN_RADIUS},
};

struct ResetValue {
    const char* dataKey;
    std::int32_t value;
};

// Written as whole numbers, in this order.
constexpr ResetValue RESET_VALUES[] = {
    {"xxxxx", 0}, {"yyyyy", 0}, {"zzzzz", 0}, {"rot_xxxxx", -14}, {"rot_yyyyy", 0}, {"rot_zzzzz", 0},
};
// clang-format on

void waitRefresh() {
    scriptWait(static_cast<DWORD>(settings.refreshSpeed));
}

bool withinLimit(const EditStep& step, float value) {
    switch (step.limit) {
        case Limit::Below:
            return static_cast<double>(value) < step.bound;
        case Limit::Above:
            return static_cast<double>(value) > step.bound;
        case Limit::None:
            break;
    }
    return true;
}

// The bound is tested before the change, so a value may end up to one step beyond it. Bound or
// not, the badge is taken off and put on again and the step waits.
void runEditStep(const EditStep& step) {
    if (!keyHeld(settings.*step.key)) {
        return;
    }
    const Vector3 anchor = badgeAnchorNow();
    const float value = dataFile->getFloat(step.dataKey);
    if (withinLimit(step, value)) {
        const float speed =
            step.speed == Speed::Moving ? settings.movingSpeed : settings.rotatingSpeed;
        dataFile->setFloat(step.dataKey, value + step.direction * speed);
        dataFile->save(false);
    }
    removeBadgeObjects(anchor, WORN_RADIUS, step.secondModelRadius);
    recreateBadge();
    waitRefresh();
}

void runReset() {
    if (!keyHeld(settings.resetKey)) {
        return;
    }
    for (const ResetValue& reset : RESET_VALUES) {
        dataFile->setInt(reset.dataKey, reset.value);
        dataFile->save(false);
    }
    removeBadgeObjects(badgeAnchorNow(), WORN_RADIUS, WORN_RADIUS);
    recreateBadge();
    waitRefresh();
}

}  // namespace

bool editToggle(bool& editModeOn) {
    if (keyReleased(settings.editToggleKey, true)) {
        editModeOn = !editModeOn;
        showMessage(editModeOn ? "ADJUSTING BADGE ENABLED" : "ADJUSTING BADGE DISABLED");
    }
    return editModeOn;
}

void runEditSteps() {
    for (const EditStep& step : EDIT_STEPS) {
        runEditStep(step);
    }
    runReset();
}
