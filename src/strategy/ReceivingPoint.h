#ifndef STRATEGY_RECEIVINGPOINT_H
#define STRATEGY_RECEIVINGPOINT_H

#include "geometry/Vector.h"

// One point where a team-mate may receive a pass.
class ReceivingPoint {
public:
    // Distance from the nearest team-mate; 30 when nobody is nearer.
    float dist = 0;

    void setPoint(Vector p) { point = p; }
    Vector getPoint() const { return point; }
    void setDirection(Vector d) { direction = d; }
    Vector getDirection() const { return direction; }
    void setBlocked(bool b) { blocked = b; }
    bool getBlocked() const { return blocked; }
    void setOutField(bool o) { outField = o; }
    bool getOutField() const { return outField; }
    void setPlayerClosest(int n) { playerClosest = n; }
    int getPlayerClosest() const { return playerClosest; }
    void setOppObstacles(int n) { oppObstacles = n; }
    int getOppObstacles() const { return oppObstacles; }
    void setAllyObstacles(int n) { allyObstacles = n; }
    int getAllyObstacles() const { return allyObstacles; }

private:
    Vector point;
    Vector direction;
    bool blocked = false;
    bool outField = false;
    int playerClosest = 0;
    int oppObstacles = 0;
    int allyObstacles = 0;
};

#endif
