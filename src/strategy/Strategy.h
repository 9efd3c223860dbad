#ifndef STRATEGY_STRATEGY_H
#define STRATEGY_STRATEGY_H

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "form/delaunay_triangulation.h"
#include "form/sample_data.h"
#include "geometry/Vector.h"
#include "scram/Scram.h"
#include "strategy/Role.h"

// World snapshot the agent fills every cycle; tables by shirt number.
struct StrategicWS {
    Vector TeamPos[12];
    Vector OppPos[12];
    float TeamConf[12];
    float OppConf[12];
    Vector BallPos;
    Vector BallVel;
    Vector BallIntPos;
    Vector BallAdjPos;
    int MyNumber;
    int Situation;
    int BallOwner;
    int Result;  // own goals minus opponent goals
    float GameTime;
    float MyDir;
};

struct StrategicDecision {
    int FM_Positioning[12];      // formation slot of each player
    Vector FM_StrategicPos[12];  // strategic position of each player
    Vector prevTarget;
    Vector actTarget;
    float prevEval;
    float actEval;
    float actOri;
    float prevOri;
    float DM_ActionEval;
    Vector DM_ActionPoint;
    int DM_ActionPlayer;
    float DM_ActionValue;
    float DM_FluxDir;
    int DM_ActionOut;
    float DM_evalArr[72][3];
    Vector DM_fPosArr[72][3];
    int DM_fPlaArr[72][3];
};

struct StrategicParameters {
    int StrategyType;
    int GameTime;
    int ExtraTime;
    Vector FieldSize;  // length x, width y
    Vector PenaltyAreaSize;
    float GoalSize;
    float AgentMaxKickDist;
    float AgentMaxSpeed;
    float AgentSize;
};

struct TimeTactics {
    int TimeInit[11];
    int TimeEnd[11];
    int TimeTactic[11][21][6];  // [time row][opponent][result class]
};

struct Tactics {
    float Formation[61];
    float Flux[61];
    float Plans[61];
    float WFlux[61];
    float WSafe[61];
    float WEasy[61];
    float WPass[61];
    float WDrib[61];
    float UseSit[61];
    float SitForm[61][21];
};

struct Formations {
    typedef std::vector<std::pair<int, Role> > RoleList;

    int Type[31];  // 1 fixed positions, 2 Delaunay file
    int PlayerType[31][12];
    Vector Position[31][12];
    // Per formation: entry 0 is (-1, no role), entry p player p's slot role.
    std::map<int, RoleList> roles;
    int NPointsDel[31];
    Vector BallPositionDel[31][201];
    Vector PositionDel[31][201][12];
    std::vector<rcsc::formation::SampleData> ChangedPos[31];
    std::unique_ptr<rcsc::DelaunayTriangulation> Triangulations[31];
    const rcsc::DelaunayTriangulation::Triangle* Triangle;
};

struct PlayerTypes {
    Vector Attraction[31];
    float AreaAttAtt[31];
    float AreaAttDef[31];
    int BehindBall[31];
    float MinX[31];
    float MaxX[31];
    float MinY[31];
    float MaxY[31];
    int DecisionAlgorithm[31];
};

struct Fluxes {
    int Type[31];  // 1 grid 9 x 7, 2 Delaunay file
    int Flux[31][10][12];  // [flux][x][y]
    int NPointsDel[31];
    Vector BallPositionDel[31][201];
    int FluxValueDel[31][201];
    std::unique_ptr<rcsc::DelaunayTriangulation> Triangulations[31];
    const rcsc::DelaunayTriangulation::Triangle* Triangle;
};

struct SetSetPlays {
    int SetPlays[11][31];  // [set plan][situation]
};

struct StrategicKickOff {
    int active;
    float passerX;
    float passerY;
    float passerTeta;
    float kickerX;
    float kickerY;
    float kickerTeta;
    int kickerN;
    int passerN;
    float kickTime;
    float ballTargetX;
    float ballTargetY;
    float ballPrevX;
    float ballPrevY;
    float ballDist;
};

// The team strategy read from "strategy.conf.3D" and the formation and flux
// files it names: tactics, formations, strategic positions and roles. Tables
// are indexed from 1.
class Strategy {
public:
    static constexpr int MAX_PLAYERS = 11;

    typedef std::vector<std::pair<int, std::pair<double, double> > > PlayerList;

    int ST_NUM_TACTICS;
    int ST_NUM_PLAYERS;
    int ST_NUM_FORM;
    int ST_NUM_PLTYPES;
    int ST_NUM_FLUX;
    int ST_NUM_SETPLANS;
    int ST_Opponent;
    int ST_NUM_TIME_TACTICS;
    int ST_NUM_OPP_TACTICS;

    std::vector<Role> ST_ROLES;  // entry i - 1 is shirt i
    Scram SC;

