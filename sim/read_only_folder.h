#pragma once
#include <string>

// A folder in which no file can be created, renamed or deleted, as a folder the player may not
// write to (Program Files, say). Files already in it can still be written.
bool makeFolderReadOnly(const std::string& folder, std::string& error);
bool makeFolderWritable(const std::string& folder, std::string& error);

// A file that can be read but not written, not even by root, as one another program holds or
// one on a full disk.
bool makeFileReadOnly(const std::string& file, std::string& error);
bool makeFileWritable(const std::string& file, std::string& error);
