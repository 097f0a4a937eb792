#pragma once
// A test process's own folder under the test temporary folder: the suite runs test processes
// side by side (and the sanitizer run beside the main one), so a fixed name would be shared.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

inline std::filesystem::path processFolder(const std::string& name) {
    const auto folder =
        std::filesystem::path(::testing::TempDir()) / (name + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}
