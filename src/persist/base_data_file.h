#pragma once
#include <string>

// A line-oriented file held in memory: the load loop, the dirty flag and the save policy.
// How a line reads and how the whole file is written belong to the derived class.
class BaseDataFile {
  public:
    // Reads every line into memory. False when the file cannot be read; nothing is created.
    virtual bool load();
    // Writes when something changed since the last successful write, or when forced.
    virtual bool save(bool force);
    virtual bool isDirty() const;
    // False for a line of the wrong shape, which load then skips.
    virtual bool parseLine(const std::string& line) = 0;
    // Replaces the file with the memory's contents; false leaves the old file as it was.
    virtual bool write() = 0;

    std::string path;
    bool dirty = false;

  protected:
    explicit BaseDataFile(std::string filePath);
    // Never destroyed through a base pointer: the one data file lives as long as the process.
    ~BaseDataFile() = default;
};
