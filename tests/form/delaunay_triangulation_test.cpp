#include "form/delaunay_triangulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

using rcsc::DelaunayTriangulation;
using rcsc::Rect2D;
using rcsc::Size2D;
using rcsc::Vector2D;

namespace {

using Triangle = DelaunayTriangulation::Triangle;
using Vertex = DelaunayTriangulation::Vertex;

const Rect2D kField(Vector2D(-60.0, -45.0), Size2D(120.0, 90.0));

std::set<std::array<int, 3>> triangleIds(const DelaunayTriangulation& dt)
{
    std::set<std::array<int, 3>> ids;
    for (const auto& entry : dt.triangleMap()) {
        std::array<int, 3> t = {entry.second->vertex(0)->id(), entry.second->vertex(1)->id(),
                                entry.second->vertex(2)->id()};
        std::sort(t.begin(), t.end());
        ids.insert(t);
    }
    return ids;
}

double cross(const Vector2D& o, const Vector2D& a, const Vector2D& b)
{
    return (a - o).outerProduct(b - o);
}

bool hasCorner(const Triangle* t, const Vector2D& p)
{
    return t->vertex(0)->pos() == p || t->vertex(1)->pos() == p || t->vertex(2)->pos() == p;
}

// Closed containment with a small tolerance, independent of the code under test.
bool coversPoint(const Triangle* t, const Vector2D& p, const double tol)
{
    const Vector2D& a = t->vertex(0)->pos();
    const Vector2D& b = t->vertex(1)->pos();
    const Vector2D& c = t->vertex(2)->pos();
    const double s = cross(a, b, c) > 0.0 ? 1.0 : -1.0;
    return s * cross(a, b, p) >= -tol && s * cross(b, c, p) >= -tol && s * cross(c, a, p) >= -tol;
}

// Checks the structure, the empty-circumcircle property and that every point
// of the rectangle lies in exactly one triangle (the vertices must span it).
void expectDelaunayCover(const DelaunayTriangulation& dt, const Rect2D& rect, const int grid)
{
    const auto& tris = dt.triangleMap();
    ASSERT_FALSE(tris.empty());

    struct Box {
        const Triangle* tri;
        Vector2D lo;
        Vector2D hi;
    };
    std::vector<Box> boxes;

    double area = 0.0;
    for (const auto& entry : tris) {
        const Triangle* t = entry.second;
        for (int i = 0; i < 3; ++i) {
            ASSERT_GE(t->vertex(i)->id(), 0) << "initial vertex left in triangle " << t->id();
            const DelaunayTriangulation::Edge* e = t->edge(i);
            ASSERT_TRUE(e->triangle(0) == t || e->triangle(1) == t) << "edge does not hold triangle";
        }
        const Vector2D& a = t->vertex(0)->pos();
        const Vector2D& b = t->vertex(1)->pos();
        const Vector2D& c = t->vertex(2)->pos();
        const double area2 = cross(a, b, c);
        ASSERT_GT(std::fabs(area2), 1e-9) << "degenerate triangle " << t->id();
        area += std::fabs(area2) * 0.5;
        boxes.push_back({t, Vector2D(std::min({a.x, b.x, c.x}), std::min({a.y, b.y, c.y})),
                         Vector2D(std::max({a.x, b.x, c.x}), std::max({a.y, b.y, c.y}))});

        // Circumcircle from the textbook formula.
        const double d = 2.0 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
        const Vector2D cc((a.r2() * (b.y - c.y) + b.r2() * (c.y - a.y) + c.r2() * (a.y - b.y)) / d,
                          (a.r2() * (c.x - b.x) + b.r2() * (a.x - c.x) + c.r2() * (b.x - a.x)) / d);
        const double r = cc.dist(a);
        for (const Vertex& v : dt.vertices()) {
            if (v.pos().dist(cc) < r * (1.0 - 1e-9) - 1e-9) {
                ADD_FAILURE() << "vertex " << v.id() << " inside the circumcircle of triangle "
                              << t->id();
            }
        }
    }
    EXPECT_NEAR(rect.size().length() * rect.size().width(), area, 1e-6 * area);

    for (int i = 0; i <= grid; ++i) {
        for (int j = 0; j <= grid; ++j) {
            const Vector2D p(rect.left() + rect.size().length() * i / grid,
                             rect.top() + rect.size().width() * j / grid);
            const Triangle* found = dt.findTriangleContains(p);
            ASSERT_NE(nullptr, found) << p << " not located";
            if (!coversPoint(found, p, 1e-6)) {
                ADD_FAILURE() << p << " located in a triangle that misses it";
            }

            // No other triangle overlaps it (its border aside).
            int inside = 0;
            for (const Box& box : boxes) {
                if (box.lo.x <= p.x && p.x <= box.hi.x && box.lo.y <= p.y && p.y <= box.hi.y
                    && coversPoint(box.tri, p, -1e-7)) {
                    ++inside;
                }
            }
            if (inside > 1) {
                ADD_FAILURE() << p << " lies inside " << inside << " triangles";
            }
        }
    }
}

void addCorners(DelaunayTriangulation& dt, const Rect2D& r)
{
    dt.addVertex(r.left(), r.top());
    dt.addVertex(r.right(), r.top());
    dt.addVertex(r.right(), r.bottom());
    dt.addVertex(r.left(), r.bottom());
}

std::string computeCapturingStderr(DelaunayTriangulation& dt)
{
    testing::internal::CaptureStderr();
    dt.compute();
    return testing::internal::GetCapturedStderr();
}

}  // namespace

