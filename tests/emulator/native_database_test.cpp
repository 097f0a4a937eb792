// The plug-in's native list and the emulator's native table, held against the public native
// database's entries (src/host/native_database.txt).
#include "native_database.h"

#include <fstream>
#include <ostream>
#include <sstream>

#include "emulator_fixture.h"

namespace {

NativeDatabase shippedDatabase() {
    std::ifstream file(TSW_NATIVE_DATABASE);
    EXPECT_TRUE(file) << "cannot read " << TSW_NATIVE_DATABASE;
    return readNativeDatabase(file);
}

std::vector<ListedNative> pluginList() {
    return {
#define TSW_NATIVE(constant, hash, gameName) {#constant, hash, gameName},
#include "host/native_list.inc"
#undef TSW_NATIVE
    };
}

std::vector<TabledNative> emulatorTable() {
    std::vector<TabledNative> table;
    for (const NativeEntry& entry : emulator().natives.entries()) {
        table.push_back({entry.hash, entry.params});
    }
    return table;
}

ListedNative& listed(std::vector<ListedNative>& list, NativeHash hash) {
    return *std::find_if(list.begin(), list.end(), [&](const auto& n) { return n.hash == hash; });
}

TabledNative& tabled(std::vector<TabledNative>& table, NativeHash hash) {
    return *std::find_if(table.begin(), table.end(), [&](const auto& n) { return n.hash == hash; });
}

// One slip in the plug-in's list or the emulator's table, and what the check says of it.
struct Slip {
    const char* name;
    void (*make)(std::vector<ListedNative>& list, std::vector<TabledNative>& table);
    const char* problem;
};

void PrintTo(const Slip& slip, std::ostream* out) {
    *out << slip.name;
}

const Slip SLIPS[] = {
    {"MistypedHashInTheList",
     [](auto& list, auto&) {
         listed(list, natives::SET_PED_CONFIG_FLAG).hash = 0x1913FE4CBF41C436;
     },
     "SET_PED_CONFIG_FLAG: the native list has 0x1913FE4CBF41C436 for PED::SET_PED_CONFIG_FLAG, "
     "the database 0x1913FE4CBF41C463"},
    {"HashOfAnotherNativeInTheList",
     [](auto& list, auto&) { listed(list, natives::IS_PED_DRUNK).name = "PED::IS_PED_HUMAN"; },
     "IS_PED_DRUNK: 0x50F124E6EF188B22 is PED::_IS_PED_DRUNK in the database, PED::IS_PED_HUMAN "
     "in the native list"},
    {"ConstantNamedAfterAnotherNative",
     [](auto& list, auto&) { listed(list, natives::PLAYER_ID).constant = "PLAYER_PED_ID"; },
     "PLAYER_PED_ID: the constant is not named after PLAYER::PLAYER_ID"},
    {"NativeMissingFromTheList", [](auto& list, auto&) { list.erase(list.begin()); },
     "MISC::GET_GAME_TIMER (0x4F67E8ECA7D3F667): in the database but not in the native list"},
    {"ArgumentMissingInTheTable",
     [](auto&, auto& table) { tabled(table, natives::SET_PED_CONFIG_FLAG).params = "ii"; },
     "PED::SET_PED_CONFIG_FLAG: the emulator's table takes 2 arguments, the database 3"},
    {"ArgumentTooManyInTheTable",
     [](auto&, auto& table) { tabled(table, natives::TASK_PAUSE).params = "iii"; },
     "TASK::TASK_PAUSE: the emulator's table takes 3 arguments, the database 2"},
    {"FloatWhereTheDatabaseHasAnInt",
     [](auto&, auto& table) { tabled(table, natives::DOOR_SYSTEM_SET_DOOR_STATE).params = "if"; },
     "OBJECT::DOOR_SYSTEM_SET_DOOR_STATE: argument 2 (int state) is a float (f) in the "
     "emulator's table"},
    {"IntWhereTheDatabaseHasAFloat",
     [](auto&, auto& table) { tabled(table, natives::GET_INTERIOR_AT_COORDS).params = "fif"; },
     "INTERIOR::GET_INTERIOR_AT_COORDS: argument 2 (float y) is a 32-bit integer (i) in the "
     "emulator's table"},
    {"IntWhereTheDatabaseHasABool",
     [](auto&, auto& table) { tabled(table, natives::UI_PROMPT_SET_VISIBLE).params = "ii"; },
     "HUD::_UI_PROMPT_SET_VISIBLE: argument 2 (BOOL toggle) is a 32-bit integer (i) in the "
     "emulator's table"},
    {"PointerArgumentReadAsAWord",
     [](auto&, auto& table) { tabled(table, natives::DELETE_OBJECT).params = "i"; },
     "OBJECT::DELETE_OBJECT: argument 1 (Object* object) is a 32-bit integer (i) in the "
     "emulator's table"},
    {"PositionResultReadAsOneWord",
     [](auto&, auto& table) { tabled(table, natives::GET_ENTITY_COORDS).params = "ibb"; },
     "ENTITY::GET_ENTITY_COORDS: the result (Vector3) is one word in the emulator's table, not a "
     "position (>v)"},
    {"VariadicNativeWithoutItsFixedArgument",
     [](auto&, auto& table) { tabled(table, natives::VAR_STRING).params = ">p"; },
     "MISC::VAR_STRING: the emulator's table takes 0 arguments, the database at least 1"},
    {"NativeWithoutAHandler", [](auto&, auto& table) { table.erase(table.begin()); },
     // The table is sorted by hash: its first native.
     "HUD::_UI_PROMPT_DELETE: no handler in the emulator's table"},
};

}  // namespace

