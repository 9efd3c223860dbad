#ifndef MATH_MATH_H
#define MATH_MATH_H

class Math {
public:
    // Logistic blend: near `start` for x well below 0.5, (start + end) / 2 at
    // 0.5, near `end` well above; c sets the steepness.
    static double sigmoid(double x, double start, double end, double c);
};

#endif
