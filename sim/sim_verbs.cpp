#include "sim/sim_verbs.h"

#include <algorithm>
#include <string>

#include "sim/runner.h"
#include "sim/scenario_text.h"

namespace {

// A change to the game folder's files, made while the folder is not held open.
template <typename Change>
ControlReply changeFiles(Runner& runner, Change change) {
    runner.releaseFolder();
    std::string error;
    if (!change(error)) {
        return badCommand(error);
    }
    runner.filesChanged();
    return ok();
}

// The files the plug-in reads when it loads: a change while it runs would be read by nobody,
// so it is an error rather than a line that silently does nothing.
template <typename Change>
ControlReply setUpFiles(Runner& runner, const Words& words, Change change) {
    if (runner.pluginLoaded()) {
        return badCommand("\"" + words[0] +
                          "\" sets up the game folder's files, which the plug-in reads when it "
                          "loads: use it before \"load\", or between \"unload\" and \"load\"");
    }
    return changeFiles(runner, change);
}

ControlReply ini(Runner& runner, const Words& words) {
    if (words.size() < 3) {
        return usage();
    }
    const std::string value = restAfterWords(runner.line(), 3);
    return setUpFiles(runner, words, [&](std::string&) {
        runner.folder().setIni(words[1], words[2], value);
        return true;
    });
}

ControlReply data(Runner& runner, const Words& words) {
    const std::string line = restAfterWords(runner.line(), 1);
    return setUpFiles(runner, words, [&](std::string& error) {
        return runner.folder().appendDataLine(line, error);
    });
}

ControlReply rawData(Runner& runner, const Words& words) {
    const std::string bytes = unescapeBytes(restAfterWords(runner.line(), 1));
    return setUpFiles(runner, words, [&](std::string& error) {
        return runner.folder().appendDataBytes(bytes, error);
    });
}

ControlReply encodeData(Runner& runner, const Words& words) {
    if (words.size() != 3 || (words[2] != "utf-16le" && words[2] != "utf-16be")) {
        return usage();
    }
    return setUpFiles(runner, words, [&](std::string& error) {
        return runner.folder().encodeDataAsUtf16(words[2] == "utf-16be", error);
    });
}

ControlReply removeFiles(Runner& runner, const Words& words) {
    if (words.size() != 1) {
        return usage();
    }
    return setUpFiles(runner, words, [&](std::string& error) {
        if (words[0] == "noini") {
            runner.folder().noSettings();
            return true;
        }
        return runner.folder().remove(words[0] == "nofolder", error);
    });
}

ControlReply folder(Runner& runner, const Words& words) {
    using Mode = GameFolder::Mode;
    const Mode mode = words.size() != 2        ? Mode::WRITABLE
                      : words[1] == "readonly" ? Mode::READ_ONLY
                      : words[1] == "locked"   ? Mode::LOCKED
                                               : Mode::WRITABLE;
    if (words.size() != 2 || (mode == Mode::WRITABLE && words[1] != "writable")) {
        return usage();
    }
    return changeFiles(runner,
                       [&](std::string& error) { return runner.folder().setMode(mode, error); });
}

ControlReply otherProgramHolds(Runner& runner, const Words& words) {
    if (words.size() != 5 || (words[3] != "data" && words[3] != "temporary")) {
        return usage();
    }
    return changeFiles(runner, [&](std::string& error) {
        return runner.folder().holdFile(words[3] == "temporary", words[4], error);
    });
}

ControlReply otherProgramLetsGo(Runner& runner, const Words& words) {
    if (words.size() != 4) {
        return usage();
    }
    return changeFiles(runner, [&](std::string&) {
        runner.folder().letGoOfFile();
        return true;
    });
}

ControlReply invariants(Runner& runner, const Words& words) {
    if (words.size() != 2 || words[1] != "on") {
        return usage();
    }
    runner.startInvariants();
    return ok();
}

ControlReply include(Runner& runner, const Words& words) {
    if (words.size() < 2) {
        return usage();
    }
    runner.include(restAfterWords(runner.line(), 1));
    return ok();
}

// The plug-in the simulator was given.
ControlReply load(Runner& runner, const Words& words) {
    if (words.size() != 1) {
        return usage();
    }
    runner.control("load " + runner.pluginPath());
    return ok();
}

// With the rules on, time moves a frame at a time and they are checked after each.
ControlReply run(Runner& runner, const Words& words) {
    if (!runner.invariantsOn()) {
        runner.control(runner.line());
        return ok();
    }
    if (words.size() != 2 || words[1].find_first_not_of("0123456789") != std::string::npos) {
        return usage();
    }
    runner.runCheckedFrames(static_cast<std::uint32_t>(std::stoul(words[1])));
    return ok();
}

ControlReply expectData(Runner& runner, const Words& words) {
    if (words.size() < 3) {
        return usage();
    }
    const std::string& key = words[2];
    const std::string value = restAfterWords(runner.line(), 3);
    const DataFileView view = readDataFile(DATA_FILE);
    const auto found = view.find(key);
    if (found == value) {
        return ok();
    }
    return expectationFailed(key + "=" + value + " in the data file",
                             !view.exists ? std::string("no data file")
                             : !found     ? "no " + key + " entry"
                                          : key + "=" + std::string(*found));
}

ControlReply expectNoData(Runner& runner, const Words&) {
    const std::string key = restAfterWords(runner.line(), 2);
    const auto found = readDataFile(DATA_FILE).find(key);
    return !found ? ok()
                  : expectationFailed("no " + key + " entry in the data file",
                                      key + "=" + std::string(*found));
}

ControlReply expectDataFile(Runner& runner, const Words&) {
    const std::string written = restAfterWords(runner.line(), 2);
    const DataFileView view = readDataFile(DATA_FILE);
    if (view.exists && view.text == unescapeNewlines(written)) {
        return ok();
    }
    return expectationFailed("the data file to read \"" + written + "\"",
                             view.exists ? "\"" + view.text + "\"" : "no data file");
}

ControlReply expectNoDataFile(Runner&, const Words& words) {
    if (words.size() != 2) {
        return usage();
    }
    return readDataFile(DATA_FILE).exists ? expectationFailed("no data file", "one") : ok();
}

// The emulated host's `mark`, and the data file's bytes as they are now, for `expect marked`.
ControlReply mark(Runner& runner, const Words& words) {
    if (words.size() != 1) {
        return usage();
    }
    runner.control("mark");
    std::string bytes;
    runner.markedData() =
        readWholeFile(DATA_FILE, bytes) ? std::optional<std::string>(bytes) : std::nullopt;
    return ok();
}

// The data file holds, byte for byte, what it held at the last mark.
ControlReply expectMarkedDataFile(Runner& runner, const Words& words) {
    if (words.size() != 3) {
        return usage();
    }
    std::string bytes;
    const std::optional<std::string> now =
        readWholeFile(DATA_FILE, bytes) ? std::optional<std::string>(bytes) : std::nullopt;
    if (now == runner.markedData()) {
        return ok();
    }
    const auto shown = [](const std::optional<std::string>& file) {
        return file ? std::string("\"").append(escapeBytes(*file)).append("\"")
                    : std::string("no data file");
    };
    return expectationFailed("the data file as at the mark, " + shown(runner.markedData()),
                             shown(now));
}

// A line of the log holds the text; with `once`, exactly one does.
ControlReply expectLog(Runner& runner, const Words& words) {
    const bool once = words.size() > 2 && words[2] == "once";
    const std::string wanted = restAfterWords(runner.line(), once ? 3 : 2);
    if (wanted.empty()) {
        return usage();
    }
    std::string text;
    const bool exists = readWholeFile(LOG_FILE, text);
    const auto lines = linesOf(text);
    const auto found = std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(wanted) != std::string::npos;
    });
    if (found > 0 && (!once || found == 1)) {
        return ok();
    }
    return expectationFailed(
        std::string(once ? "exactly one line" : "a line") + " of the log holding \"" + wanted +
            "\"",
        !exists ? std::string("no log file") : std::to_string(found) + " in \"" + text + "\"");
}

