#include "platform/win/gdi/Shapes.h"

#include "platform/win/gdi/Gdi.h"

#include <algorithm>
#include <cmath>
#include <climits>

namespace {

struct Crossing {
    double x;
    int direction;
};

std::vector<Crossing> RowCrossings(const std::vector<std::vector<POINT>>& polygons, double yc) {
    std::vector<Crossing> crossings;
    for (const std::vector<POINT>& poly : polygons) {
        const std::size_t n = poly.size();
        for (std::size_t i = 0; i < n; ++i) {
            const POINT& a = poly[i];
            const POINT& b = poly[(i + 1) % n];
            if (a.y == b.y)
                continue;
            const bool down = a.y < b.y;
            const double y0 = down ? a.y : b.y, y1 = down ? b.y : a.y;
            if (yc < y0 || yc >= y1)
                continue;
            const double x = a.x + (yc - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y);
            crossings.push_back({x, down ? 1 : -1});
        }
    }
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    return crossings;
}

// Pixels whose centres lie in [xa, xb).
Region::Span CentreSpan(double xa, double xb) {
    return {static_cast<int>(std::ceil(xa - 0.5)), static_cast<int>(std::ceil(xb - 0.5))};
}

Region::Span Clamp(Region::Span s, const RECT& limit) {
    return {std::max<int>(s.first, limit.left), std::min<int>(s.second, limit.right)};
}

} // namespace

const RECT kRegionLimit{-(1 << 16), -(1 << 16), 1 << 16, 1 << 16};

RECT NormalizedRect(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

Region PolygonShape(const std::vector<std::vector<POINT>>& polygons, int fillMode, const RECT& limit) {
    int minY = INT_MAX, maxY = INT_MIN;
    for (const auto& poly : polygons)
        for (const POINT& p : poly) {
            minY = std::min<int>(minY, p.y);
            maxY = std::max<int>(maxY, p.y);
        }
    minY = std::max<int>(minY, limit.top);
    maxY = std::min<int>(maxY, limit.bottom);
    Region region;
    for (int y = minY; y < maxY; ++y) {
        const std::vector<Crossing> crossings = RowCrossings(polygons, y + 0.5);
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
