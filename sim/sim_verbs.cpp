#include "sim/sim_verbs.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "emulator/disk_limit.h"
#include "emulator/game_clock.h"
#include "emulator/verb_placeholders.h"
#include "sim/runner.h"
#include "sim/scenario_text.h"
#include "sim/settings_text.h"

namespace {

// A change to the game folder's files, made while the folder is not held open.
template <typename Change>
ControlReply changeFiles(Runner& runner, Change change) {
    const OwnWrites own;
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
ControlReply setUpFiles(Runner& runner, const Args& args, Change change) {
    if (runner.pluginLoaded()) {
        return badCommand("\"" + args.command().words[0] +
                          "\" sets up the game folder's files, which the plug-in reads when it "
                          "loads: use it before \"load\", or between \"unload\" and \"load\"");
    }
    return changeFiles(runner, change);
}

// The plug-in reads the settings it knows only: a section or key it does not is noted, not
// refused, as a story may mean it.
ControlReply ini(Runner& runner, const Args& args) {
    const std::string& section = args.word(0);
    const std::string& key = args.word(1);
    const std::string value = args.text(2);
    const ControlReply reply = setUpFiles(runner, args, [&](std::string&) {
        runner.folder().setIni(section, key, value);
        return true;
    });
    if (const auto unread = unreadSetting(SHIPPED_SETTINGS, section, key);
        unread && reply.code == TSW_OK) {
        runner.note(*unread);
    }
    return reply;
}

ControlReply data(Runner& runner, const Args& args) {
    const std::string line = args.text(0);
    return setUpFiles(runner, args, [&](std::string& error) {
        return runner.folder().appendDataLine(line, error);
    });
}

ControlReply rawData(Runner& runner, const Args& args) {
    const std::string bytes = unescapeBytes(args.text(0));
    return setUpFiles(runner, args, [&](std::string& error) {
        return runner.folder().appendDataBytes(bytes, error);
    });
}

ControlReply encodeData(Runner& runner, const Args& args) {
    const bool bigEndian = args.is(0, "utf-16be");
    return setUpFiles(runner, args, [&](std::string& error) {
        return runner.folder().encodeDataAsUtf16(bigEndian, error);
    });
}

ControlReply noSettings(Runner& runner, const Args& args) {
    return setUpFiles(runner, args, [&](std::string&) {
        runner.folder().noSettings();
        return true;
    });
}

ControlReply noData(Runner& runner, const Args& args) {
    return setUpFiles(runner, args,
                      [&](std::string& error) { return runner.folder().remove(false, error); });
}

ControlReply noFolder(Runner& runner, const Args& args) {
    return setUpFiles(runner, args,
                      [&](std::string& error) { return runner.folder().remove(true, error); });
}

ControlReply folderMode(Runner& runner, GameFolder::Mode mode) {
    return changeFiles(runner,
                       [&](std::string& error) { return runner.folder().setMode(mode, error); });
}

ControlReply folderReadOnly(Runner& runner, const Args&) {
    return folderMode(runner, GameFolder::Mode::READ_ONLY);
}

ControlReply folderLocked(Runner& runner, const Args&) {
    return folderMode(runner, GameFolder::Mode::LOCKED);
}

ControlReply folderWritable(Runner& runner, const Args&) {
    return folderMode(runner, GameFolder::Mode::WRITABLE);
}

ControlReply diskFull(Runner& runner, const Args& args) {
    const auto bytes =
        args.given(0) ? std::optional<std::uint64_t>(args.whole<std::uint64_t>(0)) : std::nullopt;
    return changeFiles(runner,
                       [&](std::string& error) { return runner.folder().diskFull(bytes, error); });
}

ControlReply diskRoom(Runner& runner, const Args&) {
    runner.folder().diskRoom();
    return ok();
}

ControlReply otherProgramHolds(Runner& runner, const Args& args) {
    const bool temporary = args.is(0, "temporary");
    const std::string& sharing = args.word(1);
    return changeFiles(runner, [&](std::string& error) {
        return runner.folder().holdFile(temporary, sharing, error);
    });
}

ControlReply otherProgramLetsGo(Runner& runner, const Args&) {
    return changeFiles(runner, [&](std::string&) {
        runner.folder().letGoOfFile();
        return true;
    });
}

ControlReply invariants(Runner& runner, const Args&) {
    runner.startInvariants();
    return ok();
}

ControlReply include(Runner& runner, const Args& args) {
    runner.include(args.text(0));
    return ok();
}

// The plug-in the simulator was given.
ControlReply load(Runner& runner, const Args&) {
    runner.control("load " + runner.pluginPath());
    return ok();
}

// With the rules on, time moves a frame at a time and they are checked after each; the run is
// refused as the host's own is when the frames cannot reach its end.
ControlReply run(Runner& runner, const Args& args) {
    if (!runner.invariantsOn()) {
        runner.control(args.command().text);
        return ok();
    }
    const auto ms = args.whole<std::uint32_t>(0);
    const std::uint32_t step = runner.frameStep();
    if (ms > longestRun(step)) {
        return wrongWord(args, 0, 0, unreachableRun(ms, step));
    }
    runner.runCheckedFrames(ms);
    return ok();
}

ControlReply expectData(Runner&, const Args& args) {
    const std::string& key = args.word(0);
    const std::string value = args.text(1);
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

ControlReply expectNoData(Runner&, const Args& args) {
    const std::string key = args.text(0);
    const auto found = readDataFile(DATA_FILE).find(key);
    return !found ? ok()
                  : expectationFailed("no " + key + " entry in the data file",
                                      key + "=" + std::string(*found));
}

ControlReply expectDataFile(Runner&, const Args& args) {
    const std::string written = args.text(0);
    const DataFileView view = readDataFile(DATA_FILE);
    if (view.exists && view.text == unescapeNewlines(written)) {
        return ok();
    }
    return expectationFailed("the data file to read \"" + written + "\"",
                             view.exists ? "\"" + view.text + "\"" : "no data file");
}

ControlReply expectNoDataFile(Runner&, const Args&) {
    return readDataFile(DATA_FILE).exists ? expectationFailed("no data file", "one") : ok();
}

// The emulated host's `mark`, and the data file's bytes as they are now, for `expect marked`.
ControlReply mark(Runner& runner, const Args&) {
    runner.control("mark");
    std::string bytes;
    runner.markedData() =
        readWholeFile(DATA_FILE, bytes) ? std::optional<std::string>(bytes) : std::nullopt;
    return ok();
}

// The data file holds, byte for byte, what it held at the last mark.
ControlReply expectMarkedDataFile(Runner& runner, const Args&) {
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
ControlReply expectLogLines(const std::string& wanted, bool once) {
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

ControlReply expectLog(Runner&, const Args& args) {
    return expectLogLines(args.text(0), false);
}

ControlReply expectLogOnce(Runner&, const Args& args) {
    return expectLogLines(args.text(0), true);
}

ControlReply expectShippedSettings(Runner& runner, const Args&) {
    return runner.folder().settingsShipped()
               ? ok()
               : expectationFailed("the settings file as shipped", "another, or none");
}

ControlReply expectNoLog(Runner&, const Args&) {
    std::string text;
    return readWholeFile(LOG_FILE, text)
               ? expectationFailed("no log file", "one holding \"" + text + "\"")
               : ok();
}

constexpr Placeholder SECTION = {"SECTION", Takes::WORD, "a section of the settings file",
                                 0,         0,           "DIAGNOSTICS"};
constexpr Placeholder SETTING = {"KEY", Takes::WORD, "a setting's name", 0, 0, "WRITE_LOG"};
constexpr Placeholder SETTING_VALUE = {"VALUE", Takes::TEXT, "a setting's value", 0, 0, "1"};
constexpr Placeholder DATA_LINE = {"LINE", Takes::TEXT, "a line of the data file", 0, 0, "badge=1"};
constexpr Placeholder BYTES = {"TEXT", Takes::TEXT, "bytes of the data file",
                               0,      0,           "badge=1\\r\\n"};
constexpr Placeholder SHARING = {
    "SHARING", Takes::WORD, "what it shares: none, or read, write and delete joined by +",
    0,         0,           "none"};
constexpr Placeholder DISK_BYTES = {
    "BYTES", Takes::WHOLE, "a file size in bytes", 0, std::numeric_limits<std::int64_t>::max(),
    "100"};
constexpr Placeholder KEY = {"KEY", Takes::WORD, "a key of the data file", 0, 0, "badge"};
constexpr Placeholder KEY_AS_WRITTEN = {"KEY", Takes::TEXT, "a key of the data file",
                                        0,     0,           "badge"};
constexpr Placeholder VALUE = {"VALUE", Takes::TEXT, "a value of the data file", 0, 0, "1"};
constexpr Placeholder FILE_TEXT = {"TEXT", Takes::TEXT, "the data file's text", 0, 0, "badge=1\\n"};
constexpr Placeholder STORY = {"FILE", Takes::TEXT, "a scenario file's path",
                               0,      0,           "setup/starting_place.txt"};

// clang-format off
constexpr SimVerb SIM_VERBS[] = {
    {"include FILE", include, DocTable::INCLUDE,
     "runs FILE's lines where the `include` stands; FILE is taken from the folder of the file "
     "that includes it (`include setup/starting_place.txt`). A failure in it names its line and "
     "the line of each `include` it came through; a file that includes itself is an error",
     {&STORY}},
    {"ini SECTION KEY VALUE", ini, DocTable::FILES,
     "changes `TinStarWarden/TinStarWarden.ini` as a player does in an editor: the key's line in "
     "that section becomes `KEY=VALUE` where it stands (a note after the old value goes), so "
     "it keeps its line number; a key new to the section is put after the section's last line "
     "that is not blank (the lines below move down one); a section new to the file is added at "
     "its end, "
     "`[SECTION]` then `KEY=VALUE`, with no blank line before (lines 59 and 60 of the shipped "
     "file, 1 and 2 after `noini`); the notes and the other settings stay (after `noini`, a new "
     "file with only the `ini` lines; after a `load` that made the file, that file); a section "
     "or key the plug-in does not read gets a `note:` on the timeline, with the nearest names",
     {&SECTION, &SETTING, &SETTING_VALUE}},
    {"noini", noSettings, DocTable::FILES,
     "removes the settings file; at its next `load` the plug-in writes the shipped one in its "
     "place and reads that (the log says so); `ini` lines after `noini` begin a new file with "
     "only those lines"},
    {"data LINE", data, DocTable::FILES,
     "appends LINE, as written, to the data file, making the file when there is none (`data "
     "badge=2`; a malformed line can be written too)",
     {&DATA_LINE}},
    {"rawdata TEXT", rawData, DocTable::FILES,
     "appends the bytes of TEXT to the data file with no line end added; `\\r`, `\\n`, `\\t`, "
     "`\\\\` and `\\xHH` name bytes (`rawdata \\xEF\\xBB\\xBFbadge=2\\r` writes a byte-order mark "
     "and a lone CR line end)",
     {&BYTES}},
    {"encode data utf-16le|utf-16be", encodeData, DocTable::FILES,
     "rewrites the data file as Notepad's \"Unicode\" (`utf-16le`) or \"Unicode big endian\" "
     "(`utf-16be`) saves it: a UTF-16 byte-order mark, then each character of its text as "
     "UTF-16"},
    {"nodata", noData, DocTable::FILES,
     "removes the data file (the plug-in makes a new one at its next start)"},
    {"nofolder", noFolder, DocTable::FILES,
     "removes the whole `TinStarWarden/` folder, settings file and all (a first start with only "
     "the `.asi`: the plug-in makes the folder and the data file)"},
    {"folder readonly", folderReadOnly, DocTable::FILES,
     "makes the `TinStarWarden/` folder read-only: no file can be created, renamed or deleted in "
     "it, files already there can still be written (as a folder the player may not write to); "
     "any time, also while the plug-in runs"},
    {"folder locked", folderLocked, DocTable::FILES,
     "makes the folder read-only and its data file unwritable too: every write to them fails, "
     "as while another program holds the file or the disk is full (the file can still be read); "
     "any time"},
    {"folder writable", folderWritable, DocTable::FILES,
     "makes it (and its data file) writable again (it is, at the latest, when the scenario ends)"},
    {"disk full [BYTES]", diskFull, DocTable::FILES,
     "from now on every write that would make a file longer than BYTES (default: the data "
     "file's size now) fails as on a full disk, the file cut at what fit; the simulator's own "
     "writes (trace, timeline, the story's file lines) excepted; any time, natively only (a "
     "process's file size limit: Windows has none, and a story with it fails under `--wine`)",
     {&DISK_BYTES}},
    {"disk room", diskRoom, DocTable::FILES,
     "the disk has room again (it has, at the latest, when the scenario ends)"},
    {"other program holds data|temporary SHARING", otherProgramHolds, DocTable::FILES,
     "another Windows program opens the data file (`data`), or the temporary file a save writes "
     "first (`temporary`: `TinStarWarden.dat.tmp`, made when missing), and holds it, as an "
     "antivirus scan or a cloud-sync client does, letting others share only what SHARING names: "
     "`none`, or `read`, `write` and `delete` joined by `+`; any time, under `--wine` only "
     "(below)",
     {&SHARING}},
    {"other program lets go", otherProgramLetsGo, DocTable::FILES,
     "that program closes the file and ends (it does, at the latest, when the scenario ends)"},
    {"invariants on", invariants, DocTable::FILES,
     "from here on, time moves a frame at a time and the rules below are checked after every "
     "frame; the first that breaks stops the scenario"},
    {"load", load, DocTable::TIME, "the game loads the plug-in (process attach)"},
    {"run MS", run, DocTable::TIME,
     "plays whole frames until the tick count has moved by at least MS (game time moves with it "
     "unless the game is paused); MS beyond what whole frames reach before the tick count comes "
     "round is an error"},
    {"mark", mark, DocTable::TIME,
     "starts a new window for `expect trace`, `expect host`, `expect handles` and `expect door "
     "HASH sets N`, and keeps the data file's bytes for `expect marked datafile`"},
    {"expect data KEY VALUE", expectData, DocTable::EXPECT,
     "the data file on disk has that entry, its value the same text (`0.001000`, not `0.001`)",
     {&KEY, &VALUE}},
    {"expect nodata KEY", expectNoData, DocTable::EXPECT, "the data file lacks that key",
     {&KEY_AS_WRITTEN}},
    {"expect datafile TEXT", expectDataFile, DocTable::EXPECT,
     "the data file reads exactly TEXT (`\\n` for line ends; CR LF and a lone CR read as LF, a "
     "leading byte-order mark left out); the plug-in writes one `KEY=VALUE` line a key, sorted "
     "by key byte for byte (`badge` before `rot_xxxxx` before `xxxxx`)",
     {&FILE_TEXT}},
    {"expect marked datafile", expectMarkedDataFile, DocTable::EXPECT,
     "the data file holds, byte for byte, what it held at the last `mark` (or there is none, as "
     "then)"},
    {"expect nodatafile", expectNoDataFile, DocTable::EXPECT, "there is no data file"},
    {"expect log TEXT", expectLog, DocTable::EXPECT,
     "a line of the diagnostics log `TinStarWarden/TinStarWarden.log` holds TEXT"},
    {"expect log once TEXT", expectLogOnce, DocTable::EXPECT, "exactly one line of it holds TEXT"},
    {"expect nolog", expectNoLog, DocTable::EXPECT, "there is no diagnostics log file"},
    {"expect settings shipped", expectShippedSettings, DocTable::EXPECT,
     "the settings file holds the shipped settings (its line ends aside: the plug-in writes "
     "CR LF on Windows, LF natively)"},
};
// clang-format on

}  // namespace

const VerbTable<Runner>& simVerbs() {
    static const VerbTable<Runner> table = [] {
        VerbTable<Runner> verbs(placeholders::SHARED);
        verbs.add(SIM_VERBS);
        return verbs;
    }();
    return table;
}
