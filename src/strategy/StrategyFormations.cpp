#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "geometry/Geometry.h"
#include "strategy/Situation.h"
#include "strategy/Strategy.h"
#include "strategy/StrategyScan.h"

namespace {

const int MAX_SAMPLES = 200;

// Every triangulation spans the same rectangle around the field: ball
// samples lie within kAreaX and kAreaY of the centre.
const double kAreaX = 60, kAreaY = 45;

std::unique_ptr<rcsc::DelaunayTriangulation> triangulate(const Vector* balls, int n)
{
    std::unique_ptr<rcsc::DelaunayTriangulation> t(new rcsc::DelaunayTriangulation());
    t->init(rcsc::Rect2D(rcsc::Vector2D(-kAreaX, -kAreaY), rcsc::Size2D(2 * kAreaX, 2 * kAreaY)));
    for (int j = 1; j <= n; j++)
        t->addVertex(balls[j].x, balls[j].y);
    t->compute();
    return t;
}

// A number of a formation or flux file that converts safely: finite, and
// within the range of the type it is stored in.
bool storable(double v, double limit) { return std::isfinite(v) && std::fabs(v) <= limit; }

bool storablePoint(double x, double y) { return storable(x, FLT_MAX) && storable(y, FLT_MAX); }

// A ball sample the triangulation can take: far-off points break its geometry.
bool samplePoint(double x, double y) { return storable(x, kAreaX) && storable(y, kAreaY); }

// Sample number k of a file with n samples, stored at index k + 1.
int sampleIndex(const ScanFile& in, int k, int n, bool* seen)
{
    if (k < 0 || k >= n) {
        char what[96];
        snprintf(what, sizeof what, "sample number %d outside 0..%d", k, n - 1);
        in.fail(what);
    }
    if (seen != nullptr) {
        if (seen[k + 1])
            in.fail("sample number " + std::to_string(k) + " given twice");
        seen[k + 1] = true;
    }
    return k + 1;
}

}  // namespace

void Strategy::ReadDelaunayFormation(int form, char* fileName)
{
    FILE* file = fopen(fileName, "r");
    if (file == nullptr)
        return;
    ScanFile in(file, fileName);
    const int P = ST_NUM_PLAYERS;

    in.next();
    in.next();

    Formations::RoleList roles;
    roles.push_back(std::make_pair(-1, Role()));
    for (int p = 1; p <= P; p++) {
        const char* l = in.next();
        const size_t from = p < 10 ? 2 : 3;
        std::string code;
        if (strlen(l) > from)
            code = std::string(l + from).substr(0, 3);
        roles.push_back(std::make_pair(p, Role(0, Role::to_int(code))));
    }
    FM.roles[form] = roles;

    in.next();
    int ignored = 0;
    int n = 0;
    if (sscanf(in.next(), " Begin Samples %d %d ", &ignored, &n) != 2)
        in.fail("expected \"Begin Samples\" with two numbers");
    in.checked(n, 0, MAX_SAMPLES, "sample count");
    FM.NPointsDel[form] = n;

    bool seen[MAX_SAMPLES + 1] = {};
    for (int s = 0; s < n; s++) {
        int k = -1;
        if (sscanf(in.next(), "----- %d -----", &k) != 1)
            k = -1;
        const int idx = sampleIndex(in, k, n, seen);
        double x = 0, y = 0;
        if (sscanf(in.next(), " Ball %lf %lf ", &x, &y) != 2 || !samplePoint(x, y))
            in.fail("expected \"Ball\" with two finite coordinates within 60 m and 45 m of the centre");
        FM.BallPositionDel[form][idx] = Vector((float)x, (float)y);
        for (int p = 1; p <= P; p++) {
            int num = 0;
            if (sscanf(in.next(), " %d %lf %lf ", &num, &x, &y) != 3 || !storablePoint(x, y))
                in.fail("expected a player number and two finite coordinates");
            FM.PositionDel[form][idx][p] = Vector((float)x, (float)y);
        }
    }
    FM.Triangulations[form] = triangulate(FM.BallPositionDel[form], n);

    in.next();
    int groups = 0;
    if (sscanf(in.next(), " Begin Player With Ball Samples %d ", &groups) != 1)
        in.fail("expected \"Begin Player With Ball Samples\" with a count");
    in.checked(groups, 0, MAX_SAMPLES * 11, "group count");
    FM.ChangedPos[form].clear();
    for (int g = 0; g < groups; g++) {
        int owner = 0;
        int entries = 0;
        if (sscanf(in.next(), " Player %d %d", &owner, &entries) != 2)
            in.fail("expected \"Player\" with the ball owner and a count");
        in.checked(entries, 0, MAX_SAMPLES, "entry count");
        for (int e = 0; e < entries; e++) {
            int a = 0;
            int m = 0;
            if (sscanf(in.next(), " %d %d ", &a, &m) != 2)
                in.fail("expected a sample number and a count");
            const int idx = sampleIndex(in, a, n, nullptr);
            in.checked(m, 0, 11, "player count");
            rcsc::formation::SampleData::PlayerCont players;
            std::vector<int> numbers;
            for (int q = 0; q < m; q++) {
                int num = 0;
                double x = 0, y = 0;
                if (sscanf(in.next(), " %d %lf %lf ", &num, &x, &y) == 3 && storablePoint(x, y)) {
                    players.push_back(rcsc::Vector2D(x, y));
                    numbers.push_back(num);
                }
            }
            if (!players.empty())
                FM.ChangedPos[form].push_back(
                    rcsc::formation::SampleData(owner, idx, players, numbers));
        }
    }
    fclose(file);
}

