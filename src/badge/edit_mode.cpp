#include "badge/edit_mode.h"

#include <algorithm>
#include <cstdint>

#include "badge/attachment_values.h"
#include "badge/badge_attachment.h"
#include "badge/show_message.h"
#include "badge/stored_badge.h"
#include "game/badge_catalogue.h"
#include "game/player_state.h"
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
// not, the badge is taken off and put on again and the step waits. The badge to take off
// hangs at the offset from before the change. Returns whether the step saved.
bool runEditStep(const EditStep& step) {
    if (!keyHeld(settings.*step.key)) {
        return false;
    }
    const Vector3 anchor = badgeAnchorNow();
    const float reachBefore = offsetLength(readStoredAttachment());
    const float value = dataFile->getFloat(step.dataKey);
    const bool applies = withinLimit(step, value);
    if (applies) {
        const float speed =
            step.speed == Speed::Moving ? settings.movingSpeed : settings.rotatingSpeed;
        dataFile->setFloat(step.dataKey, value + step.direction * speed);
        saveDataFileStep();
    }
    const float reach = std::max(reachBefore, offsetLength(readStoredAttachment()));
    removeBadgeObjects(anchor, WORN_RADIUS, step.secondModelRadius, reach);
    recreateBadge();
    waitRefresh();
    return applies;
}

bool runReset() {
    if (!keyHeld(settings.resetKey)) {
        return false;
    }
    const float reachBefore = offsetLength(readStoredAttachment());
    for (const AttachmentKey& reset : ATTACHMENT_KEYS) {
        dataFile->setInt(reset.dataKey, reset.resetValue);
        saveDataFileStep();
    }
    removeBadgeObjects(badgeAnchorNow(), WORN_RADIUS, WORN_RADIUS, reachBefore);
    recreateBadge();
    waitRefresh();
    return true;
}

}  // namespace

bool editToggle(bool& editModeOn) {
    if (keyReleased(settings.editToggleKey, true)) {
        editModeOn = !editModeOn;
        showMessage(editModeOn ? "ADJUSTING BADGE ENABLED" : "ADJUSTING BADGE DISABLED");
    }
    return editModeOn;
}

bool runEditSteps() {
    bool saved = false;
    for (const EditStep& step : EDIT_STEPS) {
        saved = runEditStep(step) || saved;
    }
    return runReset() || saved;
}
