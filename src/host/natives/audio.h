#pragma once
#include "host/native_invoker.h"

// The lawman switch: 1 stops the ped's speech, 0 allows it.
inline void stopPedSpeaking(Ped ped, bool stop) {
    invokeNative(natives::STOP_PED_SPEAKING, ped, stop);
}

inline bool isAnySpeechPlaying(Ped ped) {
    return invokeNative<bool>(natives::IS_ANY_SPEECH_PLAYING, ped);
}

// The game's speech parameters, in its slot order: it reads all eight 8-byte slots (0x40
// bytes), so the record has all eight although the plug-in fills seven.
struct SpeechRecord {
    std::uint64_t speechName;  // address of the line's name
    std::uint64_t voiceName;
    std::uint64_t variation;
    std::uint64_t speechParams;  // hash of a SPEECH_PARAMS_... name
    std::uint64_t listenerPed;
    std::uint64_t syncOverNetwork;
    std::uint64_t v7;
    std::uint64_t v8;  // never filled: 0
};
static_assert(sizeof(SpeechRecord) == 0x40);

inline bool playPedAmbientSpeechNative(Ped speaker, SpeechRecord* record) {
    return invokeNative<bool>(natives::PLAY_PED_AMBIENT_SPEECH_NATIVE, speaker, record);
}
