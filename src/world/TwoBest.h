#ifndef WORLD_TWOBEST_H
#define WORLD_TWOBEST_H

// Keeps the two smallest values offered so far with their shirt numbers.
inline void offerToTwoBest(int number, float value, int& best, float& bestValue, int& second,
                           float& secondValue)
{
    if (value < bestValue) {
        second = best;
        secondValue = bestValue;
        best = number;
        bestValue = value;
    } else if (value < secondValue) {
        second = number;
        secondValue = value;
    }
}

#endif
