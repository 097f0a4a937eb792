#pragma once
// The emulator's command language, split by area: each handler takes the command's words
// (the verb already matched) and answers with a ControlReply.
#include <string>
#include <vector>

#include "emulator/control_api.h"
#include "emulator/emulator.h"

struct ControlReply {
    int code = TSW_OK;
    std::string text;
};

using Words = std::vector<std::string>;

ControlReply ok(std::string text = {});
ControlReply badCommand(std::string text);
ControlReply expectationFailed(std::string expected, std::string found);

Words splitWords(const std::string& line);
// The words from index first on, joined by single spaces, outer quotes removed.
std::string joinFrom(const Words& words, std::size_t first);
bool parseNumber(const std::string& text, double& value);
bool parseUnsigned(const std::string& text, std::uint32_t& value);
bool parseHash(const std::string& text, std::uint64_t& value);
// A native's name from the native list, or its hash.
bool parseNative(const std::string& text, std::uint64_t& hash);
bool parseOnOff(const std::string& text, bool& value);

// Handlers of world commands (world_commands.cpp) and expectations (world_expectations.cpp);
// each returns false in `handled` when the words are not its own.
ControlReply worldCommand(Emulator& emu, const Words& words, bool& handled);
ControlReply worldExpectation(Emulator& emu, const Words& words, bool& handled);
