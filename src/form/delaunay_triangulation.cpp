#include "form/delaunay_triangulation.h"

#include "form/segment_2d.h"
#include "form/triangle_2d.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace rcsc {

namespace {

const int edge_pairs[3][2] = {{0, 1}, {1, 2}, {2, 0}};

std::ostream& report(const int line)
{
    return std::cerr << "form/delaunay_triangulation:" << line;
}

[[noreturn]] void badIndex(const char* where)
{
    std::cerr << where << ": index out of range" << std::endl;
    std::abort();
}

// The initial vertices stand for points infinitely far away: vertex -k sits
// at center + lambda * direction(-k) with lambda growing without bound.
// Predicates over them are polynomials in lambda; their sign for large lambda
// is the sign of the highest non-zero coefficient.
struct Poly {
    static constexpr int SIZE = 5;
    double c[SIZE] = {0.0, 0.0, 0.0, 0.0, 0.0};
};

Poly operator+(const Poly& a, const Poly& b)
{
    Poly r;
    for (int i = 0; i < Poly::SIZE; ++i) {
        r.c[i] = a.c[i] + b.c[i];
    }
    return r;
}

Poly operator-(const Poly& a, const Poly& b)
{
    Poly r;
    for (int i = 0; i < Poly::SIZE; ++i) {
        r.c[i] = a.c[i] - b.c[i];
    }
    return r;
}

Poly operator*(const Poly& a, const Poly& b)
{
    Poly r;
    for (int i = 0; i < Poly::SIZE; ++i) {
        if (a.c[i] == 0.0) {
            continue;
        }
        for (int j = 0; i + j < Poly::SIZE; ++j) {
            r.c[i + j] += a.c[i] * b.c[j];
        }
    }
    return r;
}

int leadSign(const Poly& p)
{
    for (int i = Poly::SIZE - 1; i >= 0; --i) {
        if (p.c[i] > 0.0) {
            return 1;
        }
        if (p.c[i] < 0.0) {
            return -1;
        }
    }
    return 0;
}

bool nearZero(const Poly& p)
{
    for (double v : p.c) {
        if (std::fabs(v) > DelaunayTriangulation::EPSILON_) {
            return false;
        }
    }
    return true;
}

struct SymPoint {
    Poly x;
    Poly y;
};

SymPoint operator-(const SymPoint& a, const SymPoint& b) { return SymPoint{a.x - b.x, a.y - b.y}; }

Poly cross(const SymPoint& a, const SymPoint& b) { return a.x * b.y - a.y * b.x; }

bool isInitial(const DelaunayTriangulation::Vertex* v) { return v->id() < 0; }

SymPoint symbolic(const DelaunayTriangulation::Vertex* v, const Vector2D& center)
{
    SymPoint p;
    if (!isInitial(v)) {
        p.x.c[0] = v->pos().x;
        p.y.c[0] = v->pos().y;
        return p;
    }
    static const double dir[3][2] = {{1.0, 0.0}, {0.0, 1.0}, {-1.0, -1.0}};
    const int k = -v->id() - 1;
    p.x.c[0] = center.x;
    p.x.c[1] = dir[k][0];
    p.y.c[0] = center.y;
    p.y.c[1] = dir[k][1];
    return p;
}

SymPoint symbolic(const Vector2D& pos)
{
    SymPoint p;
    p.x.c[0] = pos.x;
    p.y.c[0] = pos.y;
    return p;
}

bool hasInitialCorner(const DelaunayTriangulation::Triangle* tri)
{
    return isInitial(tri->vertex(0)) || isInitial(tri->vertex(1)) || isInitial(tri->vertex(2));
}

// Location in a triangle of caller's vertices, in plain arithmetic.
DelaunayTriangulation::ContainedType locateInRealTriangle(const DelaunayTriangulation::Triangle* tri,
                                                          const Vector2D& pos)
{
    const Vector2D rel[3] = {tri->vertex(0)->pos() - pos, tri->vertex(1)->pos() - pos,
                             tri->vertex(2)->pos() - pos};
    const double outer[3] = {rel[0].outerProduct(rel[1]), rel[1].outerProduct(rel[2]),
                             rel[2].outerProduct(rel[0])};
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(outer[i]) <= DelaunayTriangulation::EPSILON_) {
            const Vector2D& r0 = rel[i];
            const Vector2D& r1 = rel[(i + 1) % 3];
            return (r0.x * r1.x <= 0.0 && r0.y * r1.y <= 0.0) ? DelaunayTriangulation::ONLINE
                                                              : DelaunayTriangulation::NOT_CONTAINED;
        }
    }
    if ((outer[0] > 0.0 && outer[1] > 0.0 && outer[2] > 0.0)
        || (outer[0] < 0.0 && outer[1] < 0.0 && outer[2] < 0.0)) {
        return DelaunayTriangulation::CONTAINED;
    }
    return DelaunayTriangulation::NOT_CONTAINED;
}

