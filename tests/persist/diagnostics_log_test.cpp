#include <filesystem>
#include <string>

#include "badge/stored_badge.h"
#include "persist/data_file.h"
#include "persist/diagnostics_log.h"
#include "plugin_files.h"
#include "sim/read_only_folder.h"

namespace {

namespace fs = std::filesystem;

using DiagnosticsLogTest = PluginFilesTest;

TEST_F(DiagnosticsLogTest, StartsEmptyAtEachStartAndWritesNothingUntilStarted) {
    DiagnosticsLog fresh;
    fresh.line("never written");
    EXPECT_FALSE(fresh.on());
    diagnosticsLog().line("first run");
    diagnosticsLog().start(LOG);
    diagnosticsLog().line("second run");
    EXPECT_EQ(log(), "second run\n");
    // A log whose folder is missing is simply off.
    DiagnosticsLog nowhere;
    nowhere.start("missing/TinStarWarden.log");
    EXPECT_FALSE(nowhere.on());
    nowhere.line("lost");
    EXPECT_FALSE(fs::exists("missing"));
}

// A link at the log's name is replaced by a log of its own; what it led to stays as it was.
TEST_F(DiagnosticsLogTest, LinkAtTheLogsNameIsNeverWrittenThrough) {
    const std::string outside = "someone else's file\n";
    for (const bool symbolic : {true, false}) {
        writeBytes("outside.txt", outside);
        fs::remove(LOG);
        if (symbolic) {
            fs::create_symlink("../outside.txt", LOG);
        } else {
            fs::create_hard_link("outside.txt", LOG);
        }
        diagnosticsLog().start(LOG);
        diagnosticsLog().line("a line");
        EXPECT_EQ(readBytes("outside.txt"), outside) << (symbolic ? "symbolic" : "hard");
        EXPECT_FALSE(fs::is_symlink(LOG));
        EXPECT_EQ(fs::hard_link_count(LOG), 1u);
        EXPECT_EQ(log(), "a line\n");
    }
}

// Where no file may be made, the log already there is used when it is a plain file of its
// own; one that is a link is not written at all.
TEST_F(DiagnosticsLogTest, InAReadOnlyFolderOnlyAPlainLogIsWritten) {
    writeBytes(LOG, "last game's log\n");
    writeBytes("outside.txt", "outside\n");
    fs::create_symlink("../outside.txt", "TinStarWarden/linked.log");
    std::string error;
    if (!makeFolderReadOnly(DATA_FOLDER, error)) {
        GTEST_SKIP() << error;
    }
    diagnosticsLog().start(LOG);
    diagnosticsLog().line("this game");
    DiagnosticsLog linked;
    linked.start("TinStarWarden/linked.log");
    linked.line("lost");
    ASSERT_TRUE(makeFolderWritable(DATA_FOLDER, error)) << error;
    EXPECT_EQ(log(), "this game\n");
    EXPECT_FALSE(linked.on());
    EXPECT_EQ(readBytes("outside.txt"), "outside\n");
}

TEST_F(DiagnosticsLogTest, StopsGrowingPastItsLimitWithOneLastLine) {
    const std::string line(100, 'x');
    for (int i = 0; i < 1000; ++i) {
        diagnosticsLog().line(line);
    }
    const std::string text = log();
    EXPECT_LE(text.size(), DiagnosticsLog::SIZE_LIMIT);
    EXPECT_GT(text.size(), DiagnosticsLog::SIZE_LIMIT * 9 / 10);
    EXPECT_EQ(linesHolding(text, "the log is full"), 1);
    EXPECT_EQ(text.substr(text.size() - 1), "\n");
    EXPECT_FALSE(diagnosticsLog().on());
}

TEST_F(DiagnosticsLogTest, UnreadableDataFileAndSkippedLinesAreLoggedWithTheirCause) {
    fs::create_directory(DATA);
    EXPECT_FALSE(openDataFile(noFirstEntries, neverWaits));
    EXPECT_NE(log().find("cannot read TinStarWarden/TinStarWarden.dat: Is a directory"),
              std::string::npos)
        << log();
    fs::remove(DATA);
    writeBytes(DATA, "badge=1\nnonsense\nxxxxx=0\n=\n");
    diagnosticsLog().start(LOG);
    forgetDataFile();
    EXPECT_TRUE(openDataFile(noFirstEntries, neverWaits));
    EXPECT_EQ(log(),
              "TinStarWarden/TinStarWarden.dat line 2 skipped: not one KEY=VALUE\n"
              "TinStarWarden/TinStarWarden.dat line 4 skipped: not one KEY=VALUE\n");
}

// A folder the player may not write to, where the data file itself can still be written:
// each save goes into the file, flushed, and the log says once that saves there are not
// atomic; again only after saves were atomic in between.
TEST_F(DiagnosticsLogTest, ReadOnlyFolderSavesInPlaceAndSaysSoOnce) {
    writeBytes(DATA, "badge=2\nxxxxx=0\n");
    ASSERT_TRUE(openDataFile(noFirstEntries, neverWaits));
    std::string error;
    if (!makeFolderReadOnly(DATA_FOLDER, error)) {
        GTEST_SKIP() << error;
    }
    for (int step = 0; step < 5; ++step) {
        dataFile->setInt("badge", 3 + step);
        saveDataFileStep();
        EXPECT_FALSE(dataFile->isDirty());
        EXPECT_EQ(readBytes(DATA), "badge=" + std::to_string(3 + step) + "\nxxxxx=0\n");
    }
    EXPECT_TRUE(dataFile->flushPending());
    flushDataFile();
    EXPECT_FALSE(dataFile->flushPending());
    EXPECT_FALSE(fs::exists(std::string(DATA) + ".tmp"));
    ASSERT_TRUE(makeFolderWritable(DATA_FOLDER, error)) << error;
    EXPECT_EQ(linesHolding(log(), "in place, not atomically"), 1) << log();
    EXPECT_EQ(linesHolding(log(), "failed"), 0) << log();

    dataFile->setInt("badge", 1);
    saveDataFile();
    EXPECT_TRUE(dataFile->inPlaceCause.empty());
    ASSERT_TRUE(makeFolderReadOnly(DATA_FOLDER, error)) << error;
    dataFile->setInt("badge", 2);
    saveDataFile();
    ASSERT_TRUE(makeFolderWritable(DATA_FOLDER, error)) << error;
    EXPECT_EQ(linesHolding(log(), "in place, not atomically"), 2) << log();
    EXPECT_EQ(readBytes(DATA), "badge=2\nxxxxx=0\n");
}

// A folder where the save's new copy is first written: the file is saved in place, and the log
// names the folder in the way, not the plug-in's folder, which is writable.
TEST_F(DiagnosticsLogTest, AFolderAtTheTemporaryNameIsNamedAsTheCauseOfSavesInPlace) {
    writeBytes(DATA, "badge=2\n");
    ASSERT_TRUE(openDataFile(noFirstEntries, neverWaits));
    fs::create_directory(std::string(DATA) + ".tmp");
    dataFile->setInt("badge", 3);
    saveDataFile();
    EXPECT_FALSE(dataFile->isDirty());
    EXPECT_EQ(readBytes(DATA), "badge=3\n");
    EXPECT_EQ(linesHolding(log(),
                           "saving TinStarWarden/TinStarWarden.dat in place, not atomically: the "
                           "name its new copy is first written under, "
                           "TinStarWarden/TinStarWarden.dat.tmp, is taken: a folder by that name "
                           "is in the way (remove that, and saves are whole again)"),
              1)
        << log();
    EXPECT_EQ(linesHolding(log(), "no file can be made beside it"), 0) << log();
    fs::remove(std::string(DATA) + ".tmp");
    dataFile->setInt("badge", 4);
    saveDataFile();
    EXPECT_TRUE(dataFile->inPlaceCause.empty());
}

// Neither a file beside it nor the file itself can be written (here it was deleted): every
// save fails and keeps the values, the log says so once, and the first save that works again
// writes them all.
TEST_F(DiagnosticsLogTest, SavesThatCannotBeWrittenAtAllFailHonestlyAndIsLoggedOnce) {
    writeBytes(DATA, "badge=2\nxxxxx=0\n");
    ASSERT_TRUE(openDataFile(noFirstEntries, neverWaits));
    fs::remove(DATA);
    std::string error;
    if (!makeFolderReadOnly(DATA_FOLDER, error)) {
        GTEST_SKIP() << error;
    }
    for (int step = 0; step < 5; ++step) {
        dataFile->setInt("badge", 3 + step);
        EXPECT_FALSE(dataFile->save(false));
        saveDataFile();
        EXPECT_TRUE(dataFile->isDirty());
    }
    EXPECT_FALSE(fs::exists(DATA));
    EXPECT_FALSE(fs::exists(std::string(DATA) + ".tmp"));
    ASSERT_TRUE(makeFolderWritable(DATA_FOLDER, error)) << error;
    EXPECT_EQ(linesHolding(log(), "failed"), 1) << log();
    EXPECT_EQ(linesHolding(log(), "the file on disk stays as it was"), 1) << log();
    saveDataFile();
    EXPECT_EQ(readBytes(DATA), "badge=7\nxxxxx=0\n");
    EXPECT_EQ(linesHolding(log(), "saving TinStarWarden/TinStarWarden.dat works again"), 1);
}

// Each stored value that is not what the badge is put on with gets one line: what it reads as
// and what is done instead. The plug-in's own values, and badge 7 ("REMOVE BADGE"), get none.
TEST_F(DiagnosticsLogTest, StoredValuesThatReadAsSomethingElseAreNamedOnceEach) {
    writeBytes(DATA,
               "badge=7\nrot_xxxxx=-14\nrot_yyyyy=0\nrot_zzzzz=0.500000\nxxxxx=0\nyyyyy=0\n"
               "zzzzz=-0.010000\n");
    ASSERT_TRUE(openDataFile(noFirstEntries, neverWaits));
    logUnusableStoredValues();
    EXPECT_EQ(log(), "");
    forgetDataFile();

    writeBytes(DATA,
               "badge=2.5\nrot_xxxxx=-14\nrot_yyyyy=0\nxxxxx=0,02\nyyyyy=0.5 \nzzzzz=1e3\n"
               "Badge=3\nmine=1\n");
    ASSERT_TRUE(openDataFile(noFirstEntries, neverWaits));
    logUnusableStoredValues();
    const std::string at = "TinStarWarden/TinStarWarden.dat: ";
    // The keys are this program's settings: the shipped ones, made at its start when missing.
    const std::string reset =
        " there instead (with badge adjustment switched on by Numpad 0, Numpad 5 puts the badge "
        "back where it started and writes all six)\n";
    EXPECT_EQ(
        log(),
        at +
            "badge=2.5: not a whole number: reads as 2, the rest (\".5\") ignored, so badge 2 "
            "(s_badgepinkerton01x) is put on\n" +
            at +
            "xxxxx=0,02: not a number as written: reads as 0, the rest (\",02\") ignored "
            "(a decimal point is written '.'), so the badge is put on with 0 there\n" +
            at +
            "zzzzz=1e3: too far from the chest to be a place on it: the badge is put on "
            "with 0" +
            reset + at + "rot_zzzzz is missing: the badge is put on with 0" + reset + at +
            "\"Badge=3\" is no value TinStarWarden uses, kept as it is (did you mean badge?)\n" +
            at + "\"mine=1\" is no value TinStarWarden uses, kept as it is\n");
    forgetDataFile();

    writeBytes(DATA, "badge=-3\n");
    diagnosticsLog().start(LOG);
    ASSERT_TRUE(openDataFile(noFirstEntries, neverWaits));
    logUnusableStoredValues();
    EXPECT_EQ(linesHolding(log(), at + "badge=-3: no badge has that number (0 to 5 are the "
                                       "badges, 7 none): no badge is put on until one is chosen "
                                       "at a law office\n"),
              1)
        << log();
}

}  // namespace
