#pragma once
#include <cstdint>
#include <string>

// A full disk, natively: the process's file size limit, so that every write that would make a
// file longer than the limit fails as on a full disk ("File too large"), the file cut at what
// fit; SIGXFSZ, which would end the process, is ignored meanwhile. Windows has no such limit:
// there limitFileSizes refuses, saying so.
bool limitFileSizes(std::uint64_t bytes, std::string& error);
// Whether limitFileSizes can work here.
bool fileSizesCanBeLimited();
void unlimitFileSizes();

// While one lives, the simulator's own writes (the trace, the timeline, the story's changes to
// the files) are not limited: they record the world, they are no part of it.
class OwnWrites {
  public:
    OwnWrites();
    ~OwnWrites();
    OwnWrites(const OwnWrites&) = delete;
    OwnWrites& operator=(const OwnWrites&) = delete;
};