TEST(DelaunayTriangulationTest, InitPlacesTheInitialTriangleAroundTheRectangle)
{
    DelaunayTriangulation dt;
    dt.init(kField);
    ASSERT_EQ(1u, dt.triangleMap().size());
    EXPECT_EQ(3u, dt.edgeMap().size());

    const Triangle* t = dt.triangleMap().begin()->second;
    const Vector2D expected[3] = {{6100.0, 0.0}, {0.0, 6100.0}, {-6100.0, -6100.0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(-1 - i, t->vertex(i)->id());
        EXPECT_EQ(expected[i], t->vertex(i)->pos());
    }
}

TEST(DelaunayTriangulationTest, FewerThanThreeVerticesGiveNoTriangles)
{
    for (int n = 0; n <= 2; ++n) {
        DelaunayTriangulation dt;
        dt.init(kField);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(i, dt.addVertex(i, 2.0 * i));
        }
        EXPECT_EQ("", computeCapturingStderr(dt));
        EXPECT_TRUE(dt.triangleMap().empty()) << n;
        EXPECT_TRUE(dt.edgeMap().empty()) << n;
        EXPECT_EQ(nullptr, dt.findTriangleContains(Vector2D(0.0, 0.0)));
        EXPECT_EQ(static_cast<std::size_t>(n), dt.vertices().size());
    }
}

TEST(DelaunayTriangulationTest, ThreeAndFourVertices)
{
    DelaunayTriangulation dt;
    dt.init(kField);
    dt.addVertex(0.0, 0.0);
    dt.addVertex(10.0, 0.0);
    dt.addVertex(0.0, 10.0);
    dt.compute();
    EXPECT_EQ((std::set<std::array<int, 3>>{{0, 1, 2}}), triangleIds(dt));
    EXPECT_EQ(3u, dt.edgeMap().size());

    dt.init(kField);
    addCorners(dt, Rect2D(Vector2D(0.0, 0.0), Size2D(1.0, 1.0)));
    dt.compute();
    const auto ids = triangleIds(dt);
    ASSERT_EQ(2u, ids.size());
    // Split along one diagonal: the two triangles share exactly two vertices.
    std::vector<int> shared;
    std::set_intersection(ids.begin()->begin(), ids.begin()->end(), ids.rbegin()->begin(),
                          ids.rbegin()->end(), std::back_inserter(shared));
    ASSERT_EQ(2u, shared.size());
    EXPECT_EQ(2, shared[1] - shared[0]);  // 0-2 or 1-3
}

