#include "sim/reference_tables.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <set>
#include <span>

#include "emulator/atlas.h"
#include "emulator/office_map.h"
#include "sim/rules.h"

namespace {

// The fewest digits that read back as the same float.
std::string number(float value) {
    char text[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) {
            break;
        }
    }
    return text;
}

std::string point(Vec3 p) {
    return number(p.x) + " " + number(p.y) + " " + number(p.z);
}

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

// `text`, put together by appending: GCC 12 misreads "`" + a new string as an overlapping copy.
std::string code(const std::string& text) {
    std::string quoted(1, '`');
    quoted += text;
    quoted += '`';
    return quoted;
}

std::string town(Vec3 p) {
    return atlas::OFFICES[nearestOffice(p)].town;
}

std::string badges() {
    std::string text =
        "## Badges\n\nThe data file's `badge` value names the badge worn (`data badge=1`); any "
        "other value is none (the menu's \"REMOVE BADGE\" writes 7). `expect badge MODEL` "
        "names its model. \"Select Badge\" puts on the badge after the one at the chest (the "
        "object found there, whatever the data file says) and writes its number: with none "
        "there (a first start, or after \"REMOVE BADGE\" or `badge=7`) it puts on 0, and "
        "after 5 it comes round to 0.\n\n| `badge` | model | badge |\n|---|---|---|\n";
    for (std::size_t i = 0; i < atlas::WEARABLE_BADGE_COUNT; ++i) {
        const atlas::BadgeProp& badge = atlas::WEARABLE_BADGES[i];
        text += "| " + std::to_string(i) + " | " + code(badge.model) + " | " + badge.name + " |\n";
    }
    for (const atlas::BadgeProp& badge : atlas::UNWORN_BADGES) {
        text += "| none | " + code(badge.model) + " | " + badge.name +
                " (never worn, but taken off with the others) |\n";
    }
    return text;
}

std::string offices() {
    std::string text =
        "## Law offices\n\n`player at office N` stands on the spot where the badge menu is "
        "offered; `interior office N on|off` and `game removes blip N` name the office by the "
        "same number.\n\n| N | town | spot (x y z) |\n|---|---|---|\n";
    for (std::size_t i = 0; i < atlas::LAW_OFFICE_COUNT; ++i) {
        text += "| ";
        text += std::to_string(i + 1) + " | " + atlas::OFFICES[i].town + " | " +
                point(atlas::OFFICES[i].spot) + " |\n";
    }
    return text;
}

std::string doors() {
    std::string text =
        "## Office doors\n\n`player at door HASH` stands on the door; `door HASH ...` and "
        "`expect door HASH ...` name it by its hash.\n\n| hash | office | spot (x y z) |\n"
        "|---|---|---|\n";
    for (const atlas::Door& door : atlas::OFFICE_DOORS) {
        text += "| ";
        text += code(hex(door.hash));
        text += " | " + town(door.at) + " | " + point(door.at) + " |\n";
    }
    text += "\nDoors elsewhere, known by their hashes only:";
    for (const std::uint32_t door : atlas::OTHER_DOORS) {
        text += ' ';
        text += code(hex(door));
    }
    return text + ".\n";
}

std::string shutBy(const atlas::DoorBox& box) {
    if (box.door != 0) {
        return code(hex(box.door));
    }
    return code(hex(box.outerDoors[0])) + " and " + code(hex(box.outerDoors[1])) + " both";
}

std::string doorBoxes() {
    std::string text =
        "## Door boxes\n\nThe floor just inside an office's doors, by its middle and its "
        "half-extents; `player at box N` stands in its middle.\n\n| N | office | middle (x y z) "
        "| half size (x y z) | shut by |\n|---|---|---|---|---|\n";
    for (std::size_t i = 0; i < std::size(atlas::DOOR_BOXES); ++i) {
        const atlas::DoorBox& box = atlas::DOOR_BOXES[i];
        text += "| ";
        text += std::to_string(i + 1) + " | " + town(box.centre) + " | " + point(box.centre) +
                " | " + point(box.halfSize) + " | " + shutBy(box) + " |\n";
    }
    return text;
}

std::string modelName(const atlas::Model& model) {
    return model.name != nullptr ? code(model.name)
                                 : "the model " + code(hex(model.hash)) + " (name not known)";
}

bool listed(std::span<const atlas::Model> models, const atlas::Model& model) {
    for (const atlas::Model& other : models) {
        if (modelName(other) == modelName(model)) {
            return true;
        }
    }
    return false;
}

std::string lawModels() {
    std::string text =
        "## The law's models\n\nA lawman is left as he is by the office sweep; a patrol lawman "
        "has his lawman switch kept (`expect switch PED on|off`), and some patrol lawmen have it "
        "go off whenever the player engages them. `ped spawn NAME MODEL ...` takes the model's "
        "name.\n\n| model | lawman | patrol | switch off when engaged |\n|---|---|---|---|\n";
    std::set<std::string> shown;
    for (const atlas::Model& model : atlas::LAWMAN_MODELS) {
        if (!shown.insert(modelName(model)).second) {
            continue;
        }
        const auto mark = [&](std::span<const atlas::Model> list) {
            return listed(list, model) ? std::string(" yes |") : std::string(" |");
        };
        text += "| ";
        text += modelName(model) + " |" + mark(atlas::LAWMAN_MODELS) +
                mark(atlas::PATROL_LAWMAN_MODELS) + mark(atlas::SWITCH_OFF_LAWMAN_MODELS) + "\n";
    }
    return text;
}

