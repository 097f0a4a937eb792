#pragma once
#include <cmath>

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

inline float distance3d(Vec3 a, Vec3 b) {
    const Vec3 d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

inline float distance2d(Vec3 a, Vec3 b) {
    const Vec3 d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y);
}

// Sine and cosine of an angle in degrees from plain float arithmetic, so that the native build
// and the Windows build under Wine give the same bits (their maths libraries may not).
void sinCosDegrees(float degrees, float& sine, float& cosine);

// Turns a ped-relative offset by the ped's heading (degrees, about z).
inline Vec3 rotateByHeading(Vec3 v, float headingDegrees) {
    float s = 0.0f;
    float c = 1.0f;
    sinCosDegrees(headingDegrees, s, c);
    return {v.x * c - v.y * s, v.x * s + v.y * c, v.z};
}
