#include <cerrno>
#include <cstring>

#include "persist/system_error.h"

bool systemFailed(std::string& error) {
    error = std::strerror(errno);
    return false;
}