void Strategy::ReadDelaunayFlux(int flux, char* fileName)
{
    FILE* file = fopen(fileName, "r");
    if (file == nullptr) {
        fputs("Delaunay Flux File does not Exist!\n", stderr);
        return;
    }
    ScanFile in(file, fileName);
    int n = 0;
    if (sscanf(in.next(), " Begin Flux %d ", &n) != 1)
        in.fail("expected \"Begin Flux\" with a count");
    in.checked(n, 0, MAX_SAMPLES, "sample count");
    FL.NPointsDel[flux] = n;
    bool seen[MAX_SAMPLES + 1] = {};
    for (int s = 0; s < n; s++) {
        int k = 0;
        double x = 0, y = 0, v = 0;
        if (sscanf(in.next(), " %d %lf %lf %lf ", &k, &x, &y, &v) != 4 || !samplePoint(x, y) ||
            !storable(v, INT_MAX))
            in.fail("expected a sample number, two finite coordinates within 60 m and 45 m of the centre and a "
                    "value within the integers");
        const int idx = sampleIndex(in, k, n, seen);
        FL.BallPositionDel[flux][idx] = Vector((float)x, (float)y);
        FL.FluxValueDel[flux][idx] = (int)v;
    }
    FL.Triangulations[flux] = triangulate(FL.BallPositionDel[flux], n);
    in.tryNext();
    fclose(file);
}

Vector Strategy::interpolate_2009(Vector ball, Vector b1, Vector b2, Vector b3, Vector p1,
                                  Vector p2, Vector p3)
{
    // A flat triangle, or a ball on the first corner, leaves no line to
    // interpolate along: take the value of the nearest corner.
    const float d1 = ball.getDistanceTo(b1);
    const float d2c = ball.getDistanceTo(b2);
    const float d3c = ball.getDistanceTo(b3);
    const Vector nearest = d1 <= d2c && d1 <= d3c ? p1 : (d2c <= d3c ? p2 : p3);
    const float cross = (b2.x - b1.x) * (b3.y - b1.y) - (b2.y - b1.y) * (b3.x - b1.x);
    if (std::fabs(cross) < 1e-6f || d1 < 1e-6f)
        return nearest;

    const Vector I = Line(b1, ball).getIntersection(Line(b2, b3));
    const float d2 = (I - b2).length();
    const float d3 = (I - b3).length();
    const float e1 = (ball - b1).length();
    const float eI = (ball - I).length();
    if (!(d2 + d3 > 1e-6f) || !(e1 + eI > 1e-6f) || !std::isfinite(I.x) || !std::isfinite(I.y))
        return nearest;
    const Vector posI = p2 + (p3 - p2) * (d2 / (d2 + d3));
    return p1 + (posI - p1) * (e1 / (e1 + eI));
}

