#ifndef WORLD_WORLDSTATE_H
#define WORLD_WORLDSTATE_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "geometry/Matrix4D.h"
#include "geometry/Vector.h"
#include "geometry/Vector3f.h"
#include "strategy/Role.h"
#include "utils/CollectData.h"
#include "world/Ball.h"
#include "world/BallEstimator.h"
#include "world/BallFromTorso.h"
#include "world/DefensiveMarkerState.h"
#include "world/GameConditions.h"
#include "world/GameState.h"
#include "world/LandMark.h"
#include "world/Localizer2FlBall.h"
#include "world/LocalizerHeight.h"
#include "world/LocalizerXXBall.h"
#include "world/LocalizerXXHeight.h"
#include "world/LocalizerXXYY.h"
#include "world/LocalizerYYBall.h"
#include "world/LocalizerYYOther.h"
#include "world/MobileObject.h"
#include "world/Player.h"

class Strategy;

// Walk optimisation parameters.
struct optparameters {
    double frontper = 0;
    double backper = 0;
    double sideper = 0;
    double sideamp1 = 0;
    double sideamp2 = 0;
    double sideamp3 = 0;
    double sideRot = 0;
    double sideRotR = 0;
    double sideRotL = 0;
    double superDist = 0;
    double superAlfa = 0;
    double superYaw = 0;
};

// The agent's model of the world, in its own field frame: origin at the
// centre, x towards the opponent's goal. One per process, through
// Singleton<WorldState>. It owns the ball, the players of both maps, the
// landmarks, the game state and conditions and the marking record.
class WorldState {
public:
    // Team codes of setPlayerData.
    static constexpr int OSTREVANDA_TEAM = 0;
    static constexpr int OPPONENT_TEAM = 1;
    // Shirt numbers of a team.
    static constexpr int MAX_UNUM = 11;
    static bool isShirtNumber(int n) { return n >= 1 && n <= MAX_UNUM; }

    // Self.
    Player* me = nullptr;
    int unum = 0;
    std::string team;
    std::string opponentName;
    Vector myPos;
    Vector3f lFootPos;
    Vector3f rFootPos;
    Vector cFootPos;
    Vector3f* myInitialPosition = nullptr;
    Vector3f myPosFromMessage;
    Vector3f ballPosFromMessage;
    Vector3f TorsoX;
    Vector3f TorsoY;
    Vector3f TorsoZ;
    Matrix4D headToFieldTransf;
    Matrix4D fieldToHeadTransf;
    LocalizerXXBall locXXBall;
    LocalizerYYBall locYYBall;
    LocalizerXXYY locXXYY;
    LocalizerYYOther locYYOther;
    LocalizerHeight locHeight;
    LocalizerXXHeight locXXHeight;
    Localizer2FlBall loc2FlBall;
    std::vector<Localizer*> localizers;

    // Ball.
    Ball* ball = nullptr;
    Vector ballPos;
    Vector3f ballUnfilteredPos;
    BallEstimator ballEstimator;
    // The newest sighting of the ball relative to my torso (ballFromTorso),
    // its cycle (0: none yet), and how many cycles it stands for the ball.
    Vector ballFromTorsoSeen;
    unsigned ballFromTorsoCycle = 0;
    static constexpr unsigned BALL_FROM_TORSO_CYCLES = 15;
    float ballDistance = 0;
    float ballGlobalDir = 0;
    float ballRelDir = 0;
    float ballGlobalDirLFoot = 0;
    float ballRelDirLFoot = 0;
    float ballGlobalDirCFoot = 0;
    float ballRelDirCFoot = 0;

    // Players by shirt number 1 to 11 (our map also under 0 for the agent
    // until its number is known).
    std::map<int, Player*> ostrevanda;
    std::map<int, Player*> opponentTeam;
    int closeTeam = 0;
    int closeTeam2 = 0;
    int closeOpp = 0;
    int closeOpp2 = 0;
    float closeTeamDist = 0;
    float closeTeamDist2 = 0;
    float closeOppDist = 0;
    float closeOppDist2 = 0;
    int fastestTeam = 0;
    int fastestTeam2 = 0;
    float fastestTeamTime = 0;
    float fastestTeamTime2 = 0;
    int fastestCarrier = 0;
    int fastestCarrier2 = 0;
    int fastestBlocker = 0;
    int fastestBlocker2 = 0;
    float pressure = 0;
    int playWB = 0;
    int lastTeamWithBall = 0;
    int teamWithBall = 0;
    float maxVelocityOpp = 0;
    float maxVelocityAlly = 0;
    float maxVelocityBall = 0;
    bool cFacingBall = false;
    bool cFacingBallLFoot = false;
    bool cCloser = false;
    bool cCloserTeam = false;
    bool cCloserOpp = false;
    bool cFacingMyGoal = false;
    bool cFacingTheirGoal = false;
    bool cBallOnMyLeft = false;
    bool cBallOnMyRight = false;
    bool cBallOnMySide = false;
    float shotDuration = 0;