TEST(DelaunayTriangulationTest, PointLocationOnEdgesVerticesAndOutside)
{
    DelaunayTriangulation dt;
    dt.init(kField);
    addCorners(dt, Rect2D(Vector2D(0.0, 0.0), Size2D(10.0, 10.0)));
    dt.compute();
    ASSERT_EQ(2u, dt.triangleMap().size());

    // On the shared diagonal: the triangle with the smaller id.
    const auto first = dt.triangleMap().begin();
    Triangle* sol = nullptr;
    EXPECT_EQ(DelaunayTriangulation::ONLINE, dt.findTriangleContains(Vector2D(5.0, 5.0), &sol));
    EXPECT_EQ(first->second, sol);

    for (const Vertex& v : dt.vertices()) {
        const Triangle* t = dt.findTriangleContains(v.pos());
        ASSERT_NE(nullptr, t);
        EXPECT_TRUE(hasCorner(t, v.pos()));
    }

    sol = nullptr;
    EXPECT_EQ(DelaunayTriangulation::NOT_CONTAINED, dt.findTriangleContains(Vector2D(11.0, 5.0), &sol));
    EXPECT_EQ(nullptr, sol);
    EXPECT_EQ(nullptr, dt.findTriangleContains(Vector2D(-0.5, 5.0)));

    // Nearest vertex: (0,10) and (10,10) tie for (5,12); the first added wins.
    EXPECT_EQ(2, dt.findNearestVertex(Vector2D(5.0, 12.0))->id());
    EXPECT_EQ(3, dt.findNearestVertex(Vector2D(-3.0, 11.0))->id());
    EXPECT_EQ(nullptr, dt.findNearestVertex(Vector2D(5000.0, 0.0)));  // beyond the search radius

    EXPECT_EQ(nullptr, DelaunayTriangulation().findNearestVertex(Vector2D(0.0, 0.0)));
    EXPECT_EQ(nullptr, dt.getVertex(-1));
    EXPECT_EQ(nullptr, dt.getVertex(4));
    ASSERT_NE(nullptr, dt.getVertex(3));
    EXPECT_EQ(Vector2D(0.0, 10.0), dt.getVertex(3)->pos());
}

TEST(DelaunayTriangulationTest, DuplicatePointIsReportedAndLeftOut)
{
    DelaunayTriangulation dt;
    dt.init(kField);
    addCorners(dt, Rect2D(Vector2D(0.0, 0.0), Size2D(10.0, 10.0)));
    dt.addVertex(4.0, 3.0);
    EXPECT_EQ(5, dt.addVertex(10.0, 0.0));  // repeats vertex 1
    EXPECT_EQ(6, dt.addVertex(4.0, 3.0));   // repeats vertex 4

    const std::string err = computeCapturingStderr(dt);
    EXPECT_NE(std::string::npos,
              err.find("form/delaunay_triangulation:514 ***ERROR*** updateOnlineVertex(). detect "
                       "the same vertex in old triangle="))
        << err;
    EXPECT_NE(std::string::npos, err.find(" illegal_vertex=(10, 0)\n")) << err;
    EXPECT_NE(std::string::npos, err.find("form/delaunay_triangulation:364 illegal vertex. index=6\n"))
        << err;
    EXPECT_NE(std::string::npos, err.find("form/delaunay_triangulation:364 illegal vertex. index=7\n"))
        << err;

    EXPECT_EQ(7u, dt.vertices().size());
    EXPECT_EQ(Vector2D(10.0, 0.0), dt.getVertex(5)->pos());
    for (const auto& t : triangleIds(dt)) {
        EXPECT_LT(t[2], 5) << "a repeated vertex was triangulated";
    }
    expectDelaunayCover(dt, Rect2D(Vector2D(0.0, 0.0), Size2D(10.0, 10.0)), 20);
}

TEST(DelaunayTriangulationTest, CollinearPoints)
{
    // All on one line: no triangle, no diagnostics, nearest vertex still works.
    DelaunayTriangulation line;
    line.init(kField);
    for (int i = 0; i < 6; ++i) {
        line.addVertex(-20.0 + 8.0 * i, 0.5 * (-20.0 + 8.0 * i));
    }
    EXPECT_EQ("", computeCapturingStderr(line));
    EXPECT_TRUE(line.triangleMap().empty());
    EXPECT_EQ(nullptr, line.findTriangleContains(Vector2D(0.0, 0.0)));
    EXPECT_EQ(2, line.findNearestVertex(Vector2D(-3.0, 1.0))->id());

    // Samples along the touch lines and the halfway line of a field.
    const Rect2D field(Vector2D(-15.0, -10.0), Size2D(30.0, 20.0));
    DelaunayTriangulation dt;
    dt.init(kField);
    for (int i = 0; i <= 6; ++i) {
        dt.addVertex(-15.0 + 5.0 * i, -10.0);
        dt.addVertex(-15.0 + 5.0 * i, 10.0);
    }
    for (int j = 1; j < 4; ++j) {
        dt.addVertex(0.0, -10.0 + 5.0 * j);
    }
    EXPECT_EQ("", computeCapturingStderr(dt));
    expectDelaunayCover(dt, field, 30);
}

