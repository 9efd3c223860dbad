#ifndef RCSC_FORM_DELAUNAY_TRIANGULATION_H
#define RCSC_FORM_DELAUNAY_TRIANGULATION_H

#include "form/rect_2d.h"
#include "form/vector_2d.h"

#include <array>
#include <deque>
#include <map>

namespace rcsc {

// Incremental Delaunay triangulation (insertion with edge flips).
class DelaunayTriangulation {
public:
    static constexpr double EPSILON_ = 1.0e-5;

    enum ContainedType {
        NOT_CONTAINED = 0,
        CONTAINED = 1,
        ONLINE = 2,
        SAME_VERTEX = 3,
    };

    class Vertex {
    private:
        int M_id;
        Vector2D M_pos;

    public:
        Vertex()
            : M_id(0), M_pos(0.0, 0.0)
        {
        }
        Vertex(const int id, const double x, const double y)
            : M_id(id), M_pos(x, y)
        {
        }
        Vertex(const Vertex&) = default;
        Vertex& operator=(const Vertex&) = default;
        virtual ~Vertex() = default;

        Vertex& assign(const int id, const double x, const double y)
        {
            M_id = id;
            M_pos.assign(x, y);
            return *this;
        }

        int id() const { return M_id; }
        const Vector2D& pos() const { return M_pos; }
    };

    class Triangle;

    class Edge {
    private:
        const int M_id;
        std::array<const Vertex*, 2> M_vertices;
        std::array<Triangle*, 2> M_triangles;

    public:
        Edge(const int id, const Vertex* v0, const Vertex* v1)
            : M_id(id), M_vertices{{v0, v1}}, M_triangles{{nullptr, nullptr}}
        {
        }
        Edge(const Edge&) = delete;
        Edge& operator=(const Edge&) = delete;

        void setTriangle(Triangle* tri);
        void removeTriangle(const Triangle* tri);
        bool hasVertex(const Vertex* v) const { return M_vertices[0] == v || M_vertices[1] == v; }

        int id() const { return M_id; }
        // Indices outside 0..1 stop the process.
        const Vertex* vertex(const int i) const;
        Triangle* triangle(const int i) const;
    };

    class Triangle {
    private:
        int M_id;
        std::array<const Vertex*, 3> M_vertices;
        std::array<Edge*, 3> M_edges;
        Vector2D M_circumcenter;
        double M_circumradius;

    public:
        Triangle(const int id, Edge* e0, Edge* e1, Edge* e2);
        ~Triangle();
        Triangle(const Triangle&) = delete;
        Triangle& operator=(const Triangle&) = delete;

        // In-circle test: p strictly inside the circumcircle.
        bool contains(const Vector2D& p) const
        {
            return p.dist2(M_circumcenter) < M_circumradius * M_circumradius;
        }

        const Vertex* getVertexExclude(const Vertex* v1, const Vertex* v2) const;
        const Vertex* getVertexExclude(const Edge* e) const
        {
            return getVertexExclude(e->vertex(0), e->vertex(1));
        }
        Edge* getEdgeInclude(const Vertex* v1, const Vertex* v2) const;

        int id() const { return M_id; }
        // Indices outside 0..2 stop the process.
        const Vertex* vertex(const int i) const;
        Edge* edge(const int i) const;
        const Vector2D& circumcenter() const { return M_circumcenter; }
        double circumradius() const { return M_circumradius; }
    };

    // A deque keeps vertex addresses stable when vertices are appended.
    typedef std::deque<Vertex> VertexCont;
    typedef std::map<int, Edge*> EdgeMap;
    typedef std::map<int, Triangle*> TriangleMap;

private:
    int M_edge_count;
    int M_tri_count;
    Vertex M_initial_vertex[3];
    VertexCont M_vertices;
    EdgeMap M_edge_map;
    TriangleMap M_triangle_map;

public:
    DelaunayTriangulation();
    ~DelaunayTriangulation();
    DelaunayTriangulation(const DelaunayTriangulation&) = delete;
    DelaunayTriangulation& operator=(const DelaunayTriangulation&) = delete;

    void init(const Rect2D& rect);
    void clear();

    int addVertex(const double& x, const double& y);
    void compute();

    const VertexCont& vertices() const { return M_vertices; }
    const EdgeMap& edgeMap() const { return M_edge_map; }
    const TriangleMap& triangleMap() const { return M_triangle_map; }

    const Vertex* getVertex(const int id) const;

    const Triangle* findTriangleContains(const Vector2D& pos) const;
    ContainedType findTriangleContains(const Vector2D& pos, Triangle** sol) const;

    const Vertex* findNearestVertex(const Vector2D& pos) const;

private:
    void createInitialTriangle(const Rect2D& rect);
    void createInitialTriangle();
    bool hasOnlyInitialTriangle() const;
    bool isInsideInitialTriangle(const Vector2D& pos) const;
    void removeInitialVertices();
    void clearTriangulation();

    void updateContainedVertex(const Vertex* new_vertex, Triangle* tri);
    bool updateOnlineVertex(const Vertex* new_vertex, Triangle* tri);
    void legalizeEdge(Triangle* new_tri, const Vertex* new_vertex, Edge* old_edge);
    bool inCircumcircle(const Triangle* tri, const Vertex* v) const;

    Edge* createEdge(const Vertex* v0, const Vertex* v1);
    Triangle* createTriangle(Edge* e0, Edge* e1, Edge* e2);
    void removeEdge(const int id);
    void removeEdge(Edge* edge);
    void removeTriangle(const int id);
    void removeTriangle(Triangle* tri);
};

}  // namespace rcsc

#endif
