#include "strategy/Strategy.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "strategy/StrategyScan.h"

namespace {

const char* const STRATEGY_FILE = "strategy.conf.3D";

// Delaunay file name: from the first non-blank character to the next blank.
std::string fileNameOf(const char* text)
{
    while (*text == ' ')
        text++;
    const char* end = text;
    while (*end != ' ' && *end != '\0')
        end++;
    return std::string(text, end);
}

}  // namespace

Strategy::Strategy()
    : ST_NUM_TACTICS(0), ST_NUM_PLAYERS(0), ST_NUM_FORM(0), ST_NUM_PLTYPES(0), ST_NUM_FLUX(0),
      ST_NUM_SETPLANS(0), ST_Opponent(0), ST_NUM_TIME_TACTICS(0), ST_NUM_OPP_TACTICS(0),
      StWS(), StDec(), StPar(), TT(), TA(), FM(), PT(), FL(), SP(), SK(), TA_Now(0), FM_Now(0),
      SI_Now(0), FL_Now(0), SP_Now(0), WFlux_Now(0), WSafe_Now(0), WEasy_Now(0), WPass_Now(0),
      WDrib_Now(0)
{
    for (int i = 0; i < 12; i++)
        StDec.FM_Positioning[i] = i;

    ReadStrategy();
    ResetPositioning();

    FM.Triangle = nullptr;
    FL.Triangle = nullptr;

    StDec.prevTarget = Vector(2, 0);
    StDec.actTarget = StDec.prevTarget;
    StDec.prevEval = -10;
    StDec.actEval = StDec.prevEval;
    StDec.actOri = StDec.prevOri = 0;
    StDec.DM_ActionPoint = Vector(11.5, 0);
    StDec.DM_ActionPlayer = 0;
    StDec.DM_ActionEval = 0;
    for (int a = 0; a < 72; a++) {
        for (int d = 0; d < 3; d++) {
            StDec.DM_evalArr[a][d] = 0;
            StDec.DM_fPosArr[a][d] = Vector(10.5, 0);
            StDec.DM_fPlaArr[a][d] = 9;
        }
    }

    for (int i = 1; i <= 11; i++)
        ST_ROLES.push_back(Role(i, NO_ROLE));
}

Strategy::~Strategy() {}

