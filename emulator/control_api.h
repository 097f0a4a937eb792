#pragma once
// The small C interface through which the simulator drives the emulated host. C, so that the
// Windows build of the simulator can use it across the ScriptHookRDR2.dll boundary.
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum TswControlResult {
    TSW_OK = 0,
    TSW_EXPECTATION_FAILED = 1,  // the reply says what was expected and what was found
    TSW_BAD_COMMAND = 2,         // the reply says what is wrong with the command
    TSW_EMULATOR_FAILED = 3,     // the reply names the failure (unknown native, wrong arity...)
    // The command does not read as any form of its verb: the reply's first line says which word
    // is wrong and why; the lines after it show the command with a caret under that word, and
    // the usage.
    TSW_MALFORMED_COMMAND = 4,
};

typedef void (*TswTimelineSink)(uint32_t gameTime, const char* text, void* context);
typedef void (*TswFrameHook)(uint32_t gameTime, void* context);

// A fresh emulated game: new world and clock, no plug-in loaded (an earlier one is unloaded).
void tswEmuReset(void);

// One command, in the words of docs/scenarios.md ("run 1000", "player at office 1",
// "expect badge none", ...). The reply (always NUL-terminated) holds a message or an answer.
int tswEmuControl(const char* command, char* reply, size_t replySize);

void tswEmuSetTimelineSink(TswTimelineSink sink, void* context);
void tswEmuSetFrameHook(TswFrameHook hook, void* context);

enum TswReportPart {
    TSW_REPORT_MAP = 0,    // the fixed places: law offices, door spots
    TSW_REPORT_STATE = 1,  // the world now: game time, player, peds, badge, blips, doors, ...
};

// The world as a JSON object, for the scenario report, each area writing its own part. Writes
// at most replySize - 1 bytes and a NUL; returns the whole text's length (ask again with a
// bigger buffer when it does not fit).
size_t tswEmuReport(int part, char* reply, size_t replySize);

#ifdef __cplusplus
}
#endif