Vector Strategy::BallToInsideField(Vector ball)
{
    const float hx = StPar.FieldSize.x / 2;
    const float hy = StPar.FieldSize.y / 2;
    ball.x = std::max(-hx, std::min(hx, ball.x));
    ball.y = std::max(-hy, std::min(hy, ball.y));
    return ball;
}

float Strategy::CalculateFlux(int flux, Vector ballPos)
{
    if (FL.Type[flux] == 2)
        return FluxDelaunayValue(flux, ballPos);
    return Flux9x7Value(flux, ballPos);
}

float Strategy::FluxDelaunayValue(int flux, Vector ball)
{
    // Without three samples there is no triangulation to look into.
    if (FL.NPointsDel[flux] < 3 || !FL.Triangulations[flux])
        return 0;
    if (StWS.Situation == Situation::OKO || StWS.Situation == Situation::TKO)
        ball = Vector(0, 0);
    ball = BallToInsideField(ball);

    const rcsc::DelaunayTriangulation& tri = *FL.Triangulations[flux];
    FL.Triangle = tri.findTriangleContains(rcsc::Vector2D(ball.x, ball.y));
    if (FL.Triangle == nullptr) {
        const rcsc::DelaunayTriangulation::Vertex* v =
            tri.findNearestVertex(rcsc::Vector2D(ball.x, ball.y));
        return v == nullptr ? 0 : (float)FL.FluxValueDel[flux][v->id() + 1];
    }
    int id[3];
    for (int c = 0; c < 3; c++) {
        id[c] = FL.Triangle->vertex(c)->id() + 1;
        if (ball == FL.BallPositionDel[flux][id[c]])
            return (float)FL.FluxValueDel[flux][id[c]];
    }
    return interpolate_2009(ball, FL.BallPositionDel[flux][id[0]], FL.BallPositionDel[flux][id[1]],
                            FL.BallPositionDel[flux][id[2]],
                            Vector((float)FL.FluxValueDel[flux][id[0]], 0),
                            Vector((float)FL.FluxValueDel[flux][id[1]], 0),
                            Vector((float)FL.FluxValueDel[flux][id[2]], 0))
        .x;
}

Vector Strategy::fieldToFlux(Vector p)
{
    return Vector((p.x / StPar.FieldSize.x + 0.5f) * 8, (p.y / StPar.FieldSize.y + 0.5f) * 6);
}

Vector Strategy::fluxToField(Vector f)
{
    return Vector((f.x / 8 - 0.5f) * StPar.FieldSize.x, (f.y / 6 - 0.5f) * StPar.FieldSize.y);
}

float Strategy::Flux9x7Value(int flux, Vector p)
{
    if (!(std::fabs(p.x) <= StPar.FieldSize.x / 2 && std::fabs(p.y) <= StPar.FieldSize.y / 2))
        return 0;
    const Vector f = fieldToFlux(p);
    // Rounding at the field's edge must not step off the grid.
    const int X0 = std::max(0, std::min(8, (int)std::floor(f.x)));
    const int X1 = std::max(0, std::min(8, (int)std::ceil(f.x)));
    const int Y0 = std::max(0, std::min(6, (int)std::floor(f.y)));
    const int Y1 = std::max(0, std::min(6, (int)std::ceil(f.y)));
    const float dx = f.x - X0;
    const float dy = f.y - Y0;
    const int(*F)[12] = FL.Flux[flux];
    return F[X0][Y0] * (1 - dx) * (1 - dy) + F[X0][Y1] * (1 - dx) * dy +
           F[X1][Y0] * dx * (1 - dy) + F[X1][Y1] * dx * dy;
}
