#include "sim/sim_verbs.h"

namespace {

// clang-format off
constexpr const char* USAGES[] = {
    "ini SECTION KEY VALUE",
    "data LINE",
    "rawdata TEXT",
    "nodata",
    "nofolder",
    "folder readonly",
    "folder writable",
    "invariants on",
    "expect data KEY VALUE",
    "expect nodata KEY",
    "expect datafile TEXT",
    "expect nodatafile",
    "expect log TEXT",
    "expect log once TEXT",
    "expect nolog",
};
// clang-format on

}  // namespace

std::span<const char* const> simVerbUsages() {
    return USAGES;
}
