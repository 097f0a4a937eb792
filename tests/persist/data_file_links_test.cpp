// A link planted where a save writes (its temporary file, beside the data file) is never
// written through: the file it leads to stays as it was.
#include <filesystem>
#include <string>

#include "persist/dict_data_file.h"
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

}  // namespace
