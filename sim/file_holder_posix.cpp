#include "sim/file_holder.h"

bool FileHolder::hold(const std::string&, const std::string&, std::string& error) {
    error =
        "a file held by another program, with the ways it lets others share it, is a Windows "
        "matter: play this with --wine (natively, \"folder locked\" makes every write fail)";
    return false;
}

void FileHolder::letGo() {
    process_ = input_ = 0;
}
