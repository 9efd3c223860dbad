#ifndef SCRAM_SCRAM_H
#define SCRAM_SCRAM_H

#include <utility>
#include <vector>

#include "geometry/Vector.h"

// Assigns n starts to n targets so that the longest walk is as short as
// possible, then the second longest, and so on (minimal maximal distance,
// recursively). Each pass finds the bottleneck length with augmenting paths
// and keeps the tight edges of a Hungarian matching that uses as few edges of
// that length as possible.
class Scram {
public:
    typedef std::pair<double, double> Point;

    struct PositionMap {
        std::vector<Point> starts;
        std::vector<Point> targets;
    };

    int scramAgents;
    PositionMap positionMap;
    std::vector<Vector> result;

    // Bottleneck search: side 0 starts, side 1 targets.
    std::vector<std::vector<int> > out[2];
    std::vector<int> visited[2];
    std::vector<int> back[2];
    std::vector<int> used;

    // Hungarian method over integer weights.
    int n_int;
    int max_match_int;
    std::vector<std::vector<int> > cost_int;
    std::vector<int> lx_int;
    std::vector<int> ly_int;
    std::vector<int> xy_int;
    std::vector<int> yx_int;
    std::vector<int> S_int;
    std::vector<int> T_int;
    std::vector<int> slack_int;
    std::vector<int> slackx_int;
    std::vector<int> prev_int;

    Scram();
    Scram(int scramAgents, const std::vector<Point>& starts, const std::vector<Point>& targets);

    // False when the map does not hold n starts and n targets.
    bool run();

    // Target of start i after a run; (-1, -1) outside the result.
    Vector getScramPosition(int i) const;

    void setScramAgents(int n);
    void setPlayerPosition(const std::vector<Point>& starts);
    void setPlayerTarget(const std::vector<Point>& targets);

    static double getdist(const Point& a, const Point& b);
    static Vector getVector(const Point& p);

    struct Edge {
        double length;
        int i;
        int j;
    };

    std::vector<Vector> mmdr_n4(const PositionMap& map);
    int getMinimalMaxEdgeInPerfectMatching(const std::vector<Edge>& edges, int n, int k);
    int flood(int x, int y, int prev);
    int reverse(int x, int y);
    void reset_flooding(int n);

    int hungarian_int();
    void init_labels_int();
    void update_labels_int();
    void add_to_tree_int(int x, int prevx);
    void augment_int();
};

#endif
