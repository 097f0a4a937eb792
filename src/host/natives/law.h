#pragma once
#include "host/native_invoker.h"

inline bool isLawIncidentActive(Player player) {
    return invokeNative<bool>(natives::IS_LAW_INCIDENT_ACTIVE, player);
}
