#ifndef KVDAGENTH_H
#define KVDAGENTH_H

#include <string>

#include "HumanoidAgent.h"
#include "geometry/Vector.h"
#include "geometry/Vector3f.h"
#include "strategy/Situation.h"
#include "utils/CollectData.h"

class AgentModel;
class AgentState;
class Logger;
class TrainingComm;
class WorldState;

// The player agent. Its think() runs one decision cycle per server message.
class KVDAgentH : public HumanoidAgent {
public:
    // Training modes; -1 is no training.
    enum { KICK_TRAINING = 0, DECISION_KICK_TRAINING = 1, ACTIVE_TRAINING = 2, DEMO_TRAINING = 3 };

    struct Controle {
        bool initialized;
        float initTime;
        int it;
        int nr;
    };

    Controle cont;
    bool optimize;
    std::string optServer;
    std::string prepareFunction;
    int trainingModeInt;
    int trainingPort;
    TrainingComm* trcomm;  // the trainer link; null without a training mode
    bool bGetupFrontTurningLeft;
    bool bGetupFrontTurningRight;
    WorldState* ws;
    AgentModel* mod;
    Logger* log;
    AgentState* aState;
    bool penaltyKicker;
    bool penaltyGoalie;
    double ballPrediction;
    std::string MsgBahavior;
    CollectData mCollect;
    Vector theirKickoffPos;
    bool setKVDKickoff;
    bool secondKickoffPhase;
    Situation situation;
    int currentBehavior;

    KVDAgentH(const std::string& robotfile, const std::string& team, unsigned int& unum,
              const std::string& host, int port, Vector3f* beam, bool opt, const std::string& optS,
              const std::string& prepare, bool kicker, bool goalie,
              const std::string& trainingMode, int trainingPort);
    ~KVDAgentH() override;

    void think() override;
};

#endif
