#pragma once
#include "host/native_invoker.h"

// The lawman switch: 1 stops the ped's speech, 0 allows it.
inline void stopPedSpeaking(Ped ped, bool stop) {
    invokeNative(natives::STOP_PED_SPEAKING, ped, stop);
}

inline bool isAnySpeechPlaying(Ped ped) {
    return invokeNative<bool>(natives::IS_ANY_SPEECH_PLAYING, ped);
}

// The game reads the whole record: eight 8-byte slots (0x40 bytes).
struct SpeechRecord {
    std::uint64_t slots[8];
};
static_assert(sizeof(SpeechRecord) == 0x40);

inline bool playPedAmbientSpeechNative(Ped speaker, SpeechRecord* record) {
    return invokeNative<bool>(natives::PLAY_PED_AMBIENT_SPEECH_NATIVE, speaker, record);
}