    // Landmarks: keys 0 to 3; landmarks holds the flags, then the goal posts.
    std::map<int, LandMark*> flags;
    std::map<int, LandMark*> goals;
    LandMark* landmarks[8] = {};
    int front_left = 0;
    int front_right = 0;
    int back_left = 0;
    int back_right = 0;
    Vector theirGoalPos;
    Vector myGoalPos;
    float theirGoalDist = 0;
    float theirGoalGlobalDir = 0;
    float theirGoalRelDir = 0;
    float myGoalGlobalDir = 0;
    float myGoalRelDir = 0;
    float myGlobalDir = 0;

    // Time and game.
    GameState* game = nullptr;
    GameConditions* conditions = nullptr;
    float gTime = 0;
    float cTime = 0;
    float preCTime = 0;
    float timeStep = 0;
    unsigned int cycle = 0;
    float lastVisionCTime = 0;
    float lastGetupFinishedTime = 0;
    float lastClockTimeInGoalPM = 0;
    float CPGTime = -0.1f;
    float SlotTime = 0;
    double lastGeneralTargUpTime = 0;
    float lastQuorvelKickoff = 0;
    float lastoppkickoff = 0;
    bool kvdKickOffFlag = false;
    bool oppKickOff = false;
    bool wasSetPlay = false;
    bool keepFormation = false;
    float timer = 0;

    // Active-player vote.
    int activeCandidate = 0;
    int lastActiveWinner = 0;
    bool electionStarted = false;
    std::vector<std::pair<int, int>> activeElection;
    std::vector<bool> activeVoters;

    // Passing.
    int commPassPlayer = 0;
    Vector commPassPosition;
    int passerId = 0;
    int passBlocker = 0;
    bool blockerFound = false;
    bool isKick = false;

    // Set plays.
    bool isSetplayActive = false;
    int setplayId = -1;
    int typeSetplayMsg = 0;
    int currentSetplayStep = -1;
    int nextSetplayStep = -1;
    std::vector<int> setplayParticipants;
    int leadPlayer = -1;
    Player* setplayPasser = nullptr;
    bool trajectoryDecided = false;
    bool longKickState = false;

    // Roles and behaviour.
    Strategy* strategy = nullptr;
    std::vector<std::pair<int, Role>> vPlayersRoles;
    int currentBehavior = 0;
    // How the last "am I active" answer was reached: 1 the election, 2 the nearest.
    int cor = 0;
    DefensiveMarkerState* defState = nullptr;

    // Gaze.
    float decidedPanAngle = 0;
    float decidedTiltAngle = 0;

    CollectData mCollect;
    optparameters opt;

    // Field constants.
    float fieldLenght = 0;
    float fieldWidth = 0;
    float fieldHeight = 0;
    float goalWidth = 0;
    float goalDepth = 0;
    float goalHeight = 0;
    float goalKickDist = 0;
    float penaltyLength = 0;
    float penaltyWidth = 0;
    float freeKickDistance = 0;
    float freeKickMoveDist = 0;
    int maxPlayersInsideOwnArea = 0;
    float beamNoiseXY = 0;
    float beamNoiseAngle = 0;

    // Per-message update.
    void update();
    void updateObjAbsPos(MobileObject& obj, bool log);
    void updateMySeenBodyParts();
    void updatePlayerData(Player* p, int team);
    void checkBodyPartsPosition(MobileObject& part, Vector3f position);
    float getMaxConfAmongstBodyParts(Player* p);
    void updateMaxMediaVelocityOppAlly();
    int numPlayersToScan() const;
    WorldState();
    WorldState(const WorldState&) = delete;
    WorldState& operator=(const WorldState&) = delete;
    ~WorldState();

