#ifndef STRATEGY_SITUATION_H
#define STRATEGY_SITUATION_H

class WorldState;

// The game situation the strategy plays by, derived from the play mode once
// per cycle; free kicks are told apart by the play mode before them.
class Situation {
public:
    enum Playmode {
        PM_NULL = 0,
        ATT = 1,
        DEF = 2,
        OKO = 3,
        TKO = 4,
        OKI = 5,
        TKI = 6,
        OFK = 7,
        TFK = 8,
        OGF = 9,
        TGF = 10,
        OGK = 11,
        TGK = 12,
        OIF = 13,
        TIF = 14,
        OPE = 15,
        TPE = 16,
        KCK = 19,
        NOFK = 21
    };

    enum Gamescore { GM_NULL = 0, WINNING_VG = 1, WINNING = 2, TIED = 3, LOSING = 4, LOSING_VB = 5 };

    WorldState* ws;
    int currentSituation;

    Situation();
    virtual ~Situation();

    // Computes and keeps the situation of this cycle.
    int generateSituation();
    int situationFromPlaymode();
    int getCurrentSituation();
    int situationFromGamestate();
};

#endif
