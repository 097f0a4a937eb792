#pragma once
#include <string>

// The system's side of a durable save. Each returns false on failure and then puts the
// system's own words for it in `error`.

// Moves source over target in one step: a reader sees the old file or the new one, never a
// mix. Source is still there after a failure.
bool replaceFile(const std::string& source, const std::string& target, std::string& error);

// Writes what the system still holds of the file to the disk.
bool flushFileToDisk(const std::string& path, std::string& error);

// Makes the folder's own record of a replace durable (a no-op where the system needs none).
bool flushFolderToDisk(const std::string& filePath, std::string& error);
