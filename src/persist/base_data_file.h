#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A line-oriented file held in memory: the load loop, the dirty flag and the save policy.
// How a line reads and how the whole file is written belong to the derived class.
class BaseDataFile {
  public:
    // Reads every line into memory. False when the file cannot be read; nothing is created,
    // and the entries stay as they were.
    virtual bool load();
    // Writes when something changed since the last successful write, or when forced. The new
    // file is on the disk before it replaces the old one; where no new copy can be made beside
    // it, the file is written in place (see inPlaceCause).
    virtual bool save(bool force);
    virtual bool isDirty() const;
    // False for a line of the wrong shape, which load then skips.
    virtual bool parseLine(const std::string& line) = 0;
    // Replaces the file with the memory's contents; false leaves the old file as it was.
    virtual bool write() = 0;

    // As save(false), but the disk flush waits for flushToDisk: the file is still replaced
    // whole, and a held edit key can save every step without waiting for the disk each time.
    bool saveWithoutFlush();
    // Flushes the last save made without a flush; false when that flush failed.
    bool flushToDisk();
    bool flushPending() const;

    std::string path;
    bool dirty = false;
    // The lines (counted from 1) the last load skipped as malformed.
    std::vector<std::size_t> skippedLines;
    // Set by a load of a UTF-16 file (Notepad's "Unicode"), read as the UTF-8 it stands for:
    // which of the two it was. The next save writes it in the plain format.
    const char* decodedFrom = nullptr;
    // What the system said of the last load, save or flush that failed.
    std::string error;
    // The last load failed because another program holds the file (Windows only): it may
    // well be free a moment later.
    bool inUse = false;
    // Set by a write that went into the file itself because no new copy could be made beside
    // it (why, with the system's words); empty after one that replaced the file whole. Such a
    // write is not atomic: a crash part way leaves the file part new, part old (a disk too
    // full for the new text fails it before the old bytes are touched).
    std::string inPlaceCause;

  protected:
    explicit BaseDataFile(std::string filePath);
    // Never destroyed through a base pointer: the one data file lives as long as the process.
    ~BaseDataFile() = default;

    // Read by write(): flush the new file before it replaces the old one.
    bool flushOnWrite_ = true;
    // Set by write() when the file was replaced without a flush.
    bool flushPending_ = false;
};
