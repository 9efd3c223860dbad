#include "planning/Footstep.h"

Footstep::Footstep() : position(0, 0, 0), orientation(0.0f, 0.0f), duration(0), dblSuppPerc(0), foot(DOUBLE) {}

Footstep::Footstep(Vector3f pos, std::pair<float, float> ori, float dur, int footsupp)
    : position(pos), orientation(ori), duration(dur), dblSuppPerc(0), foot(footsupp) {}

void Footstep::Set(Vector3f pos, std::pair<float, float> ori, float dur, int footsupp) {
    position = pos;
    orientation = ori;
    duration = dur;
    dblSuppPerc = 0;
    foot = footsupp;
}

float Footstep::GetDblSupportT1() const {
    return static_cast<float>(static_cast<double>(dblSuppPerc) * duration / 2 - 0.005);
}

float Footstep::GetDblSupportT2() const {
    return static_cast<float>((1 - static_cast<double>(dblSuppPerc) / 2) * duration + 0.005);
}

int Footstep::GetSupportFoot(float t) const {
    return (t < GetDblSupportT1() || t > GetDblSupportT2()) ? DOUBLE : foot;
}

int Footstep::GetSupportPhase(float t) const {
    if (t < GetDblSupportT1()) {
        return 2;
    }
    return t > GetDblSupportT2() ? 4 : 3;
}
