// A plug-in with no imports at all, so no GetTickCount import that the simulator could point
// at the emulated clock: it must refuse to load it rather than let it read the real clock.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
