#include "badge/badge_menu.h"

#include <cstdint>

#include "badge/attachment_values.h"
#include "badge/badge_attachment.h"
#include "badge/stored_badge.h"
#include "game/badge_catalogue.h"
#include "game/law_offices.h"
#include "game/player_state.h"
#include "game/prompts.h"
#include "host/natives/entity.h"
#include "host/natives/hud.h"
#include "host/natives/law.h"
#include "host/natives/misc.h"
#include "host/natives/object.h"
#include "host/natives/ped.h"
#include "host/natives/player.h"

namespace {

// An office spot is small across and very tall.
constexpr Vector3 OFFICE_SPOT_HALF_SIZE{1.0f, 1.0f, 1200.0f};

// The closest object of each catalogue model goes; a second one of a model stays.
void deleteCatalogueBadgesAt(const Vector3& point, float reach) {
    Object found[BADGE_COUNT] = {};
    for (std::int32_t index = 0; index < BADGE_COUNT; ++index) {
        const Hash model = getHashKey(badgeCatalogue[index].modelName);
        found[index] = closestBadgeObject(point, WORN_RADIUS, model, reach);
    }
    for (Object& object : found) {
        deleteObject(&object);
    }
}

}  // namespace

bool atLawOffice() {
    for (const Vector3& office : lawOffices) {
        if (isEntityAtCoord(playerPed, office, OFFICE_SPOT_HALF_SIZE, FLAT_BOX_TEST)) {
            return true;
        }
    }
    return false;
}

void menuPromptUpkeep(MenuPrompts& prompts) {
    if (!atLawOffice()) {
        uiPromptDelete(prompts.selectBadge);
        uiPromptDelete(prompts.removeBadge);
        return;
    }
    if (!uiPromptIsEnabled(prompts.selectBadge) && !isLawIncidentActive(playerId)) {
        buildPrompt(prompts.selectBadge, "INPUT_JUMP", "Select Badge");
    }
    if (!uiPromptIsEnabled(prompts.removeBadge)) {
        buildPrompt(prompts.removeBadge, "INPUT_INTERACT_OPTION1", "REMOVE BADGE");
    }
}

// The stored values are read once: the badge found is the one hanging at their offset, and
// the new one is put on with them.
void cycleBadge() {
    const Vector3 anchor = badgeAnchorNow();
    const Attachment stored = readStoredAttachment();
    const float reach = offsetLength(stored);
    const std::int32_t current = firstBadgeAt(anchor, reach);
    std::int32_t next = 0;
    if (current >= 0) {
        deleteCatalogueBadgesAt(anchor, reach);
        next = (current + 1) % BADGE_COUNT;
    }
    attachBadge(next, anchor, stored);
    storeBadgeIndex(next);
    applyBadgeOutfit();
}

void removeBadge() {
    removeBadgeObjects(badgeAnchorNow(), NARROW_RADIUS, NARROW_RADIUS,
                       offsetLength(readStoredAttachment()));
    storeBadgeIndex(NO_BADGE_INDEX);
    removeTagFromMetaPed(playerPed, getHashKey("BADGES"));
    updatePedVariation(playerPedId());
}
