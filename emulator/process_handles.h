#pragma once
#include <map>
#include <string>

// What the process holds open, by kind, for a plug-in's reloads to be held against: Windows
// handles by object type (Event, File, Thread, ...) under Wine, open file descriptors by kind
// (file, pipe, socket, ...) natively.
std::map<std::string, long> processHandles();

// The memory the process has made its own: its commit charge under Wine,
// the heap in use natively. For a plug-in's reloads, like the handles.
long long processMemoryBytes();
