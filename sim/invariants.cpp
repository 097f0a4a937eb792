#include "sim/invariants.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

#include "emulator/atlas.h"
#include "sim/scenario_text.h"

namespace {

constexpr float FORGET_DISTANCE = 50.0f;
// A save that failed is tried again at least every ten seconds: once the disk takes writes, a
// choice reaches it within that and the beat it waits for.
constexpr std::uint32_t SAVED_WITHIN_MS = 12000;
constexpr std::size_t GREETING_TABLE_SLOTS = 20;

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

}  // namespace

// The badge script's run is past its start-up (a pass of this run has ended) and has not ended.
bool InvariantChecker::looping(const Facts& facts) const {
    return facts.number("passes") > runStartPasses_ && facts.text("ended").empty();
}

// Read after every frame of a chaos game: split in place, not through a stream.
Facts Facts::parse(const std::string& text) {
    constexpr std::string_view SPACE = " \t\n\v\f\r";
    const std::string_view all = text;
    Facts facts;
    for (std::size_t start = all.find_first_not_of(SPACE); start != std::string_view::npos;) {
        const std::size_t end = std::min(all.find_first_of(SPACE, start), all.size());
        const std::string_view word = all.substr(start, end - start);
        const auto equals = word.find('=');
        if (equals != std::string_view::npos) {
            facts.values.emplace_back(word.substr(0, equals), word.substr(equals + 1));
        }
        start = all.find_first_not_of(SPACE, end);
    }
    return facts;
}

long Facts::number(const std::string& name) const {
    return std::strtol(text(name).c_str(), nullptr, 10);
}

std::uint32_t Facts::clock(const std::string& name) const {
    return static_cast<std::uint32_t>(std::strtoull(text(name).c_str(), nullptr, 10));
}

const std::string& Facts::text(const std::string& name) const {
    static const std::string none;
    const auto it = std::find_if(values.rbegin(), values.rend(),
                                 [&](const auto& fact) { return fact.first == name; });
    return it == values.rend() ? none : it->second;
}

void InvariantChecker::Window::track(bool holds, std::uint32_t now, long passes) {
    if (holds && !open) {
        since = now;
        timeUp = false;
    }
    open = holds;
    if (open && !timeUp && now - since >= ms) {
        timeUp = true;
        passesWhenTimeUp = passes;
    }
}

bool InvariantChecker::Window::lasted(long passes) const {
    return open && timeUp && passes - passesWhenTimeUp >= passEnds;
}

// What the scenario does to the badge or the plug-in restarts the waits that depend on them.
void InvariantChecker::onCommand(const std::string& line) {
    const std::string verb = firstWord(line);
    if (verb == "load") {
        dataFileAtLoad_ = dataFileExists_;
    }
    if (verb == "unload" && fileMayLag(lastFrame_)) {
        choiceMayBeLost_ = true;
    }
    if (verb == "folder") {
        const bool locked = line.find("locked") != std::string::npos;
        folderUnlocked_ = folderLocked_ && !locked;
        folderLocked_ = locked;
    }
    const bool newRuns = verb == "load" || verb == "unload" || line == "game loads save" ||
                         line == "host restarts scripts";
    if (newRuns || line.starts_with("game removes badge") || line.starts_with("gate control")) {
        badgeInterfered_ = true;
    }
    // The badge script sees the attachment point where it was at the top of its pass: a player
    // moved during a pass's wait is off duty for that pass, and the duty rules start again.
    if (newRuns || line.starts_with("player at")) {
        playerMoved_ = true;
    }
    blipsTaken_ = blipsTaken_ || newRuns || line.starts_with("game removes blip");
    promptsTaken_ = promptsTaken_ || newRuns || line.starts_with("game removes prompt") ||
                    line.starts_with("player at");
}

