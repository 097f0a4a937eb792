#pragma once
// The public native database's entries for the natives the plug-in calls
// (src/host/native_database.txt), and what the plug-in's native list and the emulator's native
// table get wrong against them.
#include <istream>
#include <string>
#include <vector>

#include "host/native_hashes.h"

struct DatabaseParam {
    std::string type;  // as the database spells it: "Entity", "const char*", "Any*"
    std::string name;
};

struct DatabaseNative {
    NativeHash hash = 0;
    std::string returnType;
    std::string name;  // with its namespace: "PED::SET_PED_CONFIG_FLAG"
    std::vector<DatabaseParam> params;
    bool variadic = false;  // "..." after the params
};

struct NativeDatabase {
    std::vector<DatabaseNative> natives;
    std::vector<std::string> errors;  // lines that are no entry, by line number
};

// Blank lines and lines starting with '#' are skipped.
NativeDatabase readNativeDatabase(std::istream& in);

// A line of src/host/native_list.inc.
struct ListedNative {
    std::string constant;
    NativeHash hash = 0;
    std::string name;
};

// A native of the emulator's table: its hash and parameter letters ("iib>v").
struct TabledNative {
    NativeHash hash = 0;
    std::string params;
};

// Each mistake as a line that names the native; none when all agree.
std::vector<std::string> listAgainstDatabase(const NativeDatabase& database,
                                             const std::vector<ListedNative>& list);
std::vector<std::string> tableAgainstDatabase(const NativeDatabase& database,
                                              const std::vector<TabledNative>& table);
