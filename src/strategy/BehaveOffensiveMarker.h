#ifndef STRATEGY_BEHAVEOFFENSIVEMARKER_H
#define STRATEGY_BEHAVEOFFENSIVEMARKER_H

#include <map>

#include "geometry/Vector.h"
#include "strategy/StrategicBehavior.h"

class Player;

// While our side has the ball, keepers and supports near it pair with
// nearby opponents, one each, and stand on the line from their opponent to
// a reference point (the ball unless set), facing across it.
class BehaveOffensiveMarker : public StrategicBehavior {
public:
    typedef std::map<int, Vector> Unum_Player;
    typedef std::map<int, int> Ally_Opponent;

    // Opponents worth marking lie between the two radii around the ball (m).
    float MIN_RADIO;
    float MAX_RADIO;
    // Seconds a pairing lasts without renewal.
    float MAX_CICLO;
    // Executions with the marked opponent out of range that end a pairing.
    float MAX_CICLOS_OPONENTE_FORA_DO_RAIO;

    BehaveOffensiveMarker(WorldState* ws, AgentActions* actions);
    ~BehaveOffensiveMarker() override { clearVariables(); }

    bool isAvailable() override;
    bool isAvailable(int role);
    // Needs a marked opponent; without one it does nothing.
    void executeBehavior() override;

    bool clearToCarryBall();
    bool fillAllysVector(Unum_Player* allys);
    bool fillOpponentsVector(Unum_Player* opponents);
    Ally_Opponent analyseAllyForOpponent(Unum_Player* allys, Unum_Player* opponents);
    bool isVariablesEmpty(Unum_Player* variable);
    void clearVariables();
    Player* opponentToOffensiveMarker();

    void setOpponentPlayer(Player* p) { opponentPlayer = p; }
    Player* getOpponentPlayer() const { return opponentPlayer; }
    void setInterceptation(Vector& v) { interceptation = v; }
    Vector& getInterceptation() { return interceptation; }
    void setTarget(Vector& v) { target = v; }
    Vector& getTarget() { return target; }
    int getOutOfRangeCount() const { return ciclos_opponentOutOfRange; }

    // The facing direction of the last execution.
    float facing;

private:
    Vector interceptation;
    Vector target;
    Player* opponentPlayer;
    int previousTime;
    int ciclos_opponentOutOfRange;
};

#endif
