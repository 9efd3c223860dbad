#include "scram/Scram.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "logger/LoggerZek.h"

Scram::Scram() : scramAgents(0), n_int(0), max_match_int(0) {}

Scram::Scram(int n, const std::vector<Point>& starts, const std::vector<Point>& targets)
    : scramAgents(n), n_int(0), max_match_int(0)
{
    if ((int)starts.size() == n && (int)targets.size() == n) {
        positionMap.starts = starts;
        positionMap.targets = targets;
    }
}

namespace {

// The assignment depends only on the map: the last map of the thread and its
// assignment, so that a map that did not change is not solved again (the
// positions change only when the players are seen or heard).
struct LastRun {
    bool valid = false;
    Scram::PositionMap map;
    std::vector<Vector> result;
};
thread_local LastRun lastRun;

bool sameMap(const Scram::PositionMap& a, const Scram::PositionMap& b)
{
    return a.starts == b.starts && a.targets == b.targets;
}

} // namespace

bool Scram::run()
{
    if (scramAgents < 0 || (int)positionMap.starts.size() != scramAgents ||
        (int)positionMap.targets.size() != scramAgents) {
        LOG(log_ERROR) << "Scram: positionMap null"
                       << "Starts: " << positionMap.starts.size() << "Targets"
                       << positionMap.targets.size();
        return false;
    }
    if (lastRun.valid && sameMap(lastRun.map, positionMap)) {
        result = lastRun.result;
        return true;
    }
    result = mmdr_n4(positionMap);
    lastRun.valid = true;
    lastRun.map = positionMap;
    lastRun.result = result;
    return true;
}

Vector Scram::getScramPosition(int i) const
{
    if (i >= 0 && i < (int)result.size())
        return result[i];
    return Vector(-1, -1);
}

void Scram::setScramAgents(int n) { scramAgents = n; }

void Scram::setPlayerPosition(const std::vector<Point>& starts)
{
    if ((int)starts.size() == scramAgents)
        positionMap.starts = starts;
    else
        LOG(log_ERROR) << "Scram: starts invalid";
}

void Scram::setPlayerTarget(const std::vector<Point>& targets)
{
    if ((int)targets.size() == scramAgents)
        positionMap.targets = targets;
    else
        LOG(log_ERROR) << "Scram: targets invalid";
}

double Scram::getdist(const Point& a, const Point& b)
{
    return std::hypot(a.first - b.first, a.second - b.second);
}

Vector Scram::getVector(const Point& p) { return Vector((float)p.first, (float)p.second); }

std::vector<Vector> Scram::mmdr_n4(const PositionMap& map)
{
    const int n = (int)map.starts.size();
    std::vector<Edge> edges;
    for (int i = 0; i < n; i++)
        for (int j = 0; j < n; j++)
            edges.push_back(Edge{getdist(map.starts[i], map.targets[j]), i, j});

    for (int s = 0; s < 2; s++) {
        visited[s].assign(n, 0);
        back[s].assign(n, 0);
    }
    cost_int.assign(n, std::vector<int>(n, -(n + 1)));
    xy_int.assign(n, -1);

    int k = n;
    // Every pass fixes at least one more edge; the bound only guards the loop.
    for (int pass = 0; k > 0 && pass <= n * n; pass++) {
        std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) {
            if (a.length != b.length)
                return a.length < b.length;
            if (a.i != b.i)
                return a.i < b.i;
            return a.j < b.j;
        });
        const int c = getMinimalMaxEdgeInPerfectMatching(edges, n, n);
        const double L = edges[c].length;
        for (const Edge& e : edges)
            cost_int[e.i][e.j] = e.length < L ? 0 : (e.length == L ? -1 : -(n + 1));

        const int w = hungarian_int();
        if (k == -w)
            break;
        k += w;

        std::vector<Edge> kept;
        for (const Edge& e : edges) {
            if (lx_int[e.i] + ly_int[e.j] == cost_int[e.i][e.j]) {
                Edge t = e;
                if (t.length == L)
                    t.length = -1;
                kept.push_back(t);
            } else {
                cost_int[e.i][e.j] = -(n + 1);
            }
        }
        edges.swap(kept);
    }

    std::vector<Vector> res;
    for (int i = 0; i < n; i++)
        res.push_back(xy_int[i] >= 0 ? getVector(map.targets[xy_int[i]]) : Vector(-1, -1));
    return res;
}

int Scram::getMinimalMaxEdgeInPerfectMatching(const std::vector<Edge>& edges, int n, int k)
{
    for (int s = 0; s < 2; s++)
        out[s].assign(n, std::vector<int>());
    used.assign(n, 0);
    reset_flooding(n);

    for (int a = 0; a < (int)edges.size(); a++) {
        const int i = edges[a].i;
        const int j = edges[a].j;
        out[0][i].push_back(j);
        if (visited[0][i] && !visited[1][j]) {
            const int r = flood(1, j, i);
            if (r != -1) {
                if (k-- == 1)
                    return a;
                const int s = reverse(1, r);
                used[s] = 1;
                reset_flooding(n);
            }
        }
    }
    // Every edge list holds a perfect matching, so this is not reached.
    return edges.empty() ? 0 : (int)edges.size() - 1;
}

