#ifndef MATH_SINE_H
#define MATH_SINE_H

#include "math/Function.h"

// offset + amplitude * amp * sin(phase + 2 * pi * in / period); phase in
// radians, period in the unit of `in`. A zero period gives the offset.
class Sine : public Function<float, float> {
public:
    float amplitude;
    float period;
    float phase;
    float offset;

    Sine(float amplitude, float period, float phase, float offset);
    Sine(const Sine& other) = default;
    Sine& operator=(const Sine& other) = default;
    ~Sine() override {}

    float operator()(const float& in, float amp) override;

    Sine operator/(float other) const;
    Sine operator+(const Sine& other) const;
};

#endif
