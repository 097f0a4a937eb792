#include "sim/chaos_story.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <set>

#include "emulator/atlas.h"
#include "emulator/disk_limit.h"
#include "emulator/random.h"

namespace {

constexpr std::uint64_t FRAME_MS = 16;
constexpr std::size_t MOST_PEDS = 12;  // the greeting tables (GREETING_SLOTS) never fill

struct Key {
    const char* setting;
    std::uint32_t code;
};

// clang-format off
constexpr Key EDIT_KEYS[] = {
    {"GO_RIGHT_KEY", 102}, {"GO_LEFT_KEY", 100}, {"GO_CLOSER_KEY", 104}, {"GO_FARTHER_KEY", 98},
    {"GO_UP_KEY", 105}, {"GO_DOWN_KEY", 99}, {"ROTATE_DOWN_KEY", 103}, {"ROTATE_UP_KEY", 97},
    {"ROTATE_Z_PLUS_KEY", 107}, {"ROTATE_Z_MINUS_KEY", 109}, {"ROTATE_RIGHT_KEY", 111},
    {"ROTATE_LEFT_KEY", 106}, {"RESET_KEY", 8},
};
constexpr std::uint32_t TOGGLE_KEY = 45;

// Patrol lawmen, switch-off lawmen, other lawmen, townsfolk, excluded townsfolk, a gang member.
constexpr const char* MODELS[] = {
    "U_M_M_ValSheriff_01", "A_M_M_VALDEPUTYRESIDENT_01", "CS_VALSHERIFF",
    "U_M_M_RhdSheriff_01", "S_M_M_DispatchPolice_01",
    "S_M_M_VALDEPUTY_01", "CS_SheriffOwens",
    "A_M_M_VALTOWNFOLK_01", "A_F_M_VALTOWNFOLK_01", "A_M_M_VALTOWNFOLK_01",
    "A_M_M_GuaTownfolk_01", "A_F_O_LagTownfolk_01",
    "G_M_M_UNIDUSTER_01",
};
constexpr const char* FLAGS[] = {
    "combat", "engaged", "threat", "drunk", "dispute", "blind", "speaking", "dead", "switch",
};
// "Select Badge" thrice: a badge is worn more often than not.
constexpr const char* PROMPTS[] = {"Select Badge", "Select Badge", "Select Badge",
                                   "REMOVE BADGE", "Lock", "Unlock"};
constexpr const char* SPEEDS_MOVING[] = {"0", "500", "1000", "5000", "10000", "20000", "100000", "-1"};
constexpr std::size_t SLOW_SPEEDS = 3;  // the first three keep a step within 0.01
constexpr const char* SPEEDS_ROTATING[] = {"0", "500", "3000", "36000", "50000", "-1"};
constexpr const char* SPEEDS_REFRESH[] = {"0", "50", "1000", "5000", "100000", "200000", "-1"};
constexpr const char* DOOR_STATES[] = {"0", "1", "2"};
// What the menu's "REMOVE BADGE" records: no badge.
constexpr std::size_t NO_BADGE = 7;
// How far off the bone the game may report an attached badge. The removal at an office looks
// within 0.3 only, farther only for a badge stored farther out than that: the badge's stored
// offset and this must stay within it. So a game that reports badges off the bone keeps the
// moving speed slow, and the offsets within about 0.21 (the file's start values, and the edit
// steps' bounds plus a step). Past 0.1 the attachment check's own search misses the badge.
constexpr const char* ATTACHED_OFF[] = {"0.05", "0.08"};
// What death, a fall and another character may do to the badge.
constexpr const char* LIFE_OPTIONS[] = {"death drops badge", "death new ped", "ragdoll drops badge",
                                        "model points own", "model outfit refused"};
// clang-format on

struct Point {
    float x, y, z;
};

class StoryWriter {
  public:
    StoryWriter(std::uint64_t seed, std::uint64_t frames)
        : random_(Random(seed).next()), msLeft_(frames * FRAME_MS) {}  // seeds apart, stories apart