int Scram::flood(int x, int y, int prev)
{
    visited[x][y] = 1;
    back[x][y] = prev;
    if (x == 1 && out[1][y].empty())
        return y;
    for (size_t t = 0; t < out[x][y].size(); t++) {
        const int z = out[x][y][t];
        if (!visited[1 - x][z]) {
            const int r = flood(1 - x, z, y);
            if (r != -1)
                return r;
        }
    }
    return -1;
}

int Scram::reverse(int x, int y)
{
    for (;;) {
        const int p = back[x][y];
        if (p == -1)
            return y;
        out[x][y].push_back(p);
        std::vector<int>& o = out[1 - x][p];
        o.erase(std::remove(o.begin(), o.end(), y), o.end());
        x = 1 - x;
        y = p;
    }
}

void Scram::reset_flooding(int n)
{
    for (int s = 0; s < 2; s++)
        std::fill(visited[s].begin(), visited[s].end(), 0);
    for (int i = 0; i < n; i++)
        if (!used[i])
            flood(0, i, -1);
}

int Scram::hungarian_int()
{
    n_int = (int)cost_int.size();
    max_match_int = 0;
    xy_int.assign(n_int, -1);
    yx_int.assign(n_int, -1);
    init_labels_int();
    while (max_match_int < n_int)
        augment_int();
    int total = 0;
    for (int x = 0; x < n_int; x++)
        total += cost_int[x][xy_int[x]];
    return total;
}

void Scram::init_labels_int()
{
    lx_int.assign(n_int, 0);
    ly_int.assign(n_int, 0);
    for (int x = 0; x < n_int; x++)
        for (int y = 0; y < n_int; y++)
            lx_int[x] = std::max(lx_int[x], cost_int[x][y]);
}

void Scram::update_labels_int()
{
    int delta = std::numeric_limits<int>::max();
    for (int y = 0; y < n_int; y++)
        if (!T_int[y])
            delta = std::min(delta, slack_int[y]);
    for (int x = 0; x < n_int; x++)
        if (S_int[x])
            lx_int[x] -= delta;
    for (int y = 0; y < n_int; y++) {
        if (T_int[y])
            ly_int[y] += delta;
        else
            slack_int[y] -= delta;
    }
}

void Scram::add_to_tree_int(int x, int prevx)
{
    S_int[x] = 1;
    prev_int[x] = prevx;
    for (int y = 0; y < n_int; y++) {
        const int s = lx_int[x] + ly_int[y] - cost_int[x][y];
        if (s < slack_int[y]) {
            slack_int[y] = s;
            slackx_int[y] = x;
        }
    }
}

void Scram::augment_int()
{
    const int n = n_int;
    S_int.assign(n, 0);
    T_int.assign(n, 0);
    prev_int.assign(n, -1);
    slack_int.assign(n, 0);
    slackx_int.assign(n, 0);

    std::vector<int> queue;
    size_t rd = 0;
    int root = -1;
    for (int x = 0; x < n; x++) {
        if (xy_int[x] == -1) {
            root = x;
            break;
        }
    }
    if (root < 0)
        return;
    queue.push_back(root);
    prev_int[root] = -2;
    S_int[root] = 1;
    for (int y = 0; y < n; y++) {
        slack_int[y] = lx_int[root] + ly_int[y] - cost_int[root][y];
        slackx_int[y] = root;
    }

    int fx = -1;
    int fy = -1;
    while (fy < 0) {
        while (rd < queue.size() && fy < 0) {
            const int x = queue[rd++];
            for (int y = 0; y < n; y++) {
                if (cost_int[x][y] == lx_int[x] + ly_int[y] && !T_int[y]) {
                    if (yx_int[y] == -1) {
                        fx = x;
                        fy = y;
                        break;
                    }
                    T_int[y] = 1;
                    queue.push_back(yx_int[y]);
                    add_to_tree_int(yx_int[y], x);
                }
            }
        }
        if (fy >= 0)
            break;

        update_labels_int();
        queue.clear();
        rd = 0;
        for (int y = 0; y < n; y++) {
            if (!T_int[y] && slack_int[y] == 0) {
                if (yx_int[y] == -1) {
                    fx = slackx_int[y];
                    fy = y;
                    break;
                }
                T_int[y] = 1;
                if (!S_int[yx_int[y]]) {
                    queue.push_back(yx_int[y]);
                    add_to_tree_int(yx_int[y], slackx_int[y]);
                }
            }
        }
    }

    max_match_int++;
    for (int cx = fx, cy = fy; cx != -2;) {
        const int ty = xy_int[cx];
        yx_int[cy] = cx;
        xy_int[cx] = cy;
        cx = prev_int[cx];
        cy = ty;
    }
}