void Strategy::ReadStrategy()
{
    FILE* file = fopen(STRATEGY_FILE, "r");
    if (file == nullptr) {
        fputs("3D Strategy Configuration File does not Exist!\n", stderr);
        fflush(stderr);
        exit(1);
    }
    ScanFile in(file, STRATEGY_FILE);
    char* c;

    in.next();
    c = in.next();
    StPar.StrategyType = in.nextInt(&c);

    c = in.next();
    ST_NUM_TACTICS = in.checked(in.nextInt(&c), 1, 60, "number of tactics");
    ST_NUM_PLAYERS = in.checked(in.nextInt(&c), 1, 11, "number of players");
    ST_NUM_FORM = in.checked(in.nextInt(&c), 0, 30, "number of formations");
    ST_NUM_PLTYPES = in.checked(in.nextInt(&c), 0, 30, "number of player types");
    ST_NUM_FLUX = in.checked(in.nextInt(&c), 0, 30, "number of fluxes");
    ST_NUM_SETPLANS = in.checked(in.nextInt(&c), 0, 10, "number of set plans");

    c = in.next();
    ST_Opponent = in.checked(in.nextInt(&c), 0, 20, "opponent");

    c = in.next();
    ST_NUM_TIME_TACTICS = in.checked(in.nextInt(&c), 0, 10, "number of time tactics");
    ST_NUM_OPP_TACTICS = in.checked(in.nextInt(&c), 0, 21, "number of opponent groups");

    for (int t = 1; t <= ST_NUM_TIME_TACTICS; t++) {
        c = in.next();
        TT.TimeInit[t] = in.nextInt(&c);
        TT.TimeEnd[t] = in.nextInt(&c);
        for (int g = 0; g < ST_NUM_OPP_TACTICS; g++) {
            const int o = in.checked(in.nextInt(&c), 0, 20, "opponent");
            for (int r = 1; r <= 5; r++)
                TT.TimeTactic[t][o][r] = in.checked(in.nextInt(&c), 0, 60, "tactic");
            if (o == 0) {
                for (int other = 1; other <= 20; other++)
                    for (int r = 1; r <= 5; r++)
                        TT.TimeTactic[t][other][r] = TT.TimeTactic[t][0][r];
            }
        }
    }

    in.next();
    for (int k = 1; k <= ST_NUM_TACTICS; k++) {
        c = in.next();
        in.nextInt(&c);
        c = in.next();
        TA.Formation[k] = in.checked(in.nextInt(&c), 0, 30, "formation");
        TA.Flux[k] = in.checked(in.nextInt(&c), 0, 30, "flux");
        TA.Plans[k] = in.checked(in.nextInt(&c), 0, 10, "set plan");
        TA.WFlux[k] = in.nextFloat(&c);
        TA.WSafe[k] = in.nextFloat(&c);
        TA.WEasy[k] = in.nextFloat(&c);
        TA.WPass[k] = in.nextFloat(&c);
        TA.WDrib[k] = in.nextFloat(&c);
        c = in.next();
        const int s1 = in.checked(in.nextInt(&c), 0, 30, "formation");
        TA.SitForm[k][1] = s1;
        if (s1 != 0) {
            TA.UseSit[k] = 1;
            for (int s = 2; s <= 20; s++)
                TA.SitForm[k][s] = in.checked(in.nextInt(&c), 0, 30, "formation");
        } else {
            TA.UseSit[k] = 0;
            for (int s = 1; s <= 20; s++)
                TA.SitForm[k][s] = TA.Formation[k];
        }
    }

    in.next();
    in.next();
    const int T = ST_NUM_PLTYPES;
    c = in.next();
    for (int i = 1; i <= T; i++)
        PT.Attraction[i].x = in.nextFloat(&c);
    c = in.next();
    for (int i = 1; i <= T; i++)
        PT.Attraction[i].y = in.nextFloat(&c);
    // One line with a value for each player type.
    auto floatRow = [&](float* row) {
        c = in.next();
        for (int i = 1; i <= T; i++)
            row[i] = in.nextFloat(&c);
    };
    auto intRow = [&](int* row) {
        c = in.next();
        for (int i = 1; i <= T; i++)
            row[i] = in.nextInt(&c);
    };
    floatRow(PT.AreaAttAtt);
    floatRow(PT.AreaAttDef);
    intRow(PT.BehindBall);
    floatRow(PT.MinX);
    floatRow(PT.MaxX);
    floatRow(PT.MinY);
    floatRow(PT.MaxY);
    intRow(PT.DecisionAlgorithm);

    const int P = ST_NUM_PLAYERS;
    in.next();
    for (int i = 1; i <= ST_NUM_FORM; i++) {
        c = in.next();
        in.nextInt(&c);
        FM.Type[i] = in.checked(in.nextInt(&c), 1, 2, "formation type");
        if (FM.Type[i] == 1) {
            c = in.next();
            for (int p = 1; p <= P; p++)
                FM.Position[i][p].x = in.nextFloat(&c);
            c = in.next();
            for (int p = 1; p <= P; p++)
                FM.Position[i][p].y = in.nextFloat(&c);
        } else {
            c = in.next();
            std::string name = fileNameOf(c);
            ReadDelaunayFormation(i, &name[0]);
        }
        c = in.next();
        for (int p = 1; p <= P; p++)
            FM.PlayerType[i][p] = in.checked(in.nextInt(&c), 0, 30, "player type");
    }

    in.next();
    for (int i = 1; i <= ST_NUM_FLUX; i++) {
        c = in.next();
        in.nextInt(&c);
        FL.Type[i] = in.checked(in.nextInt(&c), 1, 2, "flux type");
        if (FL.Type[i] == 1) {
            for (int y = 0; y <= 6; y++) {
                c = in.next();
                for (int x = 0; x <= 8; x++)
                    FL.Flux[i][x][y] = in.nextInt(&c);
            }
        } else {
            c = in.next();
            std::string name = fileNameOf(c);
            ReadDelaunayFlux(i, &name[0]);
        }
    }

    in.next();
    for (int s = 1; s <= ST_NUM_SETPLANS; s++) {
        in.next();
        c = in.next();
        for (int j = 1; j <= 20; j++)
            SP.SetPlays[s][j] = in.nextInt(&c);
    }
    in.next();

    c = in.next();
    StPar.GameTime = in.nextInt(&c);
    StPar.ExtraTime = in.nextInt(&c);
    c = in.next();
    StPar.FieldSize.x = in.nextFloat(&c);
    StPar.FieldSize.y = in.nextFloat(&c);
    if (!(StPar.FieldSize.x > 0 && StPar.FieldSize.y > 0))
        in.fail("field size must be positive");
    c = in.next();
    StPar.PenaltyAreaSize.x = in.nextFloat(&c);
    StPar.PenaltyAreaSize.y = in.nextFloat(&c);
    StPar.GoalSize = in.nextFloat(&c);
    c = in.next();
    StPar.AgentMaxKickDist = in.nextFloat(&c);
    StPar.AgentMaxSpeed = in.nextFloat(&c);
    StPar.AgentSize = in.nextFloat(&c);

    in.next();
    c = in.next();
    SK.active = in.nextInt(&c);
    c = in.next();
    SK.kickerN = in.checked(in.nextInt(&c), 0, 11, "kicker");
    SK.kickerX = in.nextFloat(&c);
    SK.kickerY = in.nextFloat(&c);
    SK.kickerTeta = in.nextFloat(&c);
    c = in.next();
    SK.kickTime = in.nextFloat(&c);
    SK.ballTargetX = in.nextFloat(&c);
    SK.ballTargetY = in.nextFloat(&c);
    SK.ballPrevX = in.nextFloat(&c);
    SK.ballPrevY = in.nextFloat(&c);
    SK.ballDist = in.nextFloat(&c);
    // The closing line carries nothing.
    in.tryNext();

    SetTactic(TT.TimeTactic[1][0][3]);
    fclose(file);
}