    StrategicWS StWS;
    StrategicDecision StDec;
    StrategicParameters StPar;
    TimeTactics TT;
    Tactics TA;
    Formations FM;
    PlayerTypes PT;
    Fluxes FL;
    SetSetPlays SP;
    StrategicKickOff SK;

    std::vector<Role> formation;

    int TA_Now;
    int FM_Now;
    int SI_Now;
    int FL_Now;
    int SP_Now;
    float WFlux_Now;
    float WSafe_Now;
    float WEasy_Now;
    float WPass_Now;
    float WDrib_Now;

    // Reads "strategy.conf.3D" from the working directory; a missing or
    // malformed file ends the process with status 1.
    Strategy();
    ~Strategy();
    Strategy(const Strategy&) = delete;
    Strategy& operator=(const Strategy&) = delete;

    void ReadStrategy();
    void ReadDelaunayFormation(int formation, char* fileName);
    void ReadDelaunayFlux(int flux, char* fileName);

    // Formation and flux lookups.
    Vector interpolate_2009(Vector ball, Vector b1, Vector b2, Vector b3, Vector p1, Vector p2,
                            Vector p3);
    Vector BallToInsideField(Vector ball);
    float CalculateFlux(int flux, Vector ballPos);
    float FluxDelaunayValue(int flux, Vector ballPos);
    float Flux9x7Value(int flux, Vector fieldPos);
    Vector fieldToFlux(Vector fieldPos);
    Vector fluxToField(Vector fluxPos);

    // Strategic positioning.
    void CallStrategy();
    void DecideTactic(int time, int result);
    void SetTactic(int tact);
    void SBSPCalculate();
    Vector SBSPPosition(int form, int pos, Vector ball, int ballOwner);
    Vector SBSPDelaunayPosition(int form, int pos, Vector ball, int ballOwner);
    Vector Position3DSpecific(int form, int pos, Vector p);
    Vector Position2DSpecific(int form, int pos, Vector p);
    Vector PositionMRSpecific(int form, int pos, Vector p);
    Vector PositionAreaAtt(int form, int pos, Vector p, Vector ball);
    Vector PositionMaxMin(int form, int pos, Vector p);
    Vector AutomaticRefereeCarefulPosition(Vector p, Vector ball, int pos);
    void Position3DBlockOppAdjustment();
    void SBSPPassChange();
    void DPRExchange();
    int GamePace();
    void DebugStrategy();
    void ResetPositioning();

    Vector GetStrategicPos(int unum) const;
    int GetPositioning(int unum) const;
    int GetTactic() const;
    int GetFormation() const;
    void SetFormation(int form);
    void SetFlux(int flux);
    void SetPlans(int plans);
    void SetWeights(float flux, float safe, float easy, float pass, float drib);
    Vector FormationGetBasePos(int form, int pos);
    int FormationGetPlayerType(int form, int pos);
    Vector PTGetAttraction(int form, int pos);
    int PTGetBehindBall(int form, int pos);

    // Role code of a slot of a formation; NO_ROLE when the formation has no
    // role list or the slot is outside it.
    int getFormationRole(int form, int slot) const;

    // Kick targets: a rule-based chooser, and a search over 36 directions
    // scored by flux gained, safety of the kick line and ease of the kick.
    // Codes of LineIsGoalOrOut.
    enum { LINE_THEIR_GOAL = 3, LINE_OUR_GOAL = -3, LINE_OUT = -2, LINE_IN = 0 };
    Vector simpleCalculateTarget(Vector InitPos, Vector BallPos, bool dribble, bool self);
    Vector calculateTarget(Vector InitPos, Vector BallPos);
    float CalculateFluxDir(Vector BallPos);
    float evaluate(Vector InitPos, Vector BallPos, Vector FinalPos, int& Player);
    float evaluateFlux(Vector InitPos, Vector BallPos, Vector FinalPos);
    float evaluateSafe(Vector InitPos, Vector BallPos, Vector FinalPos, int& Player);
    float evaluateEasy(Vector InitPos, Vector BallPos, Vector FinalPos);
    // Player is left at the team-mate nearest Pos.
    float calculateSafety(Vector BallPos, Vector Pos, int& Player);
    int LineIsGoalOrOut(Vector BallPos, Vector FinalPos, Vector& intOur, Vector& intTheir,
                        Vector& intOut);
    int LineIsGoalOrOut(Vector BallPos, Vector FinalPos);

    // Roles.
    std::vector<Role> getAgentsRole() const;
    Role getAgentsRole(int unum) const;
    void updateAgentsRole(Role role);
    void updatePosition();
    void configurePlayersWithFormation(const PlayerList& list);
    bool runScram(const PlayerList& list);
    void updateFormationFromScram();
    void updateRolesFromFormation();

private:
    // Play mode of the world state in this cycle.
    int worldPlayMode() const;
    bool usableFormation(int form) const;
};

#endif
