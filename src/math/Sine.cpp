#include "math/Sine.h"

#include <cmath>

Sine::Sine(float a, float p, float ph, float o) : amplitude(a), period(p), phase(ph), offset(o) {}

float Sine::operator()(const float& in, float amp)
{
    if (period == 0)
        return offset;
    float turns = 2 * (in / period);
    double value = offset + static_cast<double>(amplitude) * amp *
                                std::sin(static_cast<double>(phase) + turns * M_PI);
    return static_cast<float>(value);
}

Sine Sine::operator/(float other) const
{
    return Sine(amplitude / other, period / other, phase / other, offset / other);
}

Sine Sine::operator+(const Sine& other) const
{
    return Sine(amplitude + other.amplitude, period + other.period, phase + other.phase,
                offset + other.offset);
}
