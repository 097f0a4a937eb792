// A link planted where a save writes (its temporary file beside the data file, or the data file
// itself where a save goes into it) is never written through: the file it leads to stays as
// it was.
#include <filesystem>
#include <string>

#include "persist/dict_data_file.h"
#include "sim/read_only_folder.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

const std::string OUTSIDE = "someone else's file\n";

class DataFileLinks : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directory("outside");
        writeBytes("outside/file.txt", OUTSIDE);
        writeBytes("data.dat", "badge=1\n");
        ASSERT_TRUE(file.load());
        file.setInt("badge", 2);
    }

    void expectSavedAndTheOutsideFileUntouched() {
        EXPECT_TRUE(file.save(false)) << file.error;
        EXPECT_EQ(readBytes("outside/file.txt"), OUTSIDE);
        EXPECT_EQ(fs::hard_link_count("outside/file.txt"), 1u);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status("data.dat")));
        EXPECT_EQ(readBytes("data.dat"), "badge=2\n");
        EXPECT_FALSE(fs::exists(fs::symlink_status("data.dat.tmp")));
    }

    DictDataFile file{"data.dat"};
};

TEST_F(DataFileLinks, SymbolicLinkAtTheTemporaryName) {
    fs::create_symlink("outside/file.txt", "data.dat.tmp");
    expectSavedAndTheOutsideFileUntouched();
}

TEST_F(DataFileLinks, HardLinkAtTheTemporaryName) {
    fs::create_hard_link("outside/file.txt", "data.dat.tmp");
    expectSavedAndTheOutsideFileUntouched();
}

// Following it would create a file wherever the link points.
TEST_F(DataFileLinks, LinkAtTheTemporaryNameToNoFileYet) {
    fs::create_symlink("outside/new.txt", "data.dat.tmp");
    expectSavedAndTheOutsideFileUntouched();
    EXPECT_FALSE(fs::exists("outside/new.txt"));
}

// Where no file may be made in the folder, a save goes into the data file itself, but only
// when it is a plain file of its own.
class DataFileInPlace : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directory("game");
    }

    void TearDown() override {
        std::string ignored;
        makeFolderWritable("game", ignored);
        TempFolderTest::TearDown();
    }

    // Loads the file, then saves badge=2 while the game folder is read-only.
    void saveInReadOnlyFolder() {
        ASSERT_TRUE(file.load());
        file.setInt("badge", 2);
        std::string error;
        if (!makeFolderReadOnly("game", error)) {
            GTEST_SKIP() << error;
        }
        saved = file.save(false);
        ASSERT_TRUE(makeFolderWritable("game", error)) << error;
    }

    DictDataFile file{"game/data.dat"};
    bool saved = false;
};

TEST_F(DataFileInPlace, APlainFileOfItsOwnIsWrittenInPlace) {
    writeBytes("game/data.dat", "badge=1\nxxxxx=0.5\n");
    saveInReadOnlyFolder();
    if (IsSkipped()) {
        return;
    }
    EXPECT_TRUE(saved) << file.error;
    EXPECT_FALSE(file.inPlaceCause.empty());
    EXPECT_EQ(readBytes("game/data.dat"), "badge=2\nxxxxx=0.5\n");
    EXPECT_FALSE(fs::exists("game/data.dat.tmp"));
}

TEST_F(DataFileInPlace, ALinkedFileIsNotWritten) {
    for (const bool symbolic : {true, false}) {
        writeBytes("outside.txt", "badge=1\n");
        fs::remove("game/data.dat");
        if (symbolic) {
            fs::create_symlink("../outside.txt", "game/data.dat");
        } else {
            fs::create_hard_link("outside.txt", "game/data.dat");
        }
        saveInReadOnlyFolder();
        if (IsSkipped()) {
            return;
        }
        EXPECT_FALSE(saved);
        EXPECT_TRUE(file.isDirty());
        EXPECT_NE(file.error.find(symbolic ? "symbolic link" : "hard link"), std::string::npos)
            << file.error;
        EXPECT_EQ(readBytes("outside.txt"), "badge=1\n");
    }
}

}  // namespace
