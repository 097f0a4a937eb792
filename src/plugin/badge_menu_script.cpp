#include "plugin/badge_menu_script.h"

#include <cstdint>

#include "badge/badge_attachment.h"
#include "badge/badge_menu.h"
#include "game/badge_catalogue.h"
#include "game/game_time.h"
#include "game/player_state.h"
#include "host/clock.h"
#include "host/host_api.h"
#include "host/natives/hud.h"
#include "host/natives/misc.h"
#include "host/natives/object.h"
#include "host/natives/ped.h"
#include "host/natives/player.h"
#include "lawman/office_upkeep.h"
#include "persist/data_file.h"
#include "persist/settings.h"

namespace {

constexpr DWORD START_DELAY_MS = 500;
constexpr std::int32_t CLOTHING_CHECK_INTERVAL_MS = 1000;
constexpr std::int32_t PROMPT_BLOCK_INTERVAL_MS = 10;
constexpr std::int32_t MARSHAL_GREETING_RESET_FLAG = 31;

// The game's badge clothing item follows the badge object.
void keepClothingInStep() {
    if (isBadgeWorn()) {
        if (!isMetaPedUsingComponent(playerPed, getHashKey("BADGES"))) {
            applyBadgeOutfit();
        }
    } else {
        removeTagFromMetaPed(playerPed, getHashKey("BADGES"));
    }
}

// Only the marshal badge right at the attachment point; reset flags last a frame, so this is
// set on every pass.
void marshalGreetingSwitch() {
    const Hash marshal = getHashKey(badgeCatalogue[0].modelName);
    const bool marshalWorn =
        doesObjectOfTypeExistAtCoords(anchorPosition, IN_PLACE_RADIUS, marshal);
    if (marshalWorn && settings.greetingEnabled) {
        setPlayerResetFlag(playerId, MARSHAL_GREETING_RESET_FLAG, true);
    }
}

// What a pass's completion check of one prompt answered.
struct SeenCompletion {
    Prompt prompt = 0;
    bool completed = false;
};

// A use counts once: a game that reports a completion on several passes in a row must not
// cycle a badge, or toggle a door, on each of them.
bool newlyCompleted(Prompt prompt, SeenCompletion& seen) {
    const bool completed = uiPromptHasStandardModeCompleted(prompt);
    const bool fresh = completed && !(seen.completed && seen.prompt == prompt);
    seen = {prompt, completed};
    return fresh;
}

// What the menu script keeps from pass to pass. The host restarts the scripts at every save
// the player loads, deleting this script where it waits, so the state is one object for the
// process, which each start sets to its start values, all but the blips' and the prompts':
// their handles name blips and prompts that stay in the game (the game removes them, and the
// upkeep makes them again), so a restart in an unchanged world makes none twice. What the last
// pass saw of each prompt's use stays with them: a use the game still reports after a restart
// was acted on already.
struct MenuScriptState {
    std::int32_t nextSecondAt = 0;
    std::int32_t lastBlockAt = 0;
    SeenCompletion lockUse;
    SeenCompletion selectUse;
    SeenCompletion removeUse;
    OfficeBlips officeBlips{};
    Prompt lockPrompt = 0;
    MenuPrompts menuPrompts;

    void start() {
        nextSecondAt = gameTimeAfter(CLOTHING_CHECK_INTERVAL_MS);
        lastBlockAt = getGameTimer();
    }
};

MenuScriptState menuScriptState;

void promptBlock(MenuScriptState& state) {
    doorSetUp();
    blipUpkeep(state.officeBlips);
    if (isBadgeWorn()) {
        doorPromptUpkeep(state.lockPrompt);
    } else {
        uiPromptDelete(state.lockPrompt);
    }
    menuPromptUpkeep(state.menuPrompts);
}

void runPass(MenuScriptState& state) {
    retryDueSave(tickCount());
    if (getGameTimer() > state.nextSecondAt) {
        keepClothingInStep();
        forcedDoorUnlock();
        state.nextSecondAt = gameTimeAfter(CLOTHING_CHECK_INTERVAL_MS);
    }
    marshalGreetingSwitch();
    if (newlyCompleted(state.lockPrompt, state.lockUse)) {
        doorToggle(state.lockPrompt);
    }
    if (msSince(state.lastBlockAt) > PROMPT_BLOCK_INTERVAL_MS) {
        promptBlock(state);
        state.lastBlockAt = getGameTimer();
    }
    if (newlyCompleted(state.menuPrompts.selectBadge, state.selectUse)) {
        cycleBadge();
    }
    if (newlyCompleted(state.menuPrompts.removeBadge, state.removeUse)) {
        removeBadge();
    }
}

}  // namespace

void BadgeMenuScript() {
    scriptWait(START_DELAY_MS);
    MenuScriptState& state = menuScriptState;
    state.start();
    for (;;) {
        runPass(state);
        scriptWait(0);
    }
}
