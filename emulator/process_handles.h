#pragma once
#include <map>
#include <string>

// What the process holds open, by kind, for a plug-in's reloads to be held against: Windows
// handles by object type (Event, File, Thread, ...) under Wine, open file descriptors by kind
// (file, pipe, socket, ...) natively.
std::map<std::string, long> processHandles();
