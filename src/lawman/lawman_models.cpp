#include "lawman/lawman_models.h"

#include "host/natives/misc.h"
#include "host/natives/ped.h"

namespace {

// Duplicates stand as listed: a duplicate is simply tested twice.
// clang-format off
constexpr ModelEntry LAWMAN_MODELS[] = {
    {"CS_VALSHERIFF"},
    {"CS_SheriffOwens"},
    {"CS_strsheriff_01"},
    {"CS_VALSHERIFF"},
    {"U_M_M_RhdSheriff_01"},
    {"U_M_M_ValSheriff_01"},
    {"U_M_O_AsbSheriff_01"},
    {"A_M_M_ARMDEPUTYRESIDENT_01"},
    {"A_M_M_ASBDEPUTYRESIDENT_01"},
    {"A_M_M_RHDDEPUTYRESIDENT_01"},
    {"A_M_M_STRDEPUTYRESIDENT_01"},
    {"A_M_M_VALDEPUTYRESIDENT_01"},
    {"CS_ASBDEPUTY_01"},
    {"CS_rhodeputy_01"},
    {"CS_RhoDeputy_02"},
    {"CS_strdeputy_01"},
    {"CS_strdeputy_02"},
    {"CS_VALDEPUTY_01"},
    {"S_M_M_VALDEPUTY_01"},
    {"U_M_M_RhdBackupDeputy_01"},
    {"U_M_M_RhdBackupDeputy_02"},
    {nullptr, 0x6D22857B},
    {nullptr, 0x77EEF186},
    {"CS_NbxPoliceChiefFormal"},
    {"RE_POLICECHASE_MALES_01"},
    {"S_M_M_AmbientBlWPolice_01"},
    {"S_M_M_AmbientSDPolice_01"},
    {"S_M_M_DispatchLeaderPolice_01"},
    {"S_M_M_DispatchPolice_01"},
    {"U_M_M_SDPoliceChief_01"},
    {"U_M_O_BlWPoliceChief_01"},
};

constexpr ModelEntry PATROL_LAWMAN_MODELS[] = {
    {"CS_VALSHERIFF"},
    {"U_M_M_RhdSheriff_01"},
    {"U_M_M_ValSheriff_01"},
    {"U_M_O_AsbSheriff_01"},
    {"A_M_M_ARMDEPUTYRESIDENT_01"},
    {"A_M_M_ASBDEPUTYRESIDENT_01"},
    {"A_M_M_RHDDEPUTYRESIDENT_01"},
    {"A_M_M_STRDEPUTYRESIDENT_01"},
    {"A_M_M_VALDEPUTYRESIDENT_01"},
    {"CS_rhodeputy_01"},
    {"U_M_M_RhdBackupDeputy_01"},
    {"U_M_M_RhdBackupDeputy_02"},
    {nullptr, 0x6D22857B},
    {nullptr, 0x77EEF186},
    {"S_M_M_AmbientSDPolice_01"},
    {"S_M_M_DispatchLeaderPolice_01"},
    {"S_M_M_DispatchPolice_01"},
    {"U_M_M_SDPoliceChief_01"},
    {"U_M_O_BlWPoliceChief_01"},
};

constexpr ModelEntry SWITCH_OFF_LAWMAN_MODELS[] = {
    {nullptr, 0x6D22857B},
    {"U_M_M_RhdSheriff_01"},
    {"CS_rhodeputy_01"},
    {"U_M_M_RhdBackupDeputy_01"},
    {"U_M_M_RhdBackupDeputy_02"},
    {"S_M_M_AmbientSDPolice_01"},
    {"S_M_M_DispatchLeaderPolice_01"},
    {"S_M_M_DispatchPolice_01"},
};

// The never-greeted models before the tail. The last is the model 0x6D22857B itself,
// as in the lists above (its name written as a hex text would hash to no model at all).
constexpr ModelEntry GREET_EXCLUDED_MODELS[] = {
    {"U_M_M_RhdBackupDeputy_01"},
    {"A_F_O_LagTownfolk_01"},
    {"A_F_O_GuaTownfolk_01"},
    {"A_M_M_BiVFancyDRIVERS_01"},
    {"A_M_M_BiVFancyTravellers_01"},
    {"A_M_M_BiVRoughTravellers_01"},
    {"A_M_M_BynFancyDRIVERS_01"},
    {"A_M_M_BynRoughTravellers_01"},
    {"A_M_M_DELIVERYTRAVELERS_COOL_01"},
    {"A_M_M_deliverytravelers_warm_01"},
    {"A_M_M_FAMILYTRAVELERS_COOL_01"},
    {"A_M_M_FAMILYTRAVELERS_WARM_01"},
    {"A_M_M_FARMTRAVELERS_COOL_01"},
    {"A_M_M_FARMTRAVELERS_WARM_01"},
    {"A_M_M_GuaTownfolk_01"},
    {"A_M_M_huntertravelers_cool_01"},
    {"A_M_M_HUNTERTRAVELERS_WARM_01"},
    {"A_M_M_NEAROUGHTRAVELLERS_01"},
    {"A_M_M_RANCHERTRAVELERS_COOL_01"},
    {"A_M_M_RANCHERTRAVELERS_WARM_01"},
    {"A_M_M_RkrFancyDRIVERS_01"},
    {"A_M_M_RkrRoughTravellers_01"},
    {"A_M_M_SDROUGHTRAVELLERS_01"},
    {"A_M_M_WapWarriors_01"},
    {"A_F_M_GuaTownfolk_01"},
    {"A_F_M_SDSERVERSFORMAL_01"},
    {"A_F_O_GuaTownfolk_01"},
    {"A_F_O_LagTownfolk_01"},
    {"A_M_O_GuaTownfolk_01"},
    {"U_M_M_RhdSheriff_01"},
    {"CS_rhodeputy_01"},
    {"U_M_M_RhdBackupDeputy_01"},
    {"U_M_M_RhdBackupDeputy_02"},
    {nullptr, 0x6D22857B},
};

constexpr ModelEntry GREET_EXCLUDED_TAIL_CLOSEST[] = {
    {"S_M_M_AmbientSDPolice_01"},
    {"S_M_M_DispatchLeaderPolice_01"},
    {"S_M_M_DispatchPolice_01"},
};

constexpr ModelEntry GREET_EXCLUDED_TAIL_TARGETED[] = {
    {"S_M_M_DispatchLeaderPolice_01"},
    {"S_M_M_AmbientSDPolice_01"},
    {"S_M_M_DispatchPolice_01"},
};
// clang-format on

}  // namespace