ControlReply expectNoLog(Runner&, const Words& words) {
    if (words.size() != 2) {
        return usage();
    }
    std::string text;
    return readWholeFile(LOG_FILE, text)
               ? expectationFailed("no log file", "one holding \"" + text + "\"")
               : ok();
}

// clang-format off
constexpr SimVerb SIM_VERBS[] = {
    {"ini",               "ini SECTION KEY VALUE",   ini},
    {"data",              "data LINE",               data},
    {"rawdata",           "rawdata TEXT",            rawData},
    {"noini",             "noini",                   removeFiles},
    {"encode data",       "encode data utf-16le|utf-16be", encodeData},
    {"nodata",            "nodata",                  removeFiles},
    {"nofolder",          "nofolder",                removeFiles},
    {"folder",            "folder readonly\n"
                          "folder locked\n"
                          "folder writable",         folder},
    {"other program holds", "other program holds data|temporary SHARING", otherProgramHolds},
    {"other program lets go", "other program lets go", otherProgramLetsGo},
    {"invariants",        "invariants on",           invariants},
    {"include",           "include FILE",            include},
    {"load",              "load",                    load},
    {"run",               "run MS",                  run},
    {"expect data",       "expect data KEY VALUE",   expectData},
    {"expect nodata",     "expect nodata KEY",       expectNoData},
    {"expect datafile",   "expect datafile TEXT",    expectDataFile},
    {"expect nodatafile", "expect nodatafile",       expectNoDataFile},
    {"mark",              "mark",                    mark},
    {"expect marked datafile", "expect marked datafile", expectMarkedDataFile},
    {"expect log",        "expect log TEXT",         expectLog},
    {"expect log once",   "expect log once TEXT",    expectLog},
    {"expect nolog",      "expect nolog",            expectNoLog},
};
// clang-format on

}  // namespace

const VerbTable<Runner>& simVerbs() {
    static const VerbTable<Runner> table = [] {
        VerbTable<Runner> verbs;
        verbs.add(SIM_VERBS);
        return verbs;
    }();
    return table;
}