void printEdge(std::ostream& os, const DelaunayTriangulation::Edge* e)
{
    os << e->vertex(0)->pos() << "-" << e->vertex(1)->pos();
}

}  // namespace

//
// Edge
//

void DelaunayTriangulation::Edge::setTriangle(Triangle* tri)
{
    if (M_triangles[0] == tri || M_triangles[1] == tri) {
        return;
    }
    if (!M_triangles[0]) {
        M_triangles[0] = tri;
    } else if (!M_triangles[1]) {
        M_triangles[1] = tri;
    }
}

void DelaunayTriangulation::Edge::removeTriangle(const Triangle* tri)
{
    for (Triangle*& t : M_triangles) {
        if (t == tri) {
            t = nullptr;
        }
    }
}

const DelaunayTriangulation::Vertex* DelaunayTriangulation::Edge::vertex(const int i) const
{
    if (i < 0 || i > 1) {
        badIndex("DelaunayTriangulation::Edge::vertex");
    }
    return M_vertices[static_cast<std::size_t>(i)];
}

DelaunayTriangulation::Triangle* DelaunayTriangulation::Edge::triangle(const int i) const
{
    if (i < 0 || i > 1) {
        badIndex("DelaunayTriangulation::Edge::triangle");
    }
    return M_triangles[static_cast<std::size_t>(i)];
}

//
// Triangle
//

DelaunayTriangulation::Triangle::Triangle(const int id, Edge* e0, Edge* e1, Edge* e2)
    : M_id(id), M_vertices{{nullptr, nullptr, nullptr}}, M_edges{{e0, e1, e2}}, M_circumradius(0.0)
{
    e0->setTriangle(this);
    e1->setTriangle(this);
    e2->setTriangle(this);

    M_vertices[0] = e0->vertex(0);
    M_vertices[1] = e0->vertex(1);
    M_vertices[2] = (e1->vertex(0) == M_vertices[0] || e1->vertex(0) == M_vertices[1])
                        ? e1->vertex(1)
                        : e1->vertex(0);

    M_circumcenter = Triangle2D::circumcenter(M_vertices[0]->pos(), M_vertices[1]->pos(),
                                              M_vertices[2]->pos());
    M_circumradius = M_circumcenter.dist(M_vertices[0]->pos());
}

DelaunayTriangulation::Triangle::~Triangle()
{
    for (Edge* e : M_edges) {
        e->removeTriangle(this);
    }
}

const DelaunayTriangulation::Vertex*
DelaunayTriangulation::Triangle::getVertexExclude(const Vertex* v1, const Vertex* v2) const
{
    for (const Vertex* v : M_vertices) {
        if (v != v1 && v != v2) {
            return v;
        }
    }
    return nullptr;
}

DelaunayTriangulation::Edge*
DelaunayTriangulation::Triangle::getEdgeInclude(const Vertex* v1, const Vertex* v2) const
{
    for (Edge* e : M_edges) {
        if (e->hasVertex(v1) && e->hasVertex(v2)) {
            return e;
        }
    }
    return nullptr;
}