    std::vector<std::string> write() {
        attachedOff_ = chance(30);
        settings();
        dataFile();
        readings();
        add("invariants on");
        add("load");
        while (msLeft_ > 0) {
            step();
        }
        return lines_;
    }

  private:
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(N)];
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(random_.next() % n); }
    bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
    float between(float low, float high) {
        return low + (high - low) * static_cast<float>(random_.next() % 10001) / 10000.0f;
    }
    void add(const std::string& line) { lines_.push_back(line); }
    void addf(const char* format, auto... values) {
        char line[160];
        std::snprintf(line, sizeof line, format, values...);
        add(line);
    }

    void settings() {
        addf("ini MARSHAL_GREETING ENABLE_GREETING %d", chance(20) ? 0 : (chance(10) ? 2 : 1));
        addf("ini MARSHAL_GREETING GREETING_FREQUENCY %zu", chance(50) ? 10 : below(13));
        addf("ini BADGE_ADJUSTING MOVING_SPEED %s",
             attachedOff_ ? SPEEDS_MOVING[below(SLOW_SPEEDS)] : pick(SPEEDS_MOVING));
        addf("ini BADGE_ADJUSTING ROTATING_SPEED %s", pick(SPEEDS_ROTATING));
        addf("ini BADGE_ADJUSTING REFRESH_SPEED %s", pick(SPEEDS_REFRESH));
        addf("ini BADGE_ADJUSTING ENABLE_DISABLE_EDIT_KEY %u", TOGGLE_KEY);
        for (const Key& key : EDIT_KEYS) {
            addf("ini BADGE_ADJUSTING %s %u", key.setting, chance(3) ? 300u : key.code);
        }
    }

    // The readings of the game we are unsure of, each as the world may have it.
    void readings() {
        if (chance(30)) {
            addf("prompt completes frames %zu", 2 + below(7));
        }
        while (chance(30)) {
            addf("object create fails %s %zu", pick(atlas::WEARABLE_BADGES).model, 1 + below(4));
        }
        if (attachedOff_) {
            addf("object attach off %s", pick(ATTACHED_OFF));
        }
        if (chance(30)) {
            addf("interior reach %s", chance(50) ? "60" : "150");
        }
        for (const char* option : LIFE_OPTIONS) {
            if (chance(40)) {
                addf("%s on", option);
            }
        }
    }

    std::string offset() {
        if (chance(4)) {
            return chance(50) ? "nan" : "5";
        }
        char text[32];
        std::snprintf(text, sizeof text, "%.6f", static_cast<double>(between(-0.12f, 0.12f)));
        return text;
    }

    // A file the plug-in wrote, or one of the shapes a player can make of it.
    void dataFile() {
        // Now and then past the catalogue: no badge.
        const std::size_t badge = chance(60) ? 0 : below(atlas::WEARABLE_BADGE_COUNT + 2);
        const std::string entries[] = {
            std::string("badge=") +
                std::to_string(badge < atlas::WEARABLE_BADGE_COUNT ? badge : NO_BADGE),
            std::string("rot_xxxxx=") + std::to_string(static_cast<int>(between(-40.0f, 40.0f))),
            "rot_yyyyy=0",
            "rot_zzzzz=0",
            std::string("xxxxx=") + offset(),
            std::string("yyyyy=") + offset(),
            std::string("zzzzz=") + offset(),
        };
        switch (below(10)) {
            case 0: {  // Only the badge: the attachment values read as absent.
                add("data " + entries[0]);
                break;
            }
            case 1: {  // Line ends of an old Mac editor.
                std::string raw = "rawdata ";
                for (const std::string& entry : entries) {
                    raw += entry + "\\r";
                }
                add(raw);
                break;
            }
            case 2: {  // Notepad's byte-order mark.
                add("rawdata \\xEF\\xBB\\xBF" + entries[0] + "\\n");
                for (std::size_t i = 1; i < std::size(entries); ++i) {
                    add("data " + entries[i]);
                }
                break;
            }
            case 4:  // Saved by Notepad as "Unicode", either byte order.
                for (const std::string& entry : entries) {
                    add("data " + entry);
                }
                add(chance(50) ? "encode data utf-16le" : "encode data utf-16be");
                break;
            case 3:  // An empty file, or none: a first start, where the plug-in makes it.
                if (chance(50)) {
                    add("nodata");
                }
                break;
            default:
                for (const std::string& entry : entries) {
                    add("data " + entry);
                }
        }
    }

    void step() {
        const std::size_t action = below(100);
        if (action < 14) {
            walk();
        } else if (action < 32) {
            peds();
        } else if (action < 40) {
            addf("prompt try %s", pick(PROMPTS));
        } else if (action < 52) {
            keys();
        } else if (action < 58) {
            target();
        } else if (action < 66) {
            gates();
        } else if (action < 80) {
            interfere();
        } else if (action < 86) {
            doors();
        } else if (action < 87 && chance(40)) {
            reload();
        } else if (action < 88) {
            add(chance(60) ? "game loads save" : "host restarts scripts");
        } else if (action < 89 && chance(50)) {
            pause();
        } else if (action < 90) {
            add("player speaking on");
            run(below(2000));
            add("player speaking off");
        } else if (action < 92) {
            disk();
        }
        run(chance(10) ? 1000 + below(3000) : FRAME_MS * (1 + below(25)));
    }

    void run(std::uint64_t ms) {
        if (msLeft_ == 0) {
            return;
        }
        ms = std::max<std::uint64_t>(1, std::min(ms, msLeft_));
        addf("run %llu", static_cast<unsigned long long>(ms));
        const std::uint64_t frames = (ms + FRAME_MS - 1) / FRAME_MS;
        msLeft_ -= std::min(msLeft_, frames * FRAME_MS);
    }

    // The player stays around one law office (or out in the country) for a while, walking
    // between its menu spot, its doors, the boxes inside them and the street.
    void walk() {
        if (chance(10)) {
            town_ = below(atlas::LAW_OFFICE_COUNT + 1);
        }
        if (town_ == atlas::LAW_OFFICE_COUNT) {
            moveTo({100.0f + between(-30.0f, 30.0f), 100.0f + between(-30.0f, 30.0f), 10.0f});
            return;
        }
        const Point office = fromVector(atlas::OFFICES[town_].spot);
        switch (below(4)) {
            case 0:  // The badge menu, and often a badge from it.
                addf("player at office %zu", town_ + 1);
                player_ = office;
                if (chance(50)) {
                    run(FRAME_MS * 3);
                    addf("prompt try %s", chance(80) ? "Select Badge" : "REMOVE BADGE");
                }
                return;
            case 1: {  // A door, and often its prompt.
                const Point door = nearby(officeDoorSpots(), office);
                moveTo({door.x, door.y, door.z + (chance(20) ? 1.5f : 0.0f)});
                if (chance(50)) {
                    run(FRAME_MS * 3);
                    addf("prompt try %s", chance(50) ? "Lock" : "Unlock");
                }
                return;
            }
            case 2:
                moveTo(nearby(doorBoxCentres(), office));
                return;
            default:
                moveTo({office.x + between(-40.0f, 40.0f), office.y + between(-40.0f, 40.0f),
                        office.z});
        }
    }

    static std::vector<Point> officeDoorSpots() {
        std::vector<Point> spots;
        for (const atlas::Door& door : atlas::OFFICE_DOORS) {
            spots.push_back(fromVector(door.at));
        }
        return spots;
    }

    static std::vector<Point> doorBoxCentres() {
        std::vector<Point> centres;
        for (const atlas::DoorBox& box : atlas::DOOR_BOXES) {
            centres.push_back(fromVector(box.centre));
        }
        return centres;
    }

    // One of the points within 30 of the office, or the office itself.
    Point nearby(const std::vector<Point>& points, Point office) {
        std::vector<Point> close;
        for (const Point& p : points) {
            const float dx = p.x - office.x;
            const float dy = p.y - office.y;
            if (dx * dx + dy * dy < 900.0f) {
                close.push_back(p);
            }
        }
        return close.empty() ? office : close[below(close.size())];
    }

    void moveTo(Point to) {
        player_ = to;
        addf("player at %.3f %.3f %.3f %d", static_cast<double>(to.x), static_cast<double>(to.y),
             static_cast<double>(to.z), static_cast<int>(below(360)));
    }

    static Point fromVector(Vec3 v) { return {v.x, v.y, v.z}; }

    // Often close enough to greet the player, always within the lawman pass's 100.
    Point nearPlayer() {
        const float reach = chance(40) ? 3.5f : 60.0f;
        return {player_.x + between(-reach, reach), player_.y + between(-reach, reach), player_.z};
    }

    // The heading that faces the player from the point (0 faces +y, counter-clockwise).
    int facingPlayer(Point from) const {
        const double degrees =
            std::atan2(-(player_.x - from.x), player_.y - from.y) * 180.0 / 3.14159265358979;
        return static_cast<int>(std::lround(degrees + 360.0)) % 360;
    }

    void peds() {
        if (!peds_.empty() && chance(35)) {
            const std::string& name = peds_[below(peds_.size())];
            if (chance(30)) {
                addf("ped set %s %s %s", name.c_str(), pick(FLAGS), chance(50) ? "on" : "off");
            } else if (chance(70)) {
                const Point at = nearPlayer();
                addf("ped move %s %.3f %.3f %.3f %d", name.c_str(), static_cast<double>(at.x),
                     static_cast<double>(at.y), static_cast<double>(at.z),
                     static_cast<int>(below(360)));
            } else {
                addf("ped remove %s", name.c_str());
                if (target_ == name) {
                    target_.clear();
                }
                peds_.erase(std::find(peds_.begin(), peds_.end(), name));
            }
            return;
        }
        if (peds_.size() >= MOST_PEDS) {
            return;
        }
        const std::string name = std::string("p") + std::to_string(nextPed_++);
        const char* model = pick(MODELS);
        const Point at = nearPlayer();
        const int heading = chance(60) ? facingPlayer(at) : static_cast<int>(below(360));
        std::string flags = std::string(" heading=") + std::to_string(heading);
        if (std::string(model) == "G_M_M_UNIDUSTER_01") {
            flags += " group=REL_GANG_DUTCHS";
        } else if (chance(30)) {
            flags += chance(50) ? " group=REL_CIVMALE" : " group=REL_TOWN_MOB";
        }
        while (chance(25)) {
            flags += std::string(" ") + pick(FLAGS);
        }
        addf("ped spawn %s %s %.3f %.3f %.3f%s", name.c_str(), model, static_cast<double>(at.x),
             static_cast<double>(at.y), static_cast<double>(at.z), flags.c_str());
        peds_.push_back(name);
    }

    void target() {
        if (peds_.empty() || chance(30)) {
            add("player target none");
            target_.clear();
            return;
        }
        target_ = peds_[below(peds_.size())];
        add("player target " + target_);
    }

    void keys() {
        if (!held_.empty() && chance(50)) {
            const std::uint32_t key = *held_.begin();
            addf("key up %u", key);
            held_.erase(key);
            return;
        }
        if (chance(30)) {
            addf("key down %u", TOGGLE_KEY);
            run(FRAME_MS * (1 + below(4)));
            addf("key up %u", TOGGLE_KEY);
            return;
        }
        const std::uint32_t key = pick(EDIT_KEYS).code;
        addf("key down %u", key);
        held_.insert(key);
    }

    void gates() {
        const char* gate = chance(60) ? "control" : (chance(50) ? "mission" : "incident");
        addf("gate %s %s", gate, chance(50) ? "on" : "off");
    }

    void interfere() {
        switch (below(7)) {
            case 5:
                add(chance(50) ? "game wanted disabled" : "game wanted enabled");
                break;
            case 6:
                life();
                break;
            case 0:
                add("game removes badge");
                break;
            case 1:
                add("game removes outfit");
                break;
            case 2:
                addf("game removes blip %zu", 1 + below(atlas::LAW_OFFICE_COUNT));
                break;
            case 3:
                addf("game removes prompt %s", pick(PROMPTS));
                break;
            default:
                addf("interior office %zu %s", 1 + below(atlas::LAW_OFFICE_COUNT),
                     chance(70) ? "on" : "off");
        }
    }

    // The player dies (and respawns), falls, or now and then becomes the other character.
    void life() {
        if (chance(45)) {
            add("player dies");
        } else if (chance(90)) {
            add("player ragdoll");
        } else {
            add(chance(50) ? "player becomes PLAYER_THREE" : "player becomes PLAYER_ZERO");
        }
    }

    void doors() {
        const std::uint32_t door =
            chance(15) ? atlas::OTHER_DOORS[below(2)]
                       : atlas::OFFICE_DOORS[below(std::size(atlas::OFFICE_DOORS))].hash;
        if (chance(70)) {
            addf("door 0x%08X state %s", door, pick(DOOR_STATES));
        } else {
            addf("door 0x%08X closed %s", door, chance(50) ? "on" : "off");
        }
    }

    // The game paused a while (its timer stands still, the tick count runs on); the player may
    // press keys or load a save meanwhile, or the disk refuse writes or take them again around
    // a save: a badge chosen just before the pause.
    void pause() {
        if (chance(30)) {
            addf("prompt try %s", PROMPTS[0]);
            run(FRAME_MS * (1 + below(5)));
        }
        add("game pause on");
        run(FRAME_MS * (1 + below(30)));
        if (chance(30)) {
            keys();
        } else if (chance(20)) {
            add("game loads save");
        } else if (chance(40)) {
            disk();
        }
        run(chance(20) ? 5000 + below(60000) : FRAME_MS * (1 + below(200)));
        add("game pause off");
    }

    // Every write to the plug-in's folder fails for a while, as while another program holds
    // the data file; or the disk is full, which only the native simulator can play (under Wine
    // the line is left out, the game otherwise the same).
    void disk() {
        if (chance(50)) {
            add(folderLocked_ ? "folder writable" : "folder locked");
            folderLocked_ = !folderLocked_;
            return;
        }
        if (fileSizesCanBeLimited()) {
            add(diskFull_ ? "disk room" : "disk full");
        }
        diskFull_ = !diskFull_;
    }

    // The plug-in unloaded and loaded again, the files as they are.
    void reload() {
        for (const std::uint32_t key : held_) {
            addf("key up %u", key);
        }
        held_.clear();
        add("unload");
        run(FRAME_MS * (1 + below(20)));
        add("load");
    }

    Random random_;
    bool attachedOff_ = false;  // the game reports attached badges off their bone
    std::uint64_t msLeft_;
    std::vector<std::string> lines_;
    std::vector<std::string> peds_;
    std::string target_;
    std::set<std::uint32_t> held_;
    std::size_t nextPed_ = 0;
    Point player_{100.0f, 100.0f, 10.0f};
    std::size_t town_ = atlas::LAW_OFFICE_COUNT;
    bool folderLocked_ = false;
    bool diskFull_ = false;
};

}  // namespace

std::vector<std::string> chaosStory(std::uint64_t seed, std::uint64_t frames) {
    return StoryWriter(seed, frames).write();
}
