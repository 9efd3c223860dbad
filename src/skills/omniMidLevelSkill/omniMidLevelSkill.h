#ifndef SKILLS_OMNIMIDLEVELSKILL_OMNIMIDLEVELSKILL_H
#define SKILLS_OMNIMIDLEVELSKILL_OMNIMIDLEVELSKILL_H

#include <vector>

#include "geometry/Geometry.h"
#include "geometry/Vector.h"

class Player;
class WorldState;

// Orders two players by their distance to the ball, nearest first.
struct PointerCompareRelBall {
    bool operator()(const Player* a, const Player* b) const;
};

// Orders two players by their distance to me, nearest first.
struct PointerCompare {
    bool operator()(const Player* a, const Player* b) const;
};

// Orders two circles by the distance of their centres to me, nearest first.
struct PointerCompare2 {
    bool operator()(const Circle& a, const Circle& b) const;
};

// Ranks players by distance and plans walking paths around obstacles.
// Every owner keeps its own instance; the rankings stay in ourPlayer and
// theirPlayer until the next ranking of the same list.
class omniMidLevelSkill {
public:
    Circle cObstacle;
    Vector walkTarget;
    float obstacleInfluenceDist;
    float obstacleProximityDist;
    bool vavoidBall;
    bool vavoidTeamMate;
    bool vavoidOpponnent;
    AngleDeg obstacleOrientationAvoidance;
    Vector myPosition;
    Vector ballPosition;
    WorldState* ws;
    std::vector<Circle> cobstaclesVec;
    // Borrowed from the world state's player maps.
    std::vector<Player*> ourPlayer;
    std::vector<Player*> theirPlayer;
    Circle cManualObstacle;

    omniMidLevelSkill();
    virtual ~omniMidLevelSkill() {}

    // Rankings. The own team by distance to the ball always includes me,
    // whatever the flag.
    void sortourPlayersBasedonDistancetoBall(bool includeMe);
    void sortourPlayersBasedonDistancetoMe();
    void sortTheirPlayersBasedonDistancetoBall();
    void sortTheirPlayersBasedonDistancetoMe();
    // Null when there is no opponent at all.
    Player* fastestOpponentRelBall();
    Player* fastestOpponentRelMe();

    // The next point to walk to on the way to target, arriving with the
    // heading orientation.
    Vector pathPlanningtotarget(Vector target, AngleDeg orientation, float curve, bool avoidBall,
                                bool avoidTeamMate, bool avoidOpponnetPlayer,
                                Circle manualObstacle);
    // Via point behind target along orientation; curve 1 gives the target.
    Vector findaPath(Vector target, AngleDeg orientation, float curve);
    Vector correctPath(Vector plannedPath, bool avoidBall, bool avoidTeamMate,
                       bool avoidOpponnetPlayer, Circle manualObstacle);
    // Rebuilds cobstaclesVec with the obstacles on the way to plannedPath.
    void discoverObstacle(Vector plannedPath, bool avoidBall, bool avoidTeamMate,
                          bool avoidOpponnetPlayer, Circle manualObstacle, bool allPlayers);
    Circle findConnectedObstacles();
    Vector avoidObstacle(Vector plannedPath);
    bool intersecsWithObstacle(Vector target, Vector obstaclePos, float obstacleR);
    Vector getClosestPointonObstacle(Circle obstacle);
    Vector getClosestPointonObstacleRelBall(Circle obstacle);
    int avoidBall(Vector tempTarg, float avoidanceR);
    bool isBehindBall(float orientation);
    bool amiBehindBall(float walkDir);
    Vector pathCorrection(Vector target, Vector obstaclePos, float obstacleR);
    Vector gototarget(Vector target, AngleDeg orientation, float curve, Vector obstaclePos,
                      float obstacleR);
    Vector gobehindBall(float disFromBall, float orientation);
    void discoverObstacleInOurGoal(Vector plannedPath);
    bool testPlannedPath(Vector plannedPath);
    void gotoBall();

private:
    Vector me() const;
    Vector ballNow() const;
    // The circle an obstacle player occupies: standing players by their
    // position, fallen ones round the middle of head and feet.
    Circle playerObstacle(const Player* p) const;
    // The crossing points of the line from me to plannedPath with the back
    // and the two sides of our goal that lie in the goal's reach.
    std::vector<Vector> ourGoalCrossings(Vector plannedPath) const;
};

#endif
