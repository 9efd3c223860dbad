#include "world/WorldState.h"

#include <array>
#include <cstdio>
#include <iostream>

#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "world/highlevel/HighLevelPlayerInfo.h"
#include "world/highlevel/HighLevelWorldState.h"

namespace {

const char* const FLAG_NAMES[4] = {"F1R", "F2R", "F1L", "F2L"};
const char* const GOAL_NAMES[4] = {"G1R", "G2R", "G1L", "G2L"};

int landmarkKey(const std::string& id, const char* const names[4])
{
    for (int k = 0; k < 4; ++k)
        if (id == names[k])
            return k;
    return -1;
}

// One row of the play-mode table: the texts of both sides, the codes for us
// and for the other side, whether the previous mode is kept, and whether our
// own mode starts a set play.
struct ModeRow {
    const char* left;
    const char* right;
    int own;
    int other;
    bool keepPrevious;
    bool setPlay;
};

const ModeRow MODE_TABLE[] = {
    {"KickOff_Left", "KickOff_Right", QUORVEL_KICKOFF, OPPONENT_KICKOFF, true, false},
    {"KickIn_Left", "KickIn_Right", QUORVEL_KICKIN, OPPONENT_KICKIN, true, true},
    {"corner_kick_left", "corner_kick_right", QUORVEL_CORNER_KICK, OPPONENT_CORNER_KICK, true, true},
    {"free_kick_left", "free_kick_right", QUORVEL_FREE_KICK, OPPONENT_FREE_KICK, false, true},
    {"goal_kick_left", "goal_kick_right", QUORVEL_GOAL_KICK, OPPONENT_GOAL_KICK, true, false},
    {"Goal_Left", "Goal_Right", QUORVEL_GOAL, OPPONENT_GOAL, false, false},
    {"pass_left", "pass_right", PASS_QUORVEL, PASS_OPPONENT, true, false},
};

} // namespace

WorldState::WorldState()
{
    defState = new DefensiveMarkerState();
    ball = new Ball();
    game = new GameState();
    conditions = new GameConditions();

    for (int k = 0; k < 4; ++k) {
        flags[k] = new LandMark(k + 1);
        goals[k] = new LandMark(k + 1);
        landmarks[k] = flags[k];
        landmarks[k + 4] = goals[k];
    }

    me = new Player(0);
    ostrevanda[0] = me;
    team = "Ostrevanda";

    HighLevelWorldState& summary = Singleton<HighLevelWorldState>::getInstance();
    activeVoters.push_back(false);
    for (int n = 1; n <= MAX_UNUM; ++n) {
        ostrevanda[n] = new Player(n);
        Player* opp = new Player(n);
        opp->position = Vector3f(5, -5, 0);
        opponentTeam[n] = opp;
        summary.setPlayer(OSTREVANDA_TEAM, new HighLevelPlayerInfo(n));
        summary.setPlayer(OPPONENT_TEAM, new HighLevelPlayerInfo(n));
        activeElection.push_back(std::make_pair(n, 0));
        activeVoters.push_back(false);
    }

    cycle = 0;
    game->simCycle = 0;
    gTime = cTime = 0;
    commPassPosition = Vector(11.5f, 0);
    strategy = nullptr;

    localizers = {&locXXBall, &loc2FlBall, &locXXYY, &locYYBall,
                  &locYYOther, &locHeight, &locXXHeight};

    // The body model places its parts on the field, stamps its sensor
    // samples and foot strikes through the process's world state.
    static bool bodyModelConnected = false;
    if (!bodyModelConnected) {
        bodyModelConnected = true;
        AgentModel& body = Singleton<AgentModel>::getInstance();
        body.setRelativeToAbsolute([](const Vector3f& v) {
            return Singleton<WorldState>::getInstance().relativeToAbsoluteCoordinates(v);
        });
        body.setCycleSource(
            []() { return static_cast<double>(Singleton<WorldState>::getInstance().cycle); });
        body.setClockSource([]() { return Singleton<WorldState>::getInstance().cTime; });
    }

    closeTeam = closeOpp = 2;
    closeTeamDist = closeOppDist = 20;
    closeTeam2 = closeOpp2 = 3;
    closeTeamDist2 = closeOppDist2 = 30;
    teamWithBall = 3;
    lastTeamWithBall = 1;

    fieldLenght = 30;
    fieldWidth = 20;
    fieldHeight = 40;
    goalWidth = 2.1f;
    goalDepth = 0.6f;
    goalHeight = 0.8f;
    goalKickDist = 1;
    penaltyLength = 1.8f;
    penaltyWidth = 3.9f;
    freeKickDistance = 2;
    freeKickMoveDist = 2.2f;
    maxPlayersInsideOwnArea = 3;
    beamNoiseXY = 0.05f;
    beamNoiseAngle = 10;

    setplayId = -1;
    typeSetplayMsg = 0;
    currentSetplayStep = -1;
    nextSetplayStep = -1;
    setplayParticipants.clear();
    leadPlayer = -1;
    setplayPasser = nullptr;
}

