#ifndef STRATEGY_PASSMETHODS_H
#define STRATEGY_PASSMETHODS_H

#include <vector>

#include "geometry/Vector.h"

class WorldState;

// The ball-and-kick model of passing: how far and how fast a kicked ball
// rolls, which kick the passer uses, the sector in front of the ball worth
// considering, how finely to sample it, and which points are off the field
// or within an opponent's reach. Angles in radians.
class PassMethods {
public:
    // Class of a candidate kick direction: off the field, blocked, a pass,
    // a shot between their posts.
    enum { OUT = -2, OFF = -1, PASSE = 0, GOAL = 1 };

    int mKickType;
    float velOponente;
    float tPosition;
    float tForKick;
    float alcanceRel;
    float velInicialBola;
    int nCycle;
    float duracaoChute;
    float velocidadeAliado;
    float atrito;
    float timeStep;
    float alcanceChute;
    float dirFactor;
    float angDisp;
    float Lx;
    float Ly;
    int SUPERKICK;
    int DYNAMICKICK;
    WorldState* ws;

    PassMethods();

    // Kick type from the passer's distance to their goal, ball speed from
    // the kick type and the robot type; refreshes the roll distance.
    void calculaTamanhoTrajetoria();
    // Unit directions from the ball to the lower and the upper sector bound.
    std::vector<Vector> getBallZone() const;
    // Angle between neighbouring kick directions when the ball has covered
    // the fraction distRel of its roll.
    float getSpacingAngle(float distRel) const;
    // Unit directions from the lower bound zone[0] turned counter-clockwise
    // in equal steps to the upper bound zone[1], no two further apart than
    // spacing; one direction along the lower bound when the sector is too
    // narrow for two.
    static std::vector<Vector> fanDirections(const std::vector<Vector>& zone, float spacing);
    bool isOfftheField(Vector p) const;
    // A standing opponent can reach p before the ball arrives.
    bool isBlockedPoint(Vector p) const;

    float getVelOponente() const { return velOponente; }
    int getKickType() const { return mKickType; }
    void setKickType(int type) { mKickType = type; }
    float getKickDuration() const { return tForKick; }
    void setKickDuration(float t) { tForKick = t; }
    float getKickPreparation() const { return tPosition; }
    void setKickPreparation(float t) { tPosition = t; }

    // Ball speed of a kick type for a robot type.
    static float kickSpeed(int kickType, int robotType);

private:
    void updateRoll();
};

#endif