const DelaunayTriangulation::Vertex* DelaunayTriangulation::Triangle::vertex(const int i) const
{
    if (i < 0 || i > 2) {
        badIndex("DelaunayTriangulation::Triangle::vertex");
    }
    return M_vertices[static_cast<std::size_t>(i)];
}

DelaunayTriangulation::Edge* DelaunayTriangulation::Triangle::edge(const int i) const
{
    if (i < 0 || i > 2) {
        badIndex("DelaunayTriangulation::Triangle::edge");
    }
    return M_edges[static_cast<std::size_t>(i)];
}

//
// DelaunayTriangulation
//

DelaunayTriangulation::DelaunayTriangulation()
    : M_edge_count(0), M_tri_count(0)
{
}

DelaunayTriangulation::~DelaunayTriangulation() { clear(); }

void DelaunayTriangulation::init(const Rect2D& rect)
{
    clear();
    createInitialTriangle(rect);
}

void DelaunayTriangulation::clear()
{
    clearTriangulation();
    M_vertices.clear();
}

void DelaunayTriangulation::clearTriangulation()
{
    M_edge_count = 0;
    M_tri_count = 0;
    for (auto& entry : M_triangle_map) {
        delete entry.second;
    }
    for (auto& entry : M_edge_map) {
        delete entry.second;
    }
    M_triangle_map.clear();
    M_edge_map.clear();
}

int DelaunayTriangulation::addVertex(const double& x, const double& y)
{
    const int id = static_cast<int>(M_vertices.size());
    M_vertices.emplace_back(id, x, y);
    return id;
}

const DelaunayTriangulation::Vertex* DelaunayTriangulation::getVertex(const int id) const
{
    if (M_vertices.empty() || id < 0 || static_cast<std::size_t>(id) >= M_vertices.size()) {
        return nullptr;
    }
    return &M_vertices[static_cast<std::size_t>(id)];
}

void DelaunayTriangulation::createInitialTriangle(const Rect2D& rect)
{
    // Keeps the vertex list: a rebuild before a later compute must not lose it.
    clearTriangulation();

    const double h = std::max(rect.size().width() * 0.5 + 1.0, rect.size().length() * 0.5 + 1.0);
    const Vector2D c = rect.center();

    M_initial_vertex[0].assign(-1, c.x + 100.0 * h, c.y);
    M_initial_vertex[1].assign(-2, c.x, c.y + 100.0 * h);
    M_initial_vertex[2].assign(-3, c.x - 100.0 * h, c.y - 100.0 * h);

    Edge* e0 = createEdge(&M_initial_vertex[0], &M_initial_vertex[1]);
    Edge* e1 = createEdge(&M_initial_vertex[1], &M_initial_vertex[2]);
    Edge* e2 = createEdge(&M_initial_vertex[2], &M_initial_vertex[0]);
    createTriangle(e0, e1, e2);
}

void DelaunayTriangulation::createInitialTriangle()
{
    if (M_vertices.empty()) {
        return;
    }
    double min_x = M_vertices.front().pos().x;
    double max_x = min_x;
    double min_y = M_vertices.front().pos().y;
    double max_y = min_y;
    for (const Vertex& v : M_vertices) {
        min_x = std::min(min_x, v.pos().x);
        max_x = std::max(max_x, v.pos().x);
        min_y = std::min(min_y, v.pos().y);
        max_y = std::max(max_y, v.pos().y);
    }
    createInitialTriangle(Rect2D(Vector2D(min_x, min_y), Vector2D(max_x, max_y)));
}

bool DelaunayTriangulation::hasOnlyInitialTriangle() const
{
    if (M_triangle_map.size() != 1) {
        return false;
    }
    const Triangle* tri = M_triangle_map.begin()->second;
    return isInitial(tri->vertex(0)) && isInitial(tri->vertex(1)) && isInitial(tri->vertex(2));
}

