#include "emulator/disk_limit.h"

bool limitFileSizes(std::uint64_t, std::string& error) {
    error =
        "a full disk is played natively only: Windows has no per-process file size limit, and "
        "Wine none that the simulator can set";
    return false;
}

bool fileSizesCanBeLimited() {
    return false;
}

void unlimitFileSizes() {}

OwnWrites::OwnWrites() = default;
OwnWrites::~OwnWrites() = default;
