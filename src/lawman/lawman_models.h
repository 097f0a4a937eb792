#pragma once
#include <span>

#include "host/native_invoker.h"

// A model list entry: a model name, hashed each time it is tested, or a ready-made hash.
struct ModelEntry {
    const char* name;
    Hash rawHash = 0;
};

// The lawmen: everyone else at the offices is sorted into civilians or free-for-all.
extern const std::span<const ModelEntry> lawmanModels;
// The lawmen swept by the lawman switch pass.
extern const std::span<const ModelEntry> patrolLawmanModels;
// Patrol lawmen whose switch always goes off when targeted.
extern const std::span<const ModelEntry> switchOffLawmanModels;

bool hasModel(Ped ped, Hash model);
// Tests the entries in order and stops at the first match.
bool hasAnyModel(Ped ped, std::span<const ModelEntry> models);
bool isLawman(Ped ped);

// Models never greeted. The two greetings test the list's tail in different orders.
bool isGreetExcludedForClosestGreeting(Ped ped);
bool isGreetExcludedForTargetedGreeting(Ped ped);