bool DelaunayTriangulation::isInsideInitialTriangle(const Vector2D& pos) const
{
    const Triangle2D initial(Segment2D(M_initial_vertex[0].pos(), M_initial_vertex[1].pos()),
                             M_initial_vertex[2].pos());
    return initial.contains(pos);
}

void DelaunayTriangulation::compute()
{
    if (M_vertices.size() <= 2) {
        removeInitialVertices();
        return;
    }

    // Start from a fresh initial triangle unless init() has just made one.
    if (!hasOnlyInitialTriangle()) {
        createInitialTriangle();
    }

    int count = 0;
    for (const Vertex& v : M_vertices) {
        ++count;
        Triangle* tri = nullptr;
        const ContainedType type = isInsideInitialTriangle(v.pos())
                                       ? findTriangleContains(v.pos(), &tri)
                                       : NOT_CONTAINED;
        if (!tri || type == NOT_CONTAINED) {
            report(346) << " compute()"
                        << " illegal vertex. over initial triangle region." << std::endl;
            continue;
        }

        if (type == CONTAINED) {
            updateContainedVertex(&v, tri);
        } else if (!updateOnlineVertex(&v, tri)) {
            report(364) << " illegal vertex. index=" << count << std::endl;
        }
    }

    removeInitialVertices();
}

const DelaunayTriangulation::Triangle*
DelaunayTriangulation::findTriangleContains(const Vector2D& pos) const
{
    Triangle* sol = nullptr;
    if (findTriangleContains(pos, &sol) == NOT_CONTAINED) {
        return nullptr;
    }
    return sol;
}

DelaunayTriangulation::ContainedType
DelaunayTriangulation::findTriangleContains(const Vector2D& pos, Triangle** sol) const
{
    const Vector2D center(M_initial_vertex[1].pos().x, M_initial_vertex[0].pos().y);
    const SymPoint p = symbolic(pos);

    for (const auto& entry : M_triangle_map) {
        Triangle* tri = entry.second;
        if (!hasInitialCorner(tri)) {
            const Vector2D& cc = tri->circumcenter();
            const double r = tri->circumradius();
            if (std::fabs(cc.x - pos.x) > r || std::fabs(cc.y - pos.y) > r) {
                continue;
            }
            const ContainedType type = locateInRealTriangle(tri, pos);
            if (type != NOT_CONTAINED) {
                *sol = tri;
                return type;
            }
            continue;
        }

        SymPoint rel[3];
        for (int i = 0; i < 3; ++i) {
            rel[i] = symbolic(tri->vertex(i), center) - p;
        }
        Poly outer[3];
        for (int i = 0; i < 3; ++i) {
            outer[i] = cross(rel[i], rel[(i + 1) % 3]);
        }

        int online = -1;
        for (int i = 0; i < 3; ++i) {
            if (nearZero(outer[i])) {
                online = i;
                break;
            }
        }
        if (online >= 0) {
            const SymPoint& r0 = rel[online];
            const SymPoint& r1 = rel[(online + 1) % 3];
            if (leadSign(r0.x * r1.x) <= 0 && leadSign(r0.y * r1.y) <= 0) {
                *sol = tri;
                return ONLINE;
            }
            continue;
        }

        const int s0 = leadSign(outer[0]);
        const int s1 = leadSign(outer[1]);
        const int s2 = leadSign(outer[2]);
        if ((s0 > 0 && s1 > 0 && s2 > 0) || (s0 < 0 && s1 < 0 && s2 < 0)) {
            *sol = tri;
            return CONTAINED;
        }
    }
    return NOT_CONTAINED;
}

const DelaunayTriangulation::Vertex*
DelaunayTriangulation::findNearestVertex(const Vector2D& pos) const
{
    const Vertex* nearest = nullptr;
    double min_dist2 = 10000000.0;
    for (const Vertex& v : M_vertices) {
        const double d2 = v.pos().dist2(pos);
        if (d2 < min_dist2) {
            min_dist2 = d2;
            nearest = &v;
        }
    }
    return nearest;
}