WorldState::~WorldState()
{
    for (auto& entry : ostrevanda)
        delete entry.second;
    for (auto& entry : opponentTeam)
        delete entry.second;
    for (auto& entry : flags)
        delete entry.second;
    for (auto& entry : goals)
        delete entry.second;
    delete ball;
    delete game;
    delete conditions;
    delete defState;
}

void WorldState::setStrategy(Strategy* s) { strategy = s; }

void WorldState::setTeam(const std::string& name) { team = name; }

void WorldState::setOpponentName(const std::string& name) { opponentName = name; }

void WorldState::setUnum(int number)
{
    // 0, "the server picks", only stands for a number not yet known: it
    // never replaces one.
    if (!isShirtNumber(number) && (number != 0 || me->unum != 0)) {
        std::cerr << "WorldState::setUnum: shirt number " << number << " is not 1 to "
                  << MAX_UNUM << "; ignored" << std::endl;
        return;
    }
    // Start-up sets the number before the server confirms it: keep the
    // agent's record and its history.
    if (me->unum == number) {
        unum = number;
        return;
    }

    int previous = me->unum;
    ostrevanda.erase(previous);
    delete me;
    // The number we leave goes back to a team-mate.
    if (isShirtNumber(previous))
        ostrevanda[previous] = new Player(previous);

    std::map<int, Player*>::iterator it = ostrevanda.find(number);
    if (it != ostrevanda.end()) {
        delete it->second;
        ostrevanda.erase(it);
    }
    me = new Player(number);
    ostrevanda[number] = me;
    unum = number;
}

void WorldState::setSide(const std::string& side)
{
    for (int k = 0; k < 4; ++k) {
        flags[k]->name = FLAG_NAMES[k];
        goals[k]->name = GOAL_NAMES[k];
    }

    if (side == "left") {
        game->side = 1;
        front_left = 1;
        front_right = 0;
        back_left = 3;
        back_right = 2;
    } else {
        game->side = 2;
        front_left = 2;
        front_right = 3;
        back_left = 0;
        back_right = 1;
    }

    if (conditions->fieldLength == 0 || conditions->fieldWidth == 0 ||
        conditions->goalsWidth == 0)
        return;

    float L = conditions->fieldLength;
    float W = conditions->fieldWidth;
    float g = conditions->goalsWidth;
    float h = conditions->goalsHeight;

    flags[back_left]->position.set2dCoordinates(-L / 2, -W / 2);
    flags[back_right]->position.set2dCoordinates(-L / 2, W / 2);
    flags[front_left]->position.set2dCoordinates(L / 2, -W / 2);
    flags[front_right]->position.set2dCoordinates(L / 2, W / 2);

    goals[back_left]->position = Vector3f(-L / 2, -g / 2, h);
    goals[back_right]->position = Vector3f(-L / 2, g / 2, h);
    goals[front_left]->position = Vector3f(L / 2, -g / 2, h);
    goals[front_right]->position = Vector3f(L / 2, g / 2, h);

    theirGoalPos = Vector(L / 2, 0);
    myGoalPos = Vector(-L / 2, 0);
}