TEST(DelaunayTriangulationTest, RegularGridOfSamples)
{
    // Four points on every circle: the most degenerate case for the flips.
    const Rect2D field(Vector2D(-50.0, -30.0), Size2D(100.0, 60.0));
    DelaunayTriangulation dt;
    dt.init(kField);
    for (int i = 0; i <= 10; ++i) {
        for (int j = 0; j <= 6; ++j) {
            dt.addVertex(-50.0 + 10.0 * i, -30.0 + 10.0 * j);
        }
    }
    EXPECT_EQ("", computeCapturingStderr(dt));
    EXPECT_EQ(2u * 10u * 6u, dt.triangleMap().size());
    expectDelaunayCover(dt, field, 40);
}

TEST(DelaunayTriangulationTest, SampleCloseToTheHullKeepsTheHullCovered)
{
    // The triangle on the bottom edge has a circumcircle far larger than the
    // initial triangle; the bottom of the square must still be covered.
    const Rect2D square(Vector2D(0.0, 0.0), Size2D(10.0, 10.0));
    DelaunayTriangulation dt;
    dt.init(square);
    addCorners(dt, square);
    dt.addVertex(5.0, 0.001);
    dt.compute();
    EXPECT_EQ(4u, dt.triangleMap().size());
    ASSERT_NE(nullptr, dt.findTriangleContains(Vector2D(5.0, 0.0005)));
    expectDelaunayCover(dt, square, 20);
}

TEST(DelaunayTriangulationTest, RandomPointsFormADelaunayTriangulationOfTheRectangle)
{
    const Rect2D field(Vector2D(-52.5, -34.0), Size2D(105.0, 68.0));
    std::mt19937 rng(20240611u);
    std::uniform_real_distribution<double> ux(field.left(), field.right());
    std::uniform_real_distribution<double> uy(field.top(), field.bottom());

    DelaunayTriangulation dt;
    dt.init(kField);
    addCorners(dt, field);
    for (int i = 0; i < 300; ++i) {
        dt.addVertex(ux(rng), uy(rng));
    }
    EXPECT_EQ("", computeCapturingStderr(dt));
    // Euler: 2n - 2 - h triangles for n points with h of them on the hull.
    EXPECT_EQ(2u * 304u - 2u - 4u, dt.triangleMap().size());
    expectDelaunayCover(dt, field, 60);
}

TEST(DelaunayTriangulationTest, SecondComputeKeepsTheVertices)
{
    const Rect2D field(Vector2D(-52.5, -34.0), Size2D(105.0, 68.0));
    std::mt19937 rng(7u);
    std::uniform_real_distribution<double> u(-30.0, 30.0);

    // A small set (one triangle) and a larger one.
    for (const int extra : {0, 40}) {
        DelaunayTriangulation dt;
        dt.init(kField);
        addCorners(dt, field);
        for (int i = 0; i < extra; ++i) {
            dt.addVertex(u(rng), u(rng) * 0.5);
        }
        dt.compute();
        const auto before = triangleIds(dt);

        EXPECT_EQ("", computeCapturingStderr(dt)) << extra;
        EXPECT_EQ(4u + extra, dt.vertices().size());
        EXPECT_EQ(before, triangleIds(dt)) << extra;
        expectDelaunayCover(dt, field, 20);
    }

    // Without init the first compute builds its own initial triangle.
    DelaunayTriangulation bare;
    bare.addVertex(0.0, 0.0);
    bare.addVertex(4.0, 0.0);
    bare.addVertex(0.0, 3.0);
    bare.compute();
    EXPECT_EQ((std::set<std::array<int, 3>>{{0, 1, 2}}), triangleIds(bare));
}

TEST(DelaunayTriangulationTest, VerticesAddedAfterComputeDoNotDisturbQueries)
{
    DelaunayTriangulation dt;
    dt.init(kField);
    addCorners(dt, Rect2D(Vector2D(0.0, 0.0), Size2D(10.0, 10.0)));
    dt.compute();
    const Triangle* before = dt.findTriangleContains(Vector2D(2.0, 7.0));
    ASSERT_NE(nullptr, before);

    for (int i = 0; i < 200; ++i) {
        dt.addVertex(0.05 * i, 5.0);
    }
    const Triangle* after = dt.findTriangleContains(Vector2D(2.0, 7.0));
    ASSERT_EQ(before, after);
    for (int i = 0; i < 3; ++i) {
        EXPECT_LT(after->vertex(i)->id(), 4);
        EXPECT_EQ(dt.getVertex(after->vertex(i)->id())->pos(), after->vertex(i)->pos());
    }

    dt.compute();
    expectDelaunayCover(dt, Rect2D(Vector2D(0.0, 0.0), Size2D(10.0, 10.0)), 20);
}