class NativeDatabaseTest : public EmulatorTest {};

TEST_F(NativeDatabaseTest, PluginListAndEmulatorTableAgreeWithIt) {
    const NativeDatabase database = shippedDatabase();

    EXPECT_EQ(database.errors, std::vector<std::string>{});
    EXPECT_FALSE(database.natives.empty());
    EXPECT_EQ(listAgainstDatabase(database, pluginList()), std::vector<std::string>{});
    EXPECT_EQ(tableAgainstDatabase(database, emulatorTable()), std::vector<std::string>{});
}

class NativeDatabaseSlip : public EmulatorTest, public ::testing::WithParamInterface<Slip> {};

TEST_P(NativeDatabaseSlip, IsNamedWithItsNative) {
    const NativeDatabase database = shippedDatabase();
    std::vector<ListedNative> list = pluginList();
    std::vector<TabledNative> table = emulatorTable();

    GetParam().make(list, table);
    std::vector<std::string> problems = listAgainstDatabase(database, list);
    for (std::string& problem : tableAgainstDatabase(database, table)) {
        problems.push_back(std::move(problem));
    }

    EXPECT_EQ(problems, std::vector<std::string>{GetParam().problem});
}

INSTANTIATE_TEST_SUITE_P(Slips, NativeDatabaseSlip, ::testing::ValuesIn(SLIPS),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NativeDatabaseFile, MalformedLinesAreNamedByNumber) {
    std::istringstream text(
        "# a comment\n"
        "\n"
        "0x4F67E8ECA7D3F66 int MISC::GET_GAME_TIMER()\n"
        "0x4F67E8ECA7D3F667  int  GET_GAME_TIMER()\n"
        "0x4F67E8ECA7D3F667  int  MISC::GET_GAME_TIMER\n"
        "0x1913FE4CBF41C463  void PED::SET_PED_CONFIG_FLAG(Ped ped, flagId, BOOL value)\n"
        "0xFA925AC00EB830B9  const char*  MISC::VAR_STRING(int flags, ..., int more)\n"
        "0x4F67E8ECA7D3F667  int  MISC::GET_GAME_TIMER()\n"
        "0x4F67E8ECA7D3F667  int  MISC::GET_GAME_TIMER()\n");

    const NativeDatabase database = readNativeDatabase(text);

    EXPECT_EQ(database.errors, (std::vector<std::string>{
                                   "line 3: no hash of 16 hex digits after 0x",
                                   "line 4: no return type and NAMESPACE::NAME",
                                   "line 5: no parameter list in parentheses",
                                   "line 6: a parameter without a type and a name: \"flagId\"",
                                   "line 7: a parameter after \"...\"",
                                   "line 9: 0x4F67E8ECA7D3F667 a second time",
                               }));
    ASSERT_EQ(database.natives.size(), 1u);
    EXPECT_EQ(database.natives[0].name, "MISC::GET_GAME_TIMER");
}