    // Self-position, camera and field frames, and the older landmark routines.
    Vector3f xx;
    Vector3f yy;
    Vector3f zz;
    // Runs the localizers and takes the pose of the most confident valid one.
    void setMyPosition2();
    // Camera-frame vector turned into the field frame (no translation).
    Vector3f visionTransform(Vector3f relPosition) const;
    // Camera-frame point to field point, and back.
    Vector3f relativeToAbsoluteCoordinates(Vector3f relativeCoordinates) const;
    Vector3f absoluteToRelativeCoordinates(Vector3f absoluteCoordinates) const;
    // Where a field point would be seen with the head at the given angles.
    Vector3f absoluteTorelativeCoordinatesPanTilt(float panAngle, float tiltAngle,
                                                  Vector3f absoluteCoordinates) const;
    // The transform of that view, applied to the point relative to my position:
    // one per pair of angles for many points.
    Matrix4D panTiltTransform(float panAngle, float tiltAngle) const;
    float getGlobalDir(Vector v) const;
    // Direction of a field point relative to my torso heading.
    float getRelDir(Vector v) const;
    float getRelDirToCFoot(Vector v) const;
    Vector getRelativeToMe(Vector pos) const;
    Vector getRelativeToFoot(Vector pos) const;
    // The ball relative to my torso's ground point, x ahead along my heading
    // and y to my right (m): the newest sighting taken from the camera to
    // the torso through the body model, without my field position; when
    // there is none of late, from the ball's field position.
    Vector ballFromTorso() const;
    // Where to stand to push the ball away from pointAbs.
    Vector getApproachPosition(Vector pointAbs, double dynamic_approach_distance,
                               double offsetDistance);
    // The server's own report of my position ("mypos").
    void setMyPosFromMessage(float x, float y, float z);
    // Earlier designs that find the field axes here; not used.
    void setMyPosition();
    void setMyPositionTest();
    void localizeUsing2FlagsBall();
    void localizeUsingXXBall();

    void setStrategy(Strategy* s);
    void setTeam(const std::string& name);
    void setOpponentName(const std::string& name);
    // The agent's shirt number, 1 to 11 (0 while unknown).
    void setUnum(int number);
    // "left", or anything else for the right side.
    void setSide(const std::string& side);
    // The server's play-mode text.
    void setPlaymode(const std::string& mode);
    void setGameTime(float t);
    void setClockTime(float t);
    void setLastVisionCTime(float t);
    void setIsSetplayActive(bool active);
    bool getIsSetplayActive() const;

    // Lookups and tactical queries: players, goals, possession, areas, clearing.
    // Which side has the ball.
    enum WithBall { ALLY = 1, OPP = 2, NOBODY = 3 };
    // Team 0 ours, 1 opponents, 2 opponents after noting the number in me's
    // oppMarkedByTeammate; null for an absent number or another team code.
    Player* getPlayer(int team, int unum);
    Player* getOpponentPlayer(int unum);
    Player* getOstrevandaPlayer(int unum);
    Player* getQuorvelPlayer(int unum);
    // The lowest shirt number carrying the role code; null when none does.
    Player* getQuorvelPlayerByRole(int role);
    Player* getMe();
    std::map<int, Player*> getOstrevandaTeam() const;
    std::map<int, Player*> getOpponentTeam() const;
    std::map<int, Player*>::const_iterator beginPlayers() const;
    std::map<int, Player*>::const_iterator endPlayers() const;
    std::map<int, Player*>::const_iterator beginOpponents() const;
    std::map<int, Player*>::const_iterator endOpponents() const;
    Vector3f getFrontLeftGoal();
    Vector3f getFrontRightGoal();
    Vector3f getBackLeftGoal();
    Vector3f getBackRightGoal();
    Vector3f getFrontCenterGoal();
    Vector3f getBackCenterGoal();
    // Distance from pos to the segment from left (smaller y) to right.
    float getDistanceToGoal(Vector left, Vector right, Vector pos);
    // How far ahead of the body part (a Types::BodyParts id) the ball lies.
    float ForwardDeviationFromBallTo(int foot);
    float distToOpp(Vector3f p, Vector3f& oppPos);
    int getFastestCarrier() const;
    int getFastestCarrier2() const;
    int getFastestBlocker() const;
    int getFastestBlocker2() const;
    int getCurrentBehavior() const;
    void setCurrentBehavior(int behavior);
    int getCurrentPassBlocker() const;
    void setCurrentPassBlocker(int blocker);
    bool isBlockerFound() const;
    void setBlockerFound(bool found);
    void print();
    void setPlayerRelativePosition(int unum, int team, float distance, float horizontalAngle,
                                   float verticalAngle);

