#pragma once
// The few Windows types that the host interface and the library entry point use. The native
// build (the plug-in loaded by the emulated host) gets same-sized stand-ins.

#ifdef _WIN32
#include <windows.h>
#define TSW_PLUGIN_ENTRY
#else
#include <cstdint>
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LPVOID = void*;
#define WINAPI
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
// The shared object exports only its entry point, as the DLL exports nothing at all.
#define TSW_PLUGIN_ENTRY __attribute__((visibility("default")))
#endif