void DelaunayTriangulation::removeInitialVertices()
{
    std::vector<Edge*> removed;
    for (const auto& entry : M_edge_map) {
        Edge* e = entry.second;
        if (isInitial(e->vertex(0)) || isInitial(e->vertex(1))) {
            removed.push_back(e);
        }
    }
    for (Edge* e : removed) {
        removeTriangle(e->triangle(0));
        removeTriangle(e->triangle(1));
        removeEdge(e);
    }
}

bool DelaunayTriangulation::inCircumcircle(const Triangle* tri, const Vertex* v) const
{
    if (!hasInitialCorner(tri) && !isInitial(v)) {
        return tri->contains(v->pos());
    }

    const Vector2D center(M_initial_vertex[1].pos().x, M_initial_vertex[0].pos().y);
    const SymPoint a = symbolic(tri->vertex(0), center);
    const SymPoint b = symbolic(tri->vertex(1), center);
    const SymPoint c = symbolic(tri->vertex(2), center);
    const SymPoint p = symbolic(v, center);

    const SymPoint ra = a - p;
    const SymPoint rb = b - p;
    const SymPoint rc = c - p;
    const Poly za = ra.x * ra.x + ra.y * ra.y;
    const Poly zb = rb.x * rb.x + rb.y * rb.y;
    const Poly zc = rc.x * rc.x + rc.y * rc.y;

    const Poly det = ra.x * (rb.y * zc - zb * rc.y) - ra.y * (rb.x * zc - zb * rc.x)
                   + za * (rb.x * rc.y - rb.y * rc.x);
    const Poly orient = cross(b - a, c - a);

    return leadSign(det) * leadSign(orient) > 0;
}

void DelaunayTriangulation::updateContainedVertex(const Vertex* new_vertex, Triangle* tri)
{
    Edge* new_edges[3];
    for (int i = 0; i < 3; ++i) {
        new_edges[i] = createEdge(new_vertex, tri->vertex(i));
    }

    Edge* old_edges[3] = {nullptr, nullptr, nullptr};
    Triangle* new_tris[3] = {nullptr, nullptr, nullptr};
    for (int i = 0; i < 3; ++i) {
        const int j = edge_pairs[i][0];
        const int k = edge_pairs[i][1];
        old_edges[i] = tri->getEdgeInclude(tri->vertex(j), tri->vertex(k));
        if (!old_edges[i]) {
            continue;
        }
        old_edges[i]->removeTriangle(tri);
        new_tris[i] = createTriangle(old_edges[i], new_edges[j], new_edges[k]);
        if (!new_tris[i]->circumcenter().valid()) {
            std::ostream& os = report(456) << " updateContainedVertex() detect illegal vertex\n"
                                           << new_tris[i];
            for (int e = 0; e < 3; ++e) {
                os << "\n  ";
                printEdge(os, new_tris[i]->edge(e));
            }
            os << std::endl;
        }
    }

    removeTriangle(tri);

    for (int i = 0; i < 3; ++i) {
        legalizeEdge(new_tris[i], new_vertex, old_edges[i]);
    }
}

