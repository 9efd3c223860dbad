#include "math/Math.h"

#include <cmath>

double Math::sigmoid(double x, double start, double end, double c)
{
    return end + (start - end) * (1 - 1 / (1 + std::exp((0.5 - x) * c)));
}
