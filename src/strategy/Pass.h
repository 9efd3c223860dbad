#ifndef STRATEGY_PASS_H
#define STRATEGY_PASS_H

#include <map>
#include <vector>

#include "geometry/Vector.h"
#include "strategy/PassMethods.h"
#include "strategy/StrategicBehavior.h"
#include "strategy/Trajectory.h"

class Player;
class WorldState;

// The ball holder's choice between a shot at their goal and a pass: a fan of
// kick directions from the ball, classified as pass, shot, out or blocked,
// passes scored by interception, opponents between the point and their goal,
// closeness to the goal and to each team-mate; the first feasible pass in
// quality order whose receiver arrives before any opponent. A pass stays in
// force for 160 cycles.
class Pass : public StrategicBehavior {
public:
    static constexpr int PASS_CYCLES = 160;

    // Candidate receivers: the whole own team, or only the given numbers.
    Pass();
    explicit Pass(std::vector<int> presetPlayersUnum);

    bool isAvailable() override;
    void executeBehavior() override {}

    bool isActivePass(int playerSetplay, Vector targetSetplay, bool tryKickToGoal);
    bool isActivePassFromSetplay();
    // The holder has time to kick before the nearest opponent arrives.
    bool isActiveKick();
    void doPasse(bool tryKickToGoal);
    Trajectory classification(Trajectory t);
    // A pass to the team-mate the alternative evaluation prefers; the list
    // is not used.
    bool clearPassToPlayer(std::vector<int> players);

    int getReceiver() const { return deadLine > 0 ? receiver : 0; }
    Vector getPassTarget() const { return passTarget; }
    int getDeadline() const { return deadLine; }
    bool getActivePass() const { return activePass; }
    int getMode() const { return mode; }
    float getMinIndice() const { return minIndice; }
    float getMaxIndice() const { return maxIndice; }
    int getCatcher() const { return catcher; }
    int getBestTraj() const { return bestTraj; }
    PassMethods getPassMethods() const { return passMethods; }
    std::vector<Trajectory> getTrajetories() const { return trajectories; }
    void setActivePass(bool a) { activePass = a; }
    void setMode(int m) { mode = m; }
    void setReceiver(int r) { receiver = r; }

    // Steps of the evaluation, open for tests.
    void definingTrajectories();
    // 1 when a player of the team (0 ours, 1 theirs) is near the kick line.
    int getNumObstacles(Vector dir, int team);
    std::vector<float> ballSimulation() const;
    void calculaIndiceIntercepcao();
    bool kickToGoal();
    int getNumOppOnRTO(Vector p);
    void getFeatures();
    bool passTheBall();
    void ordenaTrajetorias();
    bool choseTheBestTrajectory();
    bool chooseBestReceiver(int i, int unum);
    void convertPlayersIdToPlayers(std::vector<int> ids);
    // The alternative evaluation's steps: features normalised per
    // trajectory, every candidate (the holder too) listed and scored.
    void calculateFeatures();
    void calculateRTOIndex(Trajectory& t);
    void calculateDistGoalIndex(Trajectory& t);
    void calculateDistAllyIndex(Trajectory& t);
    void calculateTrajQuality();
    bool chooseBestTrajectory();
    // Players near the line from each team-mate (not the holder) to the
    // pass point of trajectory i, nearer to it than the point.
    int numObstacles(int i);

private:
    Vector ballNow() const;
    int passerNumber() const;
    // Quality of every pass trajectory from its features; skipHolder when
    // the ally distances leave the ball holder out.
    void scoreTrajectories(bool skipHolder);

    bool activePass;
    std::vector<Trajectory> trajectories;
    float Lx;
    float Ly;
    float goalWidth;
    float minIndice;
    float maxIndice;
    Vector goalCenter;
    Vector passTarget;
    int numTrajGoal;
    int numTrajPass;
    int numOppRTOBall;
    int MO2G;
    int mO2G;
    int catcher;
    int bestTraj;
    int receiver;
    int deadLine;
    int mode;
    bool trajectoryDecided;
    PassMethods passMethods;
    std::map<int, Player*> possibleReceiver;
};

#endif
