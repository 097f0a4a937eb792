#include "temp_folder.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

void TempFolderTest::SetUp() {
    std::string pattern = (fs::temp_directory_path() / "tsw-persist-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    previous_ = fs::current_path();
    fs::current_path(folder);
}

void TempFolderTest::TearDown() {
    fs::current_path(previous_);
    fs::remove_all(folder);
}

std::string TempFolderTest::readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TempFolderTest::writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}
