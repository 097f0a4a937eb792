#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// Each test runs in a fresh folder of its own, current while the test runs, deleted after.
class TempFolderTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    static std::string readBytes(const std::filesystem::path& file);
    static void writeBytes(const std::filesystem::path& file, const std::string& bytes);

    std::filesystem::path folder;

  private:
    std::filesystem::path previous_;
};
