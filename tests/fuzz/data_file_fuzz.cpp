// Any bytes as a data file: the load succeeds, every value reads as a finite number or as
// absent, the attachment a badge would be put on with is finite and on the chest, and writing
// and loading again gives back exactly the entries.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "badge/attachment_values.h"
#include "persist/dict_data_file.h"

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "data file fuzz: %s\n", what);
        std::abort();
    }
}

// In memory where there is a tmpfs: the target writes three files an input.
const std::string& scratchPath() {
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path =
        folder + "/tsw-fuzz-data-file-" + std::to_string(getpid()) + ".dat";
    return path;
}

bool finite(const Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The accessors never raise and give finite numbers; a stored integer reads back as itself;
// the attachment is finite, its offset within reach of the chest on every axis.
void exerciseAccessors(DictDataFile& file) {
    for (const auto& [key, value] : file.entries) {
        const std::int32_t number = file.getInt(key.c_str());
        require(std::isfinite(file.getFloat(key.c_str())), "getFloat gave a number not finite");
        if (number != DictDataFile::ABSENT_INT) {
            DictDataFile copy("unused");
            copy.setInt("k", number);
            require(copy.getInt("k") == number, "setInt then getInt changed the number");
        }
    }
    const Attachment at = sanitizedAttachment(&file);
    require(finite(at.offset) && finite(at.rotation), "an attachment value is not finite");
    for (const float axis : {at.offset.x, at.offset.y, at.offset.z}) {
        require(std::fabs(axis) <= LARGEST_OFFSET, "an offset lies beyond the chest");
    }
    require(std::isfinite(offsetLength(at)), "the offset's length is not finite");
}

DictDataFile savedAndReloaded(DictDataFile& file) {
    require(file.save(true), "write failed");
    DictDataFile reloaded(file.path);
    require(reloaded.load(), "reload failed");
    return reloaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = scratchPath();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    DictDataFile first(path);
    require(first.load(), "load failed");
    exerciseAccessors(first);
    DictDataFile second = savedAndReloaded(first);
    require(second.entries == first.entries, "write and load changed entries");
    require(savedAndReloaded(second).entries == second.entries, "a second round trip differed");
    std::remove(path.c_str());
    return 0;
}