bool DelaunayTriangulation::updateOnlineVertex(const Vertex* new_vertex, Triangle* tri)
{
    const Vector2D center(M_initial_vertex[1].pos().x, M_initial_vertex[0].pos().y);
    const SymPoint p = symbolic(new_vertex, center);

    Edge* online_edge = nullptr;
    int online_count = 0;
    for (int i = 0; i < 3; ++i) {
        Edge* e = tri->edge(i);
        const SymPoint r0 = symbolic(e->vertex(0), center) - p;
        const SymPoint r1 = symbolic(e->vertex(1), center) - p;
        if (nearZero(cross(r0, r1))) {
            ++online_count;
            online_edge = e;
        }
    }

    if (online_count >= 2) {
        report(514) << " ***ERROR*** updateOnlineVertex()."
                    << " detect the same vertex in old triangle=" << tri->vertex(0)->pos()
                    << tri->vertex(1)->pos() << tri->vertex(2)->pos()
                    << " illegal_vertex=" << new_vertex->pos() << std::endl;
        return false;
    }
    if (!online_edge) {
        report(527) << " ***ERROR*** updateOnlineVertex()."
                    << " failed to find online edge."
                    << " illegal_vertex=" << new_vertex->pos() << std::endl;
        return false;
    }

    // Every check comes before the first change, so a failure leaves the
    // triangulation as it was.
    const Vertex* tri_vertex = tri->getVertexExclude(online_edge);
    if (!tri_vertex) {
        report(570) << " updateOnlineVertex()."
                    << " failed to find vertex of tri." << std::endl;
        return false;
    }
    Triangle* adjacent = (online_edge->triangle(0) == tri) ? online_edge->triangle(1)
                                                           : online_edge->triangle(0);
    const Vertex* adj_vertex = nullptr;
    if (adjacent) {
        adj_vertex = adjacent->getVertexExclude(online_edge);
        if (!adj_vertex) {
            report(643) << " updateOnliePoint()."
                        << " failed to find vertex of adjacent." << std::endl;
            return false;
        }
    }

    Edge* new_edges[2] = {createEdge(new_vertex, online_edge->vertex(0)),
                          createEdge(new_vertex, online_edge->vertex(1))};

    Edge* tri_edge = createEdge(new_vertex, tri_vertex);
    Edge* tri_old[2] = {nullptr, nullptr};
    Triangle* tri_new[2] = {nullptr, nullptr};
    for (int i = 0; i < 2; ++i) {
        tri_old[i] = tri->getEdgeInclude(online_edge->vertex(i), tri_vertex);
        if (!tri_old[i]) {
            continue;
        }
        tri_old[i]->removeTriangle(tri);
        tri_new[i] = createTriangle(tri_old[i], new_edges[i], tri_edge);
        if (!tri_new[i]->circumcenter().valid()) {
            std::ostream& os = report(592) << " updateOnlineVertex() detect illegal vertex normal."
                                           << "\n  tri=" << tri_new[i]
                                           << "\n  new vertex pos=" << new_vertex->pos()
                                           << "\n  old_edge:";
            printEdge(os, tri_old[i]);
            os << "\n  new_edge 1:";
            printEdge(os, new_edges[i]);
            os << "\n  edge 3:";
            printEdge(os, tri_edge);
            os << std::endl;
        }
    }

    Edge* adj_old[2] = {nullptr, nullptr};
    Triangle* adj_new[2] = {nullptr, nullptr};
    if (adjacent) {
        Edge* adj_edge = createEdge(new_vertex, adj_vertex);
        for (int i = 0; i < 2; ++i) {
            adj_old[i] = adjacent->getEdgeInclude(online_edge->vertex(i), adj_vertex);
            if (!adj_old[i]) {
                continue;
            }
            adj_old[i]->removeTriangle(adjacent);
            adj_new[i] = createTriangle(adj_old[i], new_edges[i], adj_edge);
            if (!adj_new[i]->circumcenter().valid()) {
                std::ostream& os = report(666)
                                   << " updateOnlineVertex() detect illegal vertex adjacent"
                                   << "\n  tri=" << adj_new[i]
                                   << "\n  new vertex pos=" << new_vertex->pos() << "\n  edge 1:";
                printEdge(os, adj_old[i]);
                os << "\n  edge 2:";
                printEdge(os, new_edges[i]);
                os << "\n  edge 3:";
                printEdge(os, adj_edge);
                os << std::endl;
            }
        }
    }

    removeTriangle(tri);
    removeTriangle(adjacent);
    removeEdge(online_edge);

    for (int i = 0; i < 2; ++i) {
        legalizeEdge(tri_new[i], new_vertex, tri_old[i]);
    }
    if (adjacent) {
        for (int i = 0; i < 2; ++i) {
            legalizeEdge(adj_new[i], new_vertex, adj_old[i]);
        }
    }
    return true;
}

