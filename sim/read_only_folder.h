#pragma once
#include <string>

// A folder in which no file can be created, renamed or deleted, as a folder the player may not
// write to (Program Files, say). Files already in it can still be written.
bool makeFolderReadOnly(const std::string& folder, std::string& error);
bool makeFolderWritable(const std::string& folder, std::string& error);
