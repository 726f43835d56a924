#include "platform/win/gdi/Contours.h"

#include <map>
#include <utility>

namespace {

struct Edge {
    POINT from, to;
    bool used = false;
};

using Vertex = std::pair<LONG, LONG>;

Vertex Key(POINT p) { return {p.x, p.y}; }

// Direction of an edge as a unit step.
POINT Step(const Edge& e) { return {e.to.x - e.from.x, e.to.y - e.from.y}; }

// Cross product sign: positive when `next` turns right of `current` on screen.
LONG Turn(POINT current, POINT next) { return current.x * next.y - current.y * next.x; }

std::vector<Edge> BoundaryEdges(const Region& region) {
    std::vector<Edge> edges;
    for (const RECT& r : region.Rects())
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                if (!region.Contains(x, y - 1))
                    edges.push_back({{x, y}, {x + 1, y}});
                if (!region.Contains(x + 1, y))
                    edges.push_back({{x + 1, y}, {x + 1, y + 1}});
                if (!region.Contains(x, y + 1))
                    edges.push_back({{x + 1, y + 1}, {x, y + 1}});
                if (!region.Contains(x - 1, y))
                    edges.push_back({{x, y + 1}, {x, y}});
            }
    return edges;
}

// Drops the points in the middle of straight runs.
std::vector<POINT> Simplify(const std::vector<POINT>& loop) {
    std::vector<POINT> out;
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
        const POINT& prev = loop[(i + n - 1) % n];
        const POINT& cur = loop[i];
        const POINT& next = loop[(i + 1) % n];
        const POINT a{cur.x - prev.x, cur.y - prev.y}, b{next.x - cur.x, next.y - cur.y};
        if (Turn(a, b) != 0)
            out.push_back(cur);
    }
    return out;
}

} // namespace

std::vector<std::vector<POINT>> RegionContours(const Region& region) {
    std::vector<Edge> edges = BoundaryEdges(region);
    std::multimap<Vertex, std::size_t> outgoing;
    for (std::size_t i = 0; i < edges.size(); ++i)
        outgoing.emplace(Key(edges[i].from), i);
    std::vector<std::vector<POINT>> contours;
    for (std::size_t start = 0; start < edges.size(); ++start) {
        if (edges[start].used)
            continue;
        std::vector<POINT> loop;
        std::size_t current = start;
        while (!edges[current].used) {
            edges[current].used = true;
            loop.push_back(edges[current].from);
            // Where two boundaries touch at a corner, turn right to keep the pieces apart.
            std::size_t next = current;
            LONG best = -2;
            const auto range = outgoing.equal_range(Key(edges[current].to));
            for (auto it = range.first; it != range.second; ++it) {
                if (edges[it->second].used && it->second != start)
                    continue;
                const LONG turn = Turn(Step(edges[current]), Step(edges[it->second]));
                if (turn > best) {
                    best = turn;
                    next = it->second;
                }
            }
            if (next == current)
                break;
            current = next;
        }
        if (loop.size() >= 4)
            contours.push_back(Simplify(loop));
    }
    return contours;
}