    bool isOpponentShot(float* timeToGoal);
    int getShortestFallShotInterception(float* intercDist);
    static bool cmp(std::pair<int, float>& a, std::pair<int, float>& b);
    void updateFastestCarrier();
    void updateFastestBlocker();
    bool canGoToBallFreeOfFouls(Player* p);
    // Seconds (at most 20) until a player at plPos meets the rolling ball.
    float timeToIntersect(Vector plPos, Vector ballPos, Vector ballVel);
    bool isVisionCycle();
    WithBall playerWithBall();
    bool canExecuteKick(int unum);
    WithBall allyWithBall();
    bool isStanding(int unum, bool opponent);
    bool coveringGoal();
    void setBallPosFromMessage(float x, float y, float z);
    void setTrueBallPos(float x, float y, float z);

    bool isInsideGoalArea(Vector object);
    bool isInsideTheirGoalArea(Vector object);
    bool canTeammateEnterOurGoalArea();
    bool isBallOnMySide();
    bool isPlayerInInGoalArea(int team, int unum);
    int quantAllysInGoalArea();
    bool allyWithinTriangle(Vector ally, Vector opp);
    bool allyWithinGoalieTriangle(Vector ally, Vector opp);
    bool withinTheTrajectory(Vector pointA, Vector pointB, Vector pointC);
    bool goodOrientation(Vector InitPos, Vector BallPos, bool self);
    bool shouldTurn(Vector target);
    bool isKVDKickOff();
    bool isOppKickOff();
    void setLastQuorvelKickoff(float t);
    float getLastQuorvelKickoff() const;
    void setLastOponentKickoff(float t);
    float getLastOponentKickoff() const;
    void setPlayerRoles(std::vector<std::pair<int, Role>> roles);
    std::vector<std::pair<int, Role>> getPlayersRoles() const;

    float angleMeTo(Vector p);
    bool isInFrontOfMe(Vector t);
    bool isClearerTarget(Vector t);
    bool isTargetOutofField(Vector t);
    int numberOfTargetsOutOfField(std::vector<Vector> targ);
    std::vector<Vector> generateTargetCandidates(float radius, float ang);
    Vector findClearTarget(Vector t);
    // A negative teamRadius means oppRadius.
    bool isClearFront(float oppRadius, float& oppMinDistToBall, float teamRadius);
    bool isClearBack(float oppRadius, float& oppMinDistToBall);
    // May ask the server for pass mode.
    bool shouldGoDirect();
    bool shouldAvoidOpp(Player* opp);
    // May make the action library start a get-up.
    int closestAllyTo(Vector t, float ang, bool behindBall);
    bool shouldPassBlock();

    void resetSeenFlags();
    void setBallRelativePosition(float distance, float horizontalAngle, float verticalAngle);
    void setFlagRelativePosition(std::string id, float distance, float horizontalAngle,
                                 float verticalAngle);
    void setGoalRelativePosition(std::string id, float distance, float horizontalAngle,
                                 float verticalAngle);
    // One seen player; parts are head, left foot, right foot, left lower arm
    // and right lower arm as polar readings, each null when not seen.
    void setPlayerData(int unum, int team, Vector3f** parts);
    // track: derive the object's velocity from its track too (a body part's
    // is never asked for).
    void setObjectPosition(MobileObject& obj, Vector3f* relativePolarCoords, bool track = true);
    // Team messages: merges, the active-player vote and their accessors.
    void updateWithSimpleMsg(class SimpleAgentMessage* msg);
    void updateWithRoleMsg(class RoleAgentMessage* msg);
    void updateWithSetplayMsg(class SetplayAgentMessage* msg);
    // Moves p and its five body parts by the same offset; all take conf.
    void updatePlayerGlobalPosition(Player* p, Vector3f newPosition, float conf);
    void updatePlayerGlobalPositionAux(MobileObject& obj, Vector3f& offset, float conf);
    // My own vote, every cycle: what my next message says. It is counted in
    // my election, like the team-mates' votes, when that message is heard.
    void setActiveCandidate(int vote);
    int getActiveCandidate() const;
    // One vote per voter (1 to 11) and ballot; voter 1's first vote opens a
    // new ballot. Another voter is ignored; a vote for a number outside 1 to
    // 11 counts for nobody.
    void updateActiveElection(int vote, int voter);
    void resetActiveElection();
    int countVoters();
    // Once all eleven have voted: the most voted, the lowest number on a tie.
    void activeElectionWinner();
    static bool votecmp(const std::pair<int, int>& a, const std::pair<int, int>& b);
    int getCurrentActivePlayer() const;
};

#endif
