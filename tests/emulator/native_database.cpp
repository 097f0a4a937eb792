#include "native_database.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

#include "emulator/trace.h"

namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string hex(NativeHash hash) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(hash));
    return text;
}

std::optional<NativeHash> parseHash(std::string_view text) {
    NativeHash hash = 0;
    if (text.size() != 18 || !text.starts_with("0x")) {
        return std::nullopt;
    }
    const auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), hash, 16);
    return error == std::errc{} && end == text.data() + text.size() ? std::optional(hash)
                                                                    : std::nullopt;
}

// "TYPE NAME", the type possibly of several words ("const char* string").
std::optional<DatabaseParam> parseParam(std::string_view text) {
    const auto space = text.rfind(' ');
    if (space == std::string_view::npos) {
        return std::nullopt;
    }
    return DatabaseParam{std::string(trimmed(text.substr(0, space))),
                         std::string(text.substr(space + 1))};
}

// The text between the parentheses; an error text, or empty when it reads.
std::string parseParams(std::string_view text, DatabaseNative& native) {
    while (!trimmed(text).empty()) {
        const auto comma = text.find(',');
        const std::string_view item = trimmed(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        if (native.variadic) {
            return "a parameter after \"...\"";
        }
        if (item == "...") {
            native.variadic = true;
        } else if (const std::optional<DatabaseParam> param = parseParam(item)) {
            native.params.push_back(*param);
        } else {
            return "a parameter without a type and a name: \"" + std::string(item) + "\"";
        }
    }
    return {};
}

// "HASH RETURN NAMESPACE::NAME(PARAMS)"; an error text, or empty when it reads.
std::string parseLine(std::string_view line, DatabaseNative& native) {
    const auto space = line.find(' ');
    const std::optional<NativeHash> hash = parseHash(line.substr(0, space));
    if (!hash) {
        return "no hash of 16 hex digits after 0x";
    }
    native.hash = *hash;
    const std::string_view rest = trimmed(line.substr(space + 1));
    const auto open = rest.find('(');
    if (open == std::string_view::npos || !rest.ends_with(')')) {
        return "no parameter list in parentheses";
    }
    const std::string_view head = trimmed(rest.substr(0, open));
    const auto nameAt = head.rfind(' ');
    if (nameAt == std::string_view::npos || head.find("::", nameAt) == std::string_view::npos) {
        return "no return type and NAMESPACE::NAME";
    }
    native.returnType = std::string(trimmed(head.substr(0, nameAt)));
    native.name = std::string(head.substr(nameAt + 1));
    return parseParams(rest.substr(open + 1, rest.size() - open - 2), native);
}

const DatabaseNative* byHash(const NativeDatabase& database, NativeHash hash) {
    for (const DatabaseNative& native : database.natives) {
        if (native.hash == hash) {
            return &native;
        }
    }
    return nullptr;
}

// What the name would be without its namespace and the community's leading underscore.
std::string_view bareName(std::string_view name) {
    name = name.substr(name.rfind("::") + 2);
    return name.starts_with('_') ? name.substr(1) : name;
}

void checkListed(const NativeDatabase& database, const ListedNative& listed,
                 std::vector<std::string>& problems) {
    const std::string who = listed.constant + ": ";
    const DatabaseNative* native = byHash(database, listed.hash);
    if (native == nullptr) {
        const auto named =
            std::find_if(database.natives.begin(), database.natives.end(),
                         [&](const DatabaseNative& n) { return n.name == listed.name; });
        problems.push_back(named != database.natives.end()
                               ? who + "the native list has " + hex(listed.hash) + " for " +
                                     listed.name + ", the database " + hex(named->hash)
                               : who + hex(listed.hash) + " (" + listed.name +
                                     " in the native list) is not in the database");
        return;
    }
    if (native->name != listed.name) {
        problems.push_back(who + hex(listed.hash) + " is " + native->name + " in the database, " +
                           listed.name + " in the native list");
    } else if (bareName(native->name) != listed.constant) {
        problems.push_back(who + "the constant is not named after " + native->name);
    }
}

// What an argument of a database type is pushed as: a parameter letter of the emulator's
// table, '?' for any word but a pointer, 0 for a type this check does not know.
char letterOf(std::string_view type) {
    static constexpr std::string_view INTEGERS[] = {
        "int", "Hash", "Entity", "Ped", "Player", "Object", "Prompt", "Blip", "Interior"};
    if (type.ends_with('*')) {
        return 'p';
    }
    if (type == "float" || type == "BOOL") {
        return type == "float" ? 'f' : 'b';
    }
    if (type == "Any") {
        return '?';
    }
    return std::find(std::begin(INTEGERS), std::end(INTEGERS), type) != std::end(INTEGERS) ? 'i'
                                                                                           : 0;
}

std::string letterMeaning(char letter) {
    switch (letter) {
        case 'i':
            return "a 32-bit integer (i)";
        case 'f':
            return "a float (f)";
        case 'b':
            return "a BOOL (b)";
        case 'p':
            return "a pointer (p)";
        case 'w':
            return "a 64-bit word (w)";
        default:
            return std::string("an unknown letter (") + letter + ")";
    }
}

void checkArguments(const DatabaseNative& native, std::string_view letters,
                    std::vector<std::string>& problems) {
    const std::size_t count = native.params.size();
    if (letters.size() < count || (letters.size() > count && !native.variadic)) {
        problems.push_back(native.name + ": the emulator's table takes " +
                           std::to_string(letters.size()) + " arguments, the database " +
                           (native.variadic ? "at least " : "") + std::to_string(count));
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const DatabaseParam& param = native.params[i];
        const char expected = letterOf(param.type);
        const std::string which = native.name + ": argument " + std::to_string(i + 1) + " (" +
                                  param.type + " " + param.name + ")";
        if (expected == 0) {
            problems.push_back(which + " has a type this check does not know");
        } else if (expected == '?' ? letters[i] == 'p' : letters[i] != expected) {
            problems.push_back(which + " is " + letterMeaning(letters[i]) +
                               " in the emulator's table");
        }
    }
}

std::string resultKind(bool vector, bool address) {
    return vector ? "a position (>v)" : address ? "an address (>p)" : "one word";
}

void checkResult(const DatabaseNative& native, const ParamLetters& letters,
                 std::vector<std::string>& problems) {
    const bool vector = native.returnType == "Vector3";
    const bool address = native.returnType.ends_with('*');
    if (vector != letters.vectorResult || address != letters.addressResult) {
        problems.push_back(native.name + ": the result (" + native.returnType + ") is " +
                           resultKind(letters.vectorResult, letters.addressResult) +
                           " in the emulator's table, not " + resultKind(vector, address));
    }
}

}  // namespace

