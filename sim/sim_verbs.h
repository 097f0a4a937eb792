#pragma once
// The commands the simulator handles itself (the game folder's files, the expectations on
// them, the rules, and its own forms of `load` and `run`), in the verb table's form: a command
// none of them takes goes to the emulated host. docs/scenarios.md lists each usage.
#include "emulator/verb_table.h"

class Runner;
using SimVerb = VerbOf<Runner>;

const VerbTable<Runner>& simVerbs();
