#include "sim/invariants.h"

#include <cstdlib>
#include <sstream>

#include "sim/scenario_text.h"

namespace {

// A line the plug-in stores: exactly two '='-delimited fields (the text after the last '='
// counts only when it is not empty).
bool isEntryLine(const std::string& line, std::string& key) {
    const auto first = line.find('=');
    if (first == std::string::npos) {
        return false;
    }
    const std::string rest = line.substr(first + 1);
    const auto second = rest.find('=');
    const bool twoFields = second == std::string::npos ? !rest.empty() : second + 1 == rest.size();
    key = line.substr(0, first);
    return twoFields;
}

// The plug-in's integer reading: white space, a sign, digits; the rest ignored.
std::optional<std::int32_t> intPrefix(const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    const long long value = std::strtoll(start, &end, 10);
    if (end == start || value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// The keys of the file's lines that read as entries; the first line that does not, if any.
std::set<std::string> entryKeys(const DataFileView& file, std::optional<std::string>& unread) {
    std::istringstream lines(file.text);
    std::string line;
    std::set<std::string> keys;
    while (std::getline(lines, line)) {
        std::string key;
        if (isEntryLine(line, key)) {
            keys.insert(key);
        } else if (!line.empty() && !unread) {
            unread = line;
        }
    }
    return keys;
}

std::optional<std::int32_t> recordedBadgeOf(const DataFileView& file) {
    const auto badge = file.find("badge");
    return badge ? intPrefix(std::string(*badge)) : std::nullopt;
}

}  // namespace

InvariantChecker::InvariantChecker() : tested_(rules().size()) {
    for (const Rule& rule : rules()) {
        windows_.push_back(Window{rule.wait});
    }
}

// What the scenario does to the badge or the plug-in restarts the waits that depend on them.
void InvariantChecker::onCommand(const std::string& line) {
    const std::string verb = firstWord(line);
    if (verb == "load") {
        story_.dataFileAtLoad = story_.dataFileExists;
    }
    // The unload tries a due save once more: only a disk that refuses it loses the choice.
    if (verb == "unload" && story_.writesRefused()) {
        story_.choiceMayBeLost = true;
    }
    const bool refusedBefore = story_.writesRefused();
    if (verb == "folder") {
        story_.folderLocked = line.find("locked") != std::string::npos;
    }
    if (verb == "disk") {
        story_.diskFull = line.find("full") != std::string::npos;
    }
    writesAcceptedAgain_ = writesAcceptedAgain_ || (refusedBefore && !story_.writesRefused());
    const bool newRuns = verb == "load" || verb == "unload" || line == "game loads save" ||
                         line == "host restarts scripts";
    // A death, a fall or another character may knock the badge off.
    const bool badgeMayFall = line == "player dies" || line.starts_with("player dies ") ||
                              line == "player ragdoll" || line.starts_with("player becomes");
    if (newRuns || badgeMayFall || line.starts_with("game removes badge") ||
        line.starts_with("gate control")) {
        story_.badgeInterfered = true;
    }
    // The badge script sees the attachment point where it was at the top of its pass: a player
    // moved during a pass's wait is off duty for that pass, and the duty rules start again.
    if (newRuns || line.starts_with("player at")) {
        story_.playerMoved = true;
    }
    story_.blipsTaken = story_.blipsTaken || newRuns || line.starts_with("game removes blip");
    story_.promptsTaken = story_.promptsTaken || newRuns ||
                          line.starts_with("game removes prompt") || line.starts_with("player at");
}

// A file the scenario wrote may hold anything: what reads is the baseline. A choice lost with
// an unload stays lost: only the plug-in's next save brings the file and the world together
// again (a folder's mode changed, or a file the scenario wrote, leaves the badge worn as it is).
void InvariantChecker::onFilesChanged(const DataFileView& file) {
    std::optional<std::string> unread;
    story_.dataKeys = entryKeys(file, unread);
    story_.recordedBadge = recordedBadgeOf(file);
    story_.unreadLine.reset();
    story_.lostKey.reset();
    story_.dataFileExists = file.exists;
}

// Every line the plug-in writes is an entry, and no key it held before is lost.
void InvariantChecker::onDataFileWritten(const DataFileView& file) {
    ++story_.dataWrites;
    story_.dataFileExists = file.exists;
    std::optional<std::string> unread;
    const std::set<std::string> keys = entryKeys(file, unread);
    if (unread) {
        story_.unreadLine = unread;
        return;
    }
    for (const std::string& key : story_.dataKeys) {
        if (keys.count(key) == 0) {
            story_.lostKey = key;
            return;
        }
    }
    story_.dataKeys = keys;
    // Another badge chosen: its wait begins again (its model may still be loading).
    const std::optional<std::int32_t> recorded = recordedBadgeOf(file);
    story_.badgeInterfered = story_.badgeInterfered || recorded != story_.recordedBadge;
    story_.recordedBadge = recorded;
    story_.choiceMayBeLost = false;
}

std::optional<BrokenRule> InvariantChecker::afterFrame(std::uint32_t gameTime,
                                                       const GameFacts& facts) {
    if (writesAcceptedAgain_) {
        story_.writableSince = facts.tick;
        writesAcceptedAgain_ = false;
        story_.catchingUp = true;
    }
    if (facts.instance != lastInstance_) {
        startInstance(facts.instance);
        // A player an earlier load left in REL_COP was on duty: the new load may undo that.
        story_.dutySinceLoad = facts.group == "REL_COP";
    }
    // The respawn moves the player (and takes control): as a move and a change of the gate.
    if (facts.respawns != lastRespawns_) {
        lastRespawns_ = facts.respawns;
        story_.playerMoved = true;
        story_.badgeInterfered = true;
    }
    // A new ped for the player: the scripts' shared player values name the old one until the
    // badge script's next pass has ended, as after a save load.
    if (facts.playerped != lastPlayerPed_) {
        lastPlayerPed_ = facts.playerped;
        story_.runStartPasses = static_cast<std::int64_t>(facts.passes);
        story_.playerMoved = true;
        story_.promptsTaken = true;
    }
    if (facts.restarts != lastRestarts_) {
        startRuns(facts.restarts);
        story_.runStartPasses = static_cast<std::int64_t>(facts.passes);
    }
    const std::span<const Rule> all = rules();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].applies == Applies::whilePluginLoaded && !facts.loaded) {
            continue;
        }
        RuleFrame frame{gameTime, facts, story_, windows_[i]};
        Verdict verdict = all[i].check(frame);
        tested_[i] += verdict.tested ? 1 : 0;
        if (verdict.broken) {
            return BrokenRule{all[i].id, std::move(*verdict.broken)};
        }
    }
    endFrame(facts);
    return std::nullopt;
}

void InvariantChecker::endFrame(const GameFacts& facts) {
    story_.dataWrites = 0;
    if (!facts.loaded) {
        return;
    }
    story_.playerMoved = false;
    story_.blipsTaken = false;
    story_.promptsTaken = false;
}

void InvariantChecker::startInstance(std::uint32_t instance) {
    lastInstance_ = instance;
    story_.runStartPasses = 0;
    startRuns(lastRestarts_);
}

void InvariantChecker::startRuns(std::uint32_t restarts) {
    lastRestarts_ = restarts;
    for (auto& [handle, greeter] : story_.greeters) {
        greeter.remembered = false;
    }
    for (Window& window : windows_) {
        window.open = false;
    }
}