NativeDatabase readNativeDatabase(std::istream& in) {
    NativeDatabase database;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (trimmed(line).empty() || line.starts_with('#')) {
            continue;
        }
        DatabaseNative native;
        const std::string error = parseLine(line, native);
        if (!error.empty()) {
            database.errors.push_back("line " + std::to_string(number) + ": " + error);
        } else if (byHash(database, native.hash) != nullptr) {
            database.errors.push_back("line " + std::to_string(number) + ": " + hex(native.hash) +
                                      " a second time");
        } else {
            database.natives.push_back(std::move(native));
        }
    }
    return database;
}

std::vector<std::string> listAgainstDatabase(const NativeDatabase& database,
                                             const std::vector<ListedNative>& list) {
    std::vector<std::string> problems;
    for (const ListedNative& listed : list) {
        checkListed(database, listed, problems);
    }
    // A native listed under a mistyped hash is named once, above.
    for (const DatabaseNative& native : database.natives) {
        const bool listed = std::any_of(list.begin(), list.end(), [&](const ListedNative& l) {
            return l.hash == native.hash || l.name == native.name;
        });
        if (!listed) {
            problems.push_back(native.name + " (" + hex(native.hash) +
                               "): in the database but not in the native list");
        }
    }
    return problems;
}

std::vector<std::string> tableAgainstDatabase(const NativeDatabase& database,
                                              const std::vector<TabledNative>& table) {
    std::vector<std::string> problems;
    for (const TabledNative& tabled : table) {
        const DatabaseNative* native = byHash(database, tabled.hash);
        if (native == nullptr) {
            problems.push_back(hex(tabled.hash) + ": in the emulator's table, not in the database");
            continue;
        }
        const ParamLetters letters = splitParams(tabled.params);
        checkArguments(*native, letters.args, problems);
        checkResult(*native, letters, problems);
    }
    for (const DatabaseNative& native : database.natives) {
        const bool handled = std::any_of(table.begin(), table.end(), [&](const TabledNative& t) {
            return t.hash == native.hash;
        });
        if (!handled) {
            problems.push_back(native.name + ": no handler in the emulator's table");
        }
    }
    return problems;
}
