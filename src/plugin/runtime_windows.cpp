#include "plugin/runtime.h"

// The statically linked libstdc++ (GCC 12) allocates its emergency pool for exceptions when the
// module starts and never frees it: under Wine about 4 KB of the process stayed at every
// reload. A DLL of a few lines holding one std::string kept as much; this call ends it.
namespace __gnu_cxx {
void __freeres();
}

void releaseRuntime() {
    __gnu_cxx::__freeres();
}
