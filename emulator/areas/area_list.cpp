// Every area of the emulated game, one line each. The order is the order of their verbs in a
// usage listing and of their ped flags.
#include "emulator/world.h"

void addHostArea(World& world);
void addMiscArea(World& world);
void addEntityArea(World& world);
void addPlayerArea(World& world);
void addLawArea(World& world);
void addClothingArea(World& world);
void addPromptArea(World& world);
void addMessageArea(World& world);
void addRelationshipArea(World& world);
void addInteriorArea(World& world);
void addPedStateArea(World& world);
void addSpeechArea(World& world);
void addPedTaskArea(World& world);
void addDoorArea(World& world);
void addBlipArea(World& world);

void addAllAreas(World& world) {
    addHostArea(world);
    addMiscArea(world);
    addEntityArea(world);
    addPlayerArea(world);
    addLawArea(world);
    addClothingArea(world);
    addPromptArea(world);
    addMessageArea(world);
    addRelationshipArea(world);
    addInteriorArea(world);
    addPedStateArea(world);
    addSpeechArea(world);
    addPedTaskArea(world);
    addDoorArea(world);
    addBlipArea(world);
}
