#pragma once
#include <iterator>

#include "host/native_invoker.h"

// The law office spots, in the order they are tested and marked on the map.
// clang-format off
constexpr Vector3 lawOffices[] = {
    {-1808.701f,  -348.481f, 164.649f},
    { -276.183f,   805.232f, 119.38f},
    { 2907.737f,  1312.734f,  44.938f},
    { 1361.42f,  -1303.716f,  77.768f},
    { 2508.345f, -1308.877f,  48.954f},
    { -762.464f, -1268.23f,   44.041f},
    {-3623.448f, -2602.165f, -13.343f},
    {-5530.208f, -2928.799f,  -1.361f},
};
// clang-format on
constexpr std::size_t LAW_OFFICE_COUNT = std::size(lawOffices);
