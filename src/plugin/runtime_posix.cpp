#include "plugin/runtime.h"

// The shared libstdc++ belongs to the process: its pool is not the plug-in's to free.
void releaseRuntime() {}
