#include "platform/win/gdi/Shapes.h"

#include "platform/win/gdi/Gdi.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdint>

namespace {

struct Crossing {
    double x;
    int direction;
};

// A polygon edge that is not horizontal, from its upper end (y0) to its lower one (y1).
struct Edge {
    POINT a;
    POINT b;
    int y0;
    int y1;
    int direction;
};

std::vector<Edge> Edges(const std::vector<std::vector<POINT>>& polygons) {
    std::vector<Edge> edges;
    for (const std::vector<POINT>& poly : polygons) {
        const std::size_t n = poly.size();
        for (std::size_t i = 0; i < n; ++i) {
            const POINT& a = poly[i];
            const POINT& b = poly[(i + 1) % n];
            if (a.y == b.y)
                continue;
            const bool down = a.y < b.y;
            edges.push_back({a, b, down ? a.y : b.y, down ? b.y : a.y, down ? 1 : -1});
        }
    }
    return edges;
}

// The edges crossing each row in turn: only those are looked at, so a row costs what
// crosses it, not every edge of the shape. They stay in the shapes' own order, so that
// crossings at one x sort as they always have.
class ActiveEdges {
public:
    explicit ActiveEdges(const std::vector<Edge>& edges) : edges_(edges) {
        byTop_.resize(edges.size());
        for (std::size_t i = 0; i < byTop_.size(); ++i)
            byTop_[i] = i;
        std::sort(byTop_.begin(), byTop_.end(), [&](std::size_t l, std::size_t r) { return edges[l].y0 < edges[r].y0; });
    }

    // The row's crossings by x, valid until the next row.
    const std::vector<Crossing>& Row(double yc) {
        active_.erase(std::remove_if(active_.begin(), active_.end(), [&](std::size_t i) { return yc >= edges_[i].y1; }),
                      active_.end());
        const std::size_t kept = active_.size();
        for (; next_ < byTop_.size() && edges_[byTop_[next_]].y0 <= yc; ++next_)
            if (yc < edges_[byTop_[next_]].y1)
                active_.push_back(byTop_[next_]);
        if (active_.size() != kept) {
            std::sort(active_.begin() + static_cast<std::ptrdiff_t>(kept), active_.end());
            std::inplace_merge(active_.begin(), active_.begin() + static_cast<std::ptrdiff_t>(kept), active_.end());
        }
        crossings_.clear();
        for (std::size_t i : active_) {
            const Edge& e = edges_[i];
            const double x = e.a.x + (yc - e.a.y) * (static_cast<double>(e.b.x) - e.a.x) /
                                         (static_cast<double>(e.b.y) - e.a.y);
            crossings_.push_back({x, e.direction});
        }
        std::sort(crossings_.begin(), crossings_.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        return crossings_;
    }

private:
    const std::vector<Edge>& edges_;
    std::vector<std::size_t> byTop_;
    std::size_t next_ = 0;
    std::vector<std::size_t> active_;
    std::vector<Crossing> crossings_;
};

// Pixels whose centres lie in [xa, xb).
Region::Span CentreSpan(double xa, double xb) {
    return {static_cast<int>(std::ceil(xa - 0.5)), static_cast<int>(std::ceil(xb - 0.5))};
}

Region::Span Clamp(Region::Span s, const RECT& limit) {
    return {std::max<int>(s.first, limit.left), std::min<int>(s.second, limit.right)};
}

// The shape row by row; nothing once its rows were crossed by more than crossingLimit
// edges in all.
std::optional<Region> ScanPolygons(const std::vector<std::vector<POINT>>& polygons, int fillMode, const RECT& limit,
                                   std::size_t crossingLimit) {
    int minY = INT_MAX, maxY = INT_MIN;
    for (const auto& poly : polygons)
        for (const POINT& p : poly) {
            minY = std::min<int>(minY, p.y);
            maxY = std::max<int>(maxY, p.y);
        }
    minY = std::max<int>(minY, limit.top);
    maxY = std::min<int>(maxY, limit.bottom);
    const std::vector<Edge> edges = Edges(polygons);
    ActiveEdges active(edges);
    Region region;
    std::size_t crossed = 0;
    for (int y = minY; y < maxY; ++y) {
        const std::vector<Crossing>& crossings = active.Row(y + 0.5);
        crossed += crossings.size();
        if (crossed > crossingLimit)
            return std::nullopt;
        std::vector<Region::Span> row;
        if (fillMode == WINDING) {
            int winding = 0;
            for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
                winding += crossings[i].direction;
                if (winding != 0)
                    row.push_back(Clamp(CentreSpan(crossings[i].x, crossings[i + 1].x), limit));
            }
        } else {
            for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
                row.push_back(Clamp(CentreSpan(crossings[i].x, crossings[i + 1].x), limit));
        }
        region.AppendRow(y, std::move(row));
    }
    return region;
}

} // namespace

const RECT kRegionLimit{-(1 << 16), -(1 << 16), 1 << 16, 1 << 16};
const std::size_t kRegionCrossingLimit = std::size_t{1} << 19;

RECT NormalizedRect(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

Region PolygonShape(const std::vector<std::vector<POINT>>& polygons, int fillMode, const RECT& limit) {
    return *ScanPolygons(polygons, fillMode, limit, SIZE_MAX);
}

std::optional<Region> PolygonRegionShape(const std::vector<std::vector<POINT>>& polygons, int fillMode) {
    return ScanPolygons(polygons, fillMode, kRegionLimit, kRegionCrossingLimit);
}

Region EllipseShape(int left, int top, int right, int bottom, const RECT& limit) {
    const RECT r = NormalizedRect(left, top, right, bottom);
    return RoundRectShape(r.left, r.top, r.right, r.bottom, r.right - r.left, r.bottom - r.top, limit);
}

Region RoundRectShape(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight,
                      const RECT& limit) {
    const RECT r = NormalizedRect(left, top, right, bottom);
    const long long w = static_cast<long long>(r.right) - r.left, h = static_cast<long long>(r.bottom) - r.top;
    if (w <= 0 || h <= 0)
        return {};
    const double a = std::clamp<long long>(std::abs(static_cast<long long>(ellipseWidth)), 0, w) / 2.0;
    const double b = std::clamp<long long>(std::abs(static_cast<long long>(ellipseHeight)), 0, h) / 2.0;
    if (a <= 0 || b <= 0)
        return Region::Combine(Region(r), Region(limit), Region::Op::And);
    Region region;
    const int firstRow = std::max<int>(r.top, limit.top), lastRow = std::min<int>(r.bottom, limit.bottom);
    for (int y = firstRow; y < lastRow; ++y) {
        const double yc = y + 0.5;
        double inset = 0;
        const double topCentre = r.top + b, bottomCentre = r.bottom - b;
        const double dyRel = yc < topCentre ? (topCentre - yc) / b : yc > bottomCentre ? (yc - bottomCentre) / b : 0;
        if (dyRel >= 1)
            continue;
        inset = a - a * std::sqrt(1 - dyRel * dyRel);
        region.AppendRow(y, {Clamp(CentreSpan(r.left + inset, r.right - inset), limit)});
    }
    return region;
}
