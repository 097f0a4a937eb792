#pragma once
#include <filesystem>
#include <string>

#include "persist/data_file.h"
#include "persist/diagnostics_log.h"
#include "temp_folder.h"

// The plug-in's folder with its log on, as the tests of the plug-in's own use of the data file
// need it; the data file itself is each test's.
class PluginFilesTest : public TempFolderTest {
  protected:
    static constexpr const char* LOG = "TinStarWarden/TinStarWarden.log";
    static constexpr const char* DATA = "TinStarWarden/TinStarWarden.dat";

    void SetUp() override {
        TempFolderTest::SetUp();
        std::filesystem::create_directory(DATA_FOLDER);
        diagnosticsLog().start(LOG);
    }

    void TearDown() override {
        // Later tests start from a log that is off and a data file that saves.
        diagnosticsLog() = DiagnosticsLog();
        if (dataFile != nullptr) {
            dataFile->setInt("end", 1);
            saveDataFile();
        }
        forgetDataFile();
        TempFolderTest::TearDown();
    }

    static void noFirstEntries(DictDataFile&) {}
    // Natively no other program can hold a file: openDataFile must never wait.
    static void neverWaits(std::uint32_t) { ADD_FAILURE() << "waited for a file nobody holds"; }
    static std::string log() { return readBytes(LOG); }

    // As an unload does: a test that opens the data file again starts afresh.
    static void forgetDataFile() { closeDataFile(true); }

    static int linesHolding(const std::string& text, const std::string& part) {
        int count = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++count;
        }
        return count;
    }
};
