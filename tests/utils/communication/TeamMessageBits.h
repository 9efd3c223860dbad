#ifndef TESTS_UTILS_COMMUNICATION_TEAMMESSAGEBITS_H
#define TESTS_UTILS_COMMUNICATION_TEAMMESSAGEBITS_H

#include <string>
#include <utility>
#include <vector>

#include "utils/communication/AgentComm.h"

// A heard message written field by field: (value, width) pairs, most
// significant bit first, padded with zero bits to 120.
inline std::string teamMessage(const std::vector<std::pair<int, int>>& fields)
{
    std::vector<int> bits;
    for (const auto& field : fields)
        for (int b = field.second - 1; b >= 0; --b)
            bits.push_back((field.first >> b) & 1);
    bits.resize(AgentComm::MSG_BITS, 0);
    std::string out;
    for (int c = 0; c < AgentComm::MSG_CHARS; ++c) {
        int index = 0;
        for (int b = 0; b < 6; ++b)
            index = (index << 1) | bits[6 * c + b];
        out += AgentComm::allowed[index];
    }
    return out;
}

#endif
