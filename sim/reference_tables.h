#pragma once
// The tables a scenario writer looks things up in (badges, offices, doors, door boxes, the
// law's models, relationship groups, speech lines), as Markdown made from the emulated game's
// own tables: docs/reference.md is this text, and a test fails while it is not.
#include <string>

std::string referenceTables();