void WorldState::setPlaymode(const std::string& mode)
{
    int previous = game->playmode;

    if (keepFormation) {
        // The hold after our own set play: the mode stays as it is.
        if (gTime - timer >= 3)
            keepFormation = false;
    } else if (mode == "BeforeKickOff") {
        game->playmode = BEFORE_KICKOFF;
    } else if (mode == "PlayOn") {
        if (wasSetPlay) {
            wasSetPlay = false;
            keepFormation = true;
            timer = gTime;
        } else {
            game->playmode = PLAY_ON;
            game->setLastPlayon(true);
        }
    } else {
        const ModeRow* row = nullptr;
        bool own = false;
        for (const ModeRow& r : MODE_TABLE) {
            if (mode == r.left || mode == r.right) {
                row = &r;
                own = (mode == r.left) ? game->side == 1 : game->side == 2;
                break;
            }
        }
        if (row == nullptr) {
            game->playmode = OTHER_PLAYMODE;
        } else {
            if (row->keepPrevious)
                game->setPreviousMode(game->playmode);
            game->playmode = own ? row->own : row->other;
            if (own && row->setPlay)
                wasSetPlay = true;
            if (row->own == QUORVEL_GOAL) {
                if (own)
                    ++game->ostrevandaGoals;
                else
                    ++game->opponentGoals;
            }
        }
    }

    if (previous != BEFORE_KICKOFF && game->playmode == BEFORE_KICKOFF)
        game->half = 1;
}

void WorldState::setGameTime(float t) { game->gameTime = t; }

void WorldState::setClockTime(float t) { game->clockTime = t; }

void WorldState::setLastVisionCTime(float t) { lastVisionCTime = t; }

void WorldState::setIsSetplayActive(bool active) { isSetplayActive = active; }

bool WorldState::getIsSetplayActive() const { return isSetplayActive; }

void WorldState::resetSeenFlags()
{
    ball->seen = false;
    for (std::map<int, Player*>* players : {&ostrevanda, &opponentTeam}) {
        for (auto& entry : *players) {
            Player* p = entry.second;
            p->seen = false;
            for (MobileObject* part : p->bodyParts())
                part->seen = false;
        }
    }
    for (int k = 0; k < 4; ++k) {
        goals[k]->seen = false;
        flags[k]->seen = false;
    }
}

void WorldState::setBallRelativePosition(float distance, float horizontalAngle,
                                         float verticalAngle)
{
    if (ball == nullptr)
        ball = new Ball();
    ball->prevRelPosition = ball->relPosition;
    ball->relPosition = Vector3f(distance, horizontalAngle, verticalAngle).toCartesian();
    ball->setPosition(ball->position);
    ball->seen = true;
}

void WorldState::setFlagRelativePosition(std::string id, float distance,
                                         float horizontalAngle, float verticalAngle)
{
    int k = landmarkKey(id, FLAG_NAMES);
    if (k < 0)
        return;
    flags[k]->relPosition = Vector3f(distance, horizontalAngle, verticalAngle);
    flags[k]->seen = true;
}

void WorldState::setGoalRelativePosition(std::string id, float distance,
                                         float horizontalAngle, float verticalAngle)
{
    int k = landmarkKey(id, GOAL_NAMES);
    if (k < 0)
        return;
    goals[k]->relPosition = Vector3f(distance, horizontalAngle, verticalAngle);
    goals[k]->seen = true;
}

void WorldState::setObjectPosition(MobileObject& obj, Vector3f* relativePolarCoords, bool track)
{
    if (relativePolarCoords == nullptr)
        return;
    obj.prevRelPosition = obj.relPosition;
    if (track)
        obj.updatePrevPosition(obj.position);
    else
        obj.rememberPosition(obj.position);
    obj.relPosition = relativePolarCoords->toCartesian();
    obj.seen = true;
}

void WorldState::setPlayerData(int number, int teamCode, Vector3f** parts)
{
    if (teamCode != OSTREVANDA_TEAM && teamCode != OPPONENT_TEAM) {
        std::cout << "WARNING (in WorldState::setPlayerData): team is neither "
                     "OSTREVANDA_TEAM nor OPPONENT_TEAM. Aborting method.";
        return;
    }
    // Only shirt numbers 1 to 11 are players.
    if (!isShirtNumber(number))
        return;

    std::map<int, Player*>& players = teamCode == OSTREVANDA_TEAM ? ostrevanda : opponentTeam;
    Player*& slot = players[number];
    if (slot == nullptr)
        slot = new Player(number);
    Player* p = slot;

    std::array<MobileObject*, 5> bodyParts = p->bodyParts();
    for (size_t i = 0; i < bodyParts.size(); ++i)
        setObjectPosition(*bodyParts[i], parts[i], false);

    if (teamCode == OSTREVANDA_TEAM && number == me->unum)
        return;

    for (int i = 0; i < 5; ++i) {
        if (parts[i] != nullptr) {
            setObjectPosition(*p, parts[i]);
            break;
        }
    }
}