std::string otherModels() {
    std::string text =
        "## Other people\n\nThe models of the townsfolk, travellers and gang members the stories "
        "meet. `ped spawn` takes any name as a model, but one that neither this list nor the "
        "law's has gets a `note:` on the timeline, with the nearest names: a misspelt lawman "
        "would be an ordinary person to the plug-in.\n\n";
    for (const atlas::Model& model : atlas::OTHER_PED_MODELS) {
        text += "- " + modelName(model) + "\n";
    }
    return text;
}

std::string groups() {
    std::string text =
        "## Relationship groups\n\n`group=NAME` (a ped flag), `expect group PED|player NAME` and "
        "`expect relationship A B VALUE` name them.\n\n| group | what it is |\n|---|---|\n";
    for (const atlas::Group& group : atlas::GROUPS) {
        text += "| `" + std::string(group.name) + "` | " + group.meaning + " |\n";
    }
    text +=
        "\nOn duty the plug-in sets these once a second, in this order:\n\n"
        "| group | towards | value |\n|---|---|---|\n";
    for (const atlas::Relationship& row : atlas::DUTY_RELATIONSHIPS) {
        text += "| `" + std::string(row.group) + "` | `" + row.towards + "` | " +
                std::to_string(row.value) + " |\n";
    }
    return text;
}

std::string speechLines() {
    std::string text =
        "## Speech lines\n\n`expect spoke PED LINE N` names them.\n\n| line | what it is |\n"
        "|---|---|\n";
    for (const atlas::SpeechLine& line : atlas::SPEECH_LINES) {
        text += "| `" + std::string(line.name) + "` | " + line.meaning + " |\n";
    }
    return text;
}

// A setting of the plug-in's list, as a scenario's `ini` line names it.
struct Setting {
    const char* section;
    const char* key;
    std::int32_t missing;
    std::uint32_t shipped;
    std::optional<std::uint32_t> highest;
    const char* does;
};

// The list's own mark for a setting without a range, read here as none.
constexpr std::nullopt_t NO_RANGE = std::nullopt;

// clang-format off
const Setting SETTINGS[] = {
#define TSW_SETTING(SECTION, KEY, field, convert, missing, shipped, highest, does, ...) \
    {#SECTION, #KEY, missing, shipped, highest, does},
#include "persist/setting_list.inc"
#undef TSW_SETTING
};
// clang-format on

std::string settings() {
    std::string text =
        "## Settings\n\nThe plug-in's settings file, `TinStarWarden/TinStarWarden.ini`, from its "
        "own list (`src/persist/setting_list.inc`). A story's game folder starts with the "
        "shipped file; `ini SECTION KEY VALUE` changes a value as a player would, `noini` "
        "removes the file (the plug-in writes the shipped one when it loads without one, so "
        "\"missing reads as\" is what a key missing from a file reads as). A value beyond a "
        "setting's range counts as the top of it; a negative one counts as the top too.\n\n"
        "| section | key | missing reads as | shipped | range | what the key does |\n"
        "|---|---|---|---|---|---|\n";
    for (const Setting& setting : SETTINGS) {
        text += "| " + code(setting.section) + " | " + code(setting.key) + " | " +
                std::to_string(setting.missing) + " | " + std::to_string(setting.shipped) + " | " +
                (setting.highest ? "0 to " + std::to_string(*setting.highest) : std::string()) +
                " | " + (setting.does != nullptr ? setting.does : "") + " |\n";
    }
    return text;
}

std::string ruleList() {
    std::string text =
        "## The rules\n\nWhat `invariants on` and every chaos game hold the plug-in to after "
        "every frame (`sim/rules.cpp`); a break names the rule's id, and shrinking keeps the "
        "commands that still break the rule of that id. docs/scenarios.md says where the plug-in's "
        "design bends a rule's plain wording.\n\n| rule | what must hold |\n|---|---|\n";
    for (const Rule& rule : rules()) {
        text += "| " + code(rule.id) + " | " + rule.doc + " |\n";
    }
    return text;
}

std::string factList() {
    std::string text =
        "## Facts\n\nWhat the rules read after every frame: `query facts` answers them as "
        "`name=value` words, in this order (`emulator/game_facts.inc`).\n\n"
        "| fact | what it is |\n|---|---|\n";
#define TSW_FACT(Type, name, about) text += "| `" #name "` | " about " |\n";
#include "emulator/game_facts.inc"
#undef TSW_FACT
    return text;
}

}  // namespace

std::string referenceTables() {
    return "# Reference tables for scenario writers\n\n"
           "Made from the emulated game's own tables (`emulator/atlas.h`, which a test holds "
           "against the plug-in's), and the settings from the plug-in's list of them: "
           "`./tsw sim --reference > docs/reference.md` writes this file again, and a test fails "
           "while it is not current. The scenario language itself is in "
           "`docs/scenarios.md`.\n\n" +
           badges() + "\n" + offices() + "\n" + doors() + "\n" + doorBoxes() + "\n" + lawModels() +
           "\n" + otherModels() + "\n" + groups() + "\n" + speechLines() + "\n" + settings() +
           "\n" + ruleList() + "\n" + factList();
}
