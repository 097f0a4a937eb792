#pragma once
#include <string>

enum class ReadResult {
    READ,
    MISSING,  // nothing by that name (or no folder on the way to it)
    IN_USE,   // another program holds it open without letting others read, or has it locked
    FAILED,
};

// The whole file's bytes, as stored: no line end or ^Z translation, so that both builds see
// the same. On failure `error` holds the system's words for it.
ReadResult readWholeFile(const std::string& path, std::string& bytes, std::string& error);