namespace {

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

// A file the scenario wrote may hold anything: what reads is the baseline.
void InvariantChecker::onFilesChanged(const DataFileView& file) {
    choiceMayBeLost_ = false;
    std::optional<std::string> unread;
    dataKeys_ = entryKeys(file, unread);
    recordedBadge_ = recordedBadgeOf(file);
    dataBreak_.reset();
    dataFileExists_ = file.exists;
}

// Every line the plug-in writes is an entry, and no key it held before is lost.
void InvariantChecker::onDataFileWritten(const DataFileView& file) {
    dataFileExists_ = file.exists;
    std::optional<std::string> unread;
    const std::set<std::string> keys = entryKeys(file, unread);
    if (unread) {
        dataBreak_ = "the data file holds a line that does not read: \"" + *unread + "\"";
        return;
    }
    for (const std::string& key : dataKeys_) {
        if (keys.count(key) == 0) {
            dataBreak_ = "the data file lost its entry " + key;
            return;
        }
    }
    dataKeys_ = keys;
    // Another badge chosen: its wait begins again (its model may still be loading).
    const std::optional<std::int32_t> recorded = recordedBadgeOf(file);
    badgeInterfered_ = badgeInterfered_ || recorded != recordedBadge_;
    recordedBadge_ = recorded;
    choiceMayBeLost_ = false;
}

bool InvariantChecker::fileMayLag(std::uint32_t now) const {
    return folderLocked_ || choiceMayBeLost_ ||
           (writableSince_ && now - *writableSince_ <= SAVED_WITHIN_MS);
}

std::optional<std::string> InvariantChecker::afterFrame(std::uint32_t gameTime,
                                                        const Facts& facts) {
    if (dataBreak_) {
        return dataBreak_;
    }
    lastFrame_ = gameTime;
    if (folderUnlocked_) {
        writableSince_ = gameTime;
        folderUnlocked_ = false;
        catchingUp_ = true;
    }
    const auto instance = static_cast<std::uint32_t>(facts.number("instance"));
    if (instance != lastInstance_) {
        startInstance(instance);
    }
    if (facts.number("restarts") != lastRestarts_) {
        startRuns(facts.number("restarts"));
        runStartPasses_ = facts.number("passes");
    }
    if (auto broken = checkScripts(facts)) {
        return broken;
    }
    if (facts.number("loaded") == 0) {
        return std::nullopt;
    }
    if (auto broken = checkBadges(gameTime, facts)) {
        return broken;
    }
    if (auto broken = checkDuty(gameTime, facts)) {
        return broken;
    }
    if (auto broken = checkOffices(gameTime, facts)) {
        return broken;
    }
    return checkGreetings(facts);
}

std::optional<std::string> InvariantChecker::checkScripts(const Facts& facts) {
    const std::string& ended = facts.text("ended");
    if (ended.find("BadgeMenuScript") != std::string::npos) {
        return "the menu script ended";
    }
    if (ended.find("BadgeScript") != std::string::npos && dataFileAtLoad_) {
        return "the badge script ended although the data file was there at the start";
    }
    if (facts.number("blips") > static_cast<long>(atlas::OFFICE_COUNT)) {
        return "the running plug-in made " + facts.text("blips") + " office blips";
    }
    for (const char* prompt : {"doorprompts", "select", "remove"}) {
        if (facts.number(prompt) > 1) {
            return facts.text(prompt) + " " + prompt + " prompts are shown at once";
        }
    }
    return std::nullopt;
}

namespace {

// How many creations of catalogue badge `index` the game will still refuse (a model it has not
// loaded yet): each costs the attachment check a pass.
long creationsToFail(const Facts& facts, std::int32_t index) {
    std::istringstream counts(facts.text("createfails"));
    std::string count;
    for (std::int32_t i = 0; std::getline(counts, count, ','); ++i) {
        if (i == index) {
            return std::strtol(count.c_str(), nullptr, 10);
        }
    }
    return 0;
}

}  // namespace

// At most one badge on the player; exactly one soon after the attachment check could have put
// back the recorded one; and the recorded badge is the one worn.
std::optional<std::string> InvariantChecker::checkBadges(std::uint32_t now, const Facts& facts) {
    // A choice lost with an unload leaves the file and the world apart: the next start puts the
    // recorded badge on, and one of another model worn stays beside it.
    const long chest = facts.number("chest");
    if (chest > 1 && !choiceMayBeLost_) {
        return std::to_string(chest) + " badge objects on the player";
    }
    const long passes = facts.number("passes");
    if (fileMayLag(now)) {
        recordedAndNoControl_.open = false;
        return std::nullopt;
    }
    const bool recorded = recordedBadge_ && *recordedBadge_ >= 0 &&
                          *recordedBadge_ < static_cast<std::int32_t>(atlas::WEARABLE_BADGE_COUNT);
    const bool checkRuns =
        recorded && facts.number("control") == 0 && looping(facts) && !badgeInterfered_;
    badgeInterfered_ = false;
    if (checkRuns && !recordedAndNoControl_.open) {
        recordedAndNoControl_.passEnds = 2 + creationsToFail(facts, *recordedBadge_);
    }
    recordedAndNoControl_.track(checkRuns, now, passes);
    if (recordedAndNoControl_.lasted(passes) && chest != 1) {
        return std::string("badge ") + std::to_string(*recordedBadge_) +
               " recorded, player control off, yet no badge on the player";
    }
    const long worn = facts.number("worn");
    const bool caughtUp = !std::exchange(catchingUp_, false);
    if (facts.text("worn") != "-1" && recordedBadge_ && worn != *recordedBadge_) {
        return std::string("the player wears badge ") + std::to_string(worn) +
               " but the data file records " + std::to_string(*recordedBadge_) +
               (caughtUp ? "" : ", 12 s after the folder took writes again");
    }
    if (facts.text("worn") != "-1" && !recordedBadge_ && !dataKeys_.empty()) {
        return std::string("the player wears badge ") + std::to_string(worn) +
               " but the data file records none";
    }
    return std::nullopt;
}

// The player is the law a second (and a whole pass) after a badge goes on, and a plain player
// again within the pass after it comes off.
std::optional<std::string> InvariantChecker::checkDuty(std::uint32_t now, const Facts& facts) {
    const long passes = facts.number("passes");
    const bool running = looping(facts) && !playerMoved_;
    playerMoved_ = false;
    const bool worn = facts.text("worn") != "-1" && facts.number("mission") == 0;
    onDuty_.track(running && worn, now, passes);
    offDuty_.track(running && !worn, now, passes);
    const std::string& group = facts.text("group");
    if (onDuty_.lasted(passes) && group != "REL_COP") {
        return "a badge is worn, yet the player is in " + group;
    }
    if (offDuty_.lasted(passes) && group != "PLAYER") {
        return "no badge is worn, yet the player is in " + group;
    }
    return std::nullopt;
}

// Nobody greets twice without having been more than 50 away in between, unless the plug-in
// was loaded again (it remembers nothing across loads) or its table (GREETING_SLOTS) was full.
std::optional<std::string> InvariantChecker::checkGreetings(const Facts& facts) {
    std::istringstream items(facts.text("greeted"));
    std::string item;
    while (std::getline(items, item, ',')) {
        std::int32_t handle = 0;
        long greetings = 0;
        float distance = 0.0f;
        if (std::sscanf(item.c_str(), "%d:%ld:%f", &handle, &greetings, &distance) != 3) {
            continue;
        }
        Greeter& greeter = greeters_[handle];
        // Where the ped stands now counts before a greeting in this frame: the forgetting step
        // may have run in it first.
        greeter.awaySince = greeter.awaySince || distance > FORGET_DISTANCE;
        if (greetings > greeter.greetings) {
            if (greeter.greetings > 0 && greeter.remembered && !greeter.awaySince) {
                return std::string("ped #") + std::to_string(handle) +
                       " greeted again without having been more than 50 away";
            }
            const auto remembered = std::count_if(
                greeters_.begin(), greeters_.end(),
                [](const auto& g) { return g.second.remembered && !g.second.awaySince; });
            greeter.remembered = static_cast<std::size_t>(remembered) < GREETING_TABLE_SLOTS;
            greeter.awaySince = false;
        }
        greeter.greetings = greetings;
    }
    return std::nullopt;
}

// Every office blip of the running plug-in is back a second of game time after the game took
// one (or the plug-in's runs began anew), and the player standing at an office that long is
// offered "REMOVE BADGE" (it is made whether or not a badge is worn; "Select Badge" waits for
// the law's incidents). The menu script reads the player's ped as the badge script last saw
// it, so the prompt is asked for only while the badge script loops.
std::optional<std::string> InvariantChecker::checkOffices(std::uint32_t now, const Facts& facts) {
    const long passes = facts.number("passes");
    const bool menuRuns = facts.text("ended").find("BadgeMenuScript") == std::string::npos;
    blipsBack_.track(menuRuns && !blipsTaken_, now, passes);
    atOffice_.track(looping(facts) && facts.number("office") != 0 && !promptsTaken_, now, passes);
    blipsTaken_ = false;
    promptsTaken_ = false;
    if (blipsBack_.lasted(passes) &&
        facts.number("blips") < static_cast<long>(atlas::OFFICE_COUNT)) {
        return "only " + facts.text("blips") + " of the " + std::to_string(atlas::OFFICE_COUNT) +
               " office blips, a second on";
    }
    if (atOffice_.lasted(passes) && facts.number("remove") == 0) {
        return "the player stands at office " + facts.text("office") +
               ", yet no REMOVE BADGE prompt a second on";
    }
    return std::nullopt;
}

void InvariantChecker::startInstance(std::uint32_t instance) {
    lastInstance_ = instance;
    runStartPasses_ = 0;
    startRuns(lastRestarts_);
}

void InvariantChecker::startRuns(long restarts) {
    lastRestarts_ = restarts;
    for (auto& [handle, greeter] : greeters_) {
        greeter.remembered = false;
    }
    recordedAndNoControl_.open = false;
    onDuty_.open = false;
    offDuty_.open = false;
}