TEST(DelaunayTriangulationTest, VertexOutsideTheInitialTriangleIsReportedAndLeftOut)
{
    const Rect2D square(Vector2D(0.0, 0.0), Size2D(10.0, 10.0));
    DelaunayTriangulation dt;
    dt.init(square);  // initial corners about 600 away
    dt.addVertex(0.0, 0.0);
    dt.addVertex(5000.0, 5000.0);
    dt.addVertex(10.0, 0.0);
    dt.addVertex(10.0, 10.0);
    dt.addVertex(0.0, 10.0);

    EXPECT_EQ("form/delaunay_triangulation:346 compute() illegal vertex. over initial triangle region.\n",
              computeCapturingStderr(dt));
    for (const auto& t : triangleIds(dt)) {
        EXPECT_NE(1, t[0]);
        EXPECT_NE(1, t[1]);
        EXPECT_NE(1, t[2]);
    }
    expectDelaunayCover(dt, square, 20);
}

TEST(DelaunayTriangulationTest, EdgeSlotsAndTriangleCorners)
{
    const Vertex a(0, 0.0, 0.0);
    const Vertex b(1, 4.0, 0.0);
    const Vertex c(2, 0.0, 4.0);
    const Vertex d(3, 9.0, 9.0);
    DelaunayTriangulation::Edge ab(0, &a, &b);
    DelaunayTriangulation::Edge ca(1, &c, &a);  // shares its second end with ab's first
    DelaunayTriangulation::Edge bc(2, &b, &c);

    {
        const Triangle t(7, &ab, &ca, &bc);
        EXPECT_EQ(&a, t.vertex(0));
        EXPECT_EQ(&b, t.vertex(1));
        EXPECT_EQ(&c, t.vertex(2));
        EXPECT_EQ(Vector2D(2.0, 2.0), t.circumcenter());
        EXPECT_DOUBLE_EQ(std::sqrt(8.0), t.circumradius());
        EXPECT_TRUE(t.contains(Vector2D(3.9, 3.9)));
        EXPECT_FALSE(t.contains(Vector2D(4.1, 4.1)));
        EXPECT_EQ(&c, t.getVertexExclude(&ab));
        EXPECT_EQ(&a, t.getVertexExclude(&b, &c));
        EXPECT_EQ(&ca, t.getEdgeInclude(&c, &a));
        EXPECT_EQ(nullptr, t.getEdgeInclude(&a, &d));

        EXPECT_EQ(&t, ab.triangle(0));
        EXPECT_EQ(nullptr, ab.triangle(1));

        DelaunayTriangulation::Edge bd(3, &b, &d);
        DelaunayTriangulation::Edge da(4, &d, &a);
        {
            const Triangle other(8, &ab, &bd, &da);
            EXPECT_EQ(&d, other.vertex(2));
            EXPECT_EQ(&other, ab.triangle(1));
            ab.setTriangle(const_cast<Triangle*>(&other));  // already held: no change
            {
                const Triangle third(9, &ab, &bc, &ca);  // both slots full: not entered
                EXPECT_EQ(&t, ab.triangle(0));
                EXPECT_EQ(&other, ab.triangle(1));
                EXPECT_EQ(&third, bc.triangle(1));
            }
            EXPECT_EQ(&t, bc.triangle(0));
            EXPECT_EQ(nullptr, bc.triangle(1));
        }
        EXPECT_EQ(&t, ab.triangle(0));
        EXPECT_EQ(nullptr, ab.triangle(1));
    }
    // The destroyed triangle took itself off its edges.
    for (const auto* e : {&ab, &ca, &bc}) {
        EXPECT_EQ(nullptr, e->triangle(0));
        EXPECT_EQ(nullptr, e->triangle(1));
    }
    EXPECT_TRUE(bc.hasVertex(&c));
    EXPECT_FALSE(bc.hasVertex(&a));
}