void DelaunayTriangulation::legalizeEdge(Triangle* new_tri, const Vertex* new_vertex,
                                         Edge* old_edge)
{
    if (!new_tri || !old_edge) {
        return;
    }
    Triangle* pair_tri = (old_edge->triangle(0) == new_tri) ? old_edge->triangle(1)
                                                            : old_edge->triangle(0);
    if (!pair_tri || !inCircumcircle(pair_tri, new_vertex)) {
        return;
    }

    const Vertex* pair_vertex = pair_tri->getVertexExclude(old_edge);
    if (!pair_vertex) {
        return;
    }

    Edge* new_tri_edges[2] = {nullptr, nullptr};
    Edge* pair_tri_edges[2] = {nullptr, nullptr};
    int n = 0;
    int m = 0;
    for (int i = 0; i < 3; ++i) {
        if (new_tri->edge(i) != old_edge && n < 2) {
            new_tri_edges[n++] = new_tri->edge(i);
        }
        if (pair_tri->edge(i) != old_edge && m < 2) {
            pair_tri_edges[m++] = pair_tri->edge(i);
        }
    }
    if (n != 2 || m != 2) {
        return;
    }
    for (int i = 0; i < 2; ++i) {
        new_tri_edges[i]->removeTriangle(new_tri);
        pair_tri_edges[i]->removeTriangle(pair_tri);
    }
    if (pair_tri_edges[1]->hasVertex(new_tri_edges[0]->vertex(0))
        || pair_tri_edges[1]->hasVertex(new_tri_edges[0]->vertex(1))) {
        std::swap(pair_tri_edges[0], pair_tri_edges[1]);
    }

    Edge* new_edge = createEdge(new_vertex, pair_vertex);
    Triangle* new_tris[2];
    for (int i = 0; i < 2; ++i) {
        new_tris[i] = createTriangle(new_edge, new_tri_edges[i], pair_tri_edges[i]);
        if (!new_tris[i]->circumcenter().valid()) {
            std::ostream& os = report(826) << " legalizeEdge() detect illegal vertex \n"
                                           << new_tris[i];
            for (int e = 0; e < 3; ++e) {
                os << "\n" << new_tris[i]->edge(e)->vertex(0)->pos() << " "
                   << new_tris[i]->edge(e)->vertex(1)->pos();
            }
            os << std::endl;
        }
    }

    removeTriangle(new_tri);
    removeTriangle(pair_tri);
    removeEdge(old_edge);

    legalizeEdge(new_tris[0], new_vertex, pair_tri_edges[0]);
    legalizeEdge(new_tris[1], new_vertex, pair_tri_edges[1]);
}

DelaunayTriangulation::Edge* DelaunayTriangulation::createEdge(const Vertex* v0, const Vertex* v1)
{
    Edge* e = new Edge(M_edge_count++, v0, v1);
    M_edge_map.emplace(e->id(), e);
    return e;
}

DelaunayTriangulation::Triangle* DelaunayTriangulation::createTriangle(Edge* e0, Edge* e1, Edge* e2)
{
    Triangle* t = new Triangle(M_tri_count++, e0, e1, e2);
    M_triangle_map.emplace(t->id(), t);
    return t;
}

void DelaunayTriangulation::removeEdge(const int id)
{
    const auto it = M_edge_map.find(id);
    if (it != M_edge_map.end()) {
        delete it->second;
        M_edge_map.erase(it);
    }
}

void DelaunayTriangulation::removeEdge(Edge* edge)
{
    if (edge) {
        removeEdge(edge->id());
    }
}

void DelaunayTriangulation::removeTriangle(const int id)
{
    const auto it = M_triangle_map.find(id);
    if (it != M_triangle_map.end()) {
        delete it->second;
        M_triangle_map.erase(it);
    }
}

void DelaunayTriangulation::removeTriangle(Triangle* tri)
{
    if (tri) {
        removeTriangle(tri->id());
    }
}

}  // namespace rcsc
