#pragma once
#include "host/natives/audio.h"

// The lawman switch of a ped: on stops the ped's own speech, off lets it speak again.
inline void setLawmanSwitch(Ped ped, bool on) {
    stopPedSpeaking(ped, on);
}