const std::span<const ModelEntry> lawmanModels = LAWMAN_MODELS;
const std::span<const ModelEntry> patrolLawmanModels = PATROL_LAWMAN_MODELS;
const std::span<const ModelEntry> switchOffLawmanModels = SWITCH_OFF_LAWMAN_MODELS;

bool hasModel(Ped ped, Hash model) {
    return isPedModel(ped, model);
}

bool hasAnyModel(Ped ped, std::span<const ModelEntry> models) {
    for (const ModelEntry& entry : models) {
        const Hash model = entry.name != nullptr ? getHashKey(entry.name) : entry.rawHash;
        if (hasModel(ped, model)) {
            return true;
        }
    }
    return false;
}

bool isLawman(Ped ped) {
    return hasAnyModel(ped, lawmanModels);
}

bool isGreetExcludedForClosestGreeting(Ped ped) {
    return hasAnyModel(ped, GREET_EXCLUDED_MODELS) || hasAnyModel(ped, GREET_EXCLUDED_TAIL_CLOSEST);
}

bool isGreetExcludedForTargetedGreeting(Ped ped) {
    return hasAnyModel(ped, GREET_EXCLUDED_MODELS) ||
           hasAnyModel(ped, GREET_EXCLUDED_TAIL_TARGETED);
}
