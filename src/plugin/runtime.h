#pragma once

// At an unload: gives back what the C++ runtime built into the module keeps for itself and
// would not free when the module goes.
void releaseRuntime();
