// Adds every area of area_list.inc to the world, in the list's order.
#include "emulator/world.h"

#define TSW_AREA(file, add) void add(World& world);
#include "emulator/areas/area_list.inc"
#undef TSW_AREA

void addAllAreas(World& world) {
#define TSW_AREA(file, add) add(world);
#include "emulator/areas/area_list.inc"
#undef TSW_AREA
}
