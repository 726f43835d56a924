#include "platform/win/gdi/Region.h"

#include <algorithm>
#include <climits>

namespace {

bool SpanEquals(const std::vector<Region::Span>& a, const std::vector<Region::Span>& b) { return a == b; }

// Sorts and merges touching or overlapping spans.
std::vector<Region::Span> Normalize(std::vector<Region::Span> spans) {
    std::sort(spans.begin(), spans.end());
    std::vector<Region::Span> out;
    for (const Region::Span& s : spans) {
        if (s.first >= s.second)
            continue;
        if (!out.empty() && s.first <= out.back().second)
            out.back().second = std::max(out.back().second, s.second);
        else
            out.push_back(s);
    }
    return out;
}

bool Apply(Region::Op op, bool inA, bool inB) {
    switch (op) {
    case Region::Op::And: return inA && inB;
    case Region::Op::Or: return inA || inB;
    case Region::Op::Xor: return inA != inB;
    case Region::Op::Diff: return inA && !inB;
    }
    return false;
}

// Walks a sorted, disjoint span list along increasing x.
class SpanCursor {
public:
    explicit SpanCursor(const std::vector<Region::Span>* spans) : spans_(spans) {}
    bool Inside(int x) {
        if (!spans_)
            return false;
        while (index_ < spans_->size() && (*spans_)[index_].second <= x)
            ++index_;
        return index_ < spans_->size() && (*spans_)[index_].first <= x;
    }

private:
    const std::vector<Region::Span>* spans_;
    std::size_t index_ = 0;
};

// Combines two sorted, disjoint span lists by sweeping their edges.
std::vector<Region::Span> CombineSpans(const std::vector<Region::Span>* a, const std::vector<Region::Span>* b,
                                       Region::Op op) {
    std::vector<int> edges;
    for (const auto* list : {a, b})
        if (list)
            for (const Region::Span& s : *list) {
                edges.push_back(s.first);
                edges.push_back(s.second);
            }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    SpanCursor inA(a), inB(b);
    std::vector<Region::Span> out;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        if (!Apply(op, inA.Inside(edges[i]), inB.Inside(edges[i])))
            continue;
        if (!out.empty() && out.back().second == edges[i])
            out.back().second = edges[i + 1];
        else
            out.emplace_back(edges[i], edges[i + 1]);
    }
    return out;
}

} // namespace

Region::Region(const RECT& rect) {
    if (rect.left < rect.right && rect.top < rect.bottom)
        bands_.push_back({rect.top, rect.bottom, {{rect.left, rect.right}}});
}

void Region::AppendBand(int top, int bottom, std::vector<Span> spans) {
    if (top >= bottom || spans.empty())
        return;
    if (!bands_.empty() && bands_.back().bottom == top && SpanEquals(bands_.back().spans, spans)) {
        bands_.back().bottom = bottom;
        return;
    }
    bands_.push_back({top, bottom, std::move(spans)});
}

Region Region::FromRows(int firstY, std::vector<std::vector<Span>> rows) {
    Region region;
    for (std::size_t i = 0; i < rows.size(); ++i)
        region.AppendRow(firstY + static_cast<int>(i), std::move(rows[i]));
    return region;
}

void Region::AppendRow(int y, std::vector<Span> spans) {
    if (!bands_.empty() && y < bands_.back().bottom)
        return;
    AppendBand(y, y + 1, Normalize(std::move(spans)));
}

namespace {

// Coverage counts over the elementary x-intervals between the rectangles' distinct x
// edges. A node whose whole interval is covered answers at once, so listing the covered
// spans costs about (spans + 1) * log(edges), however many rectangles overlap.
class CoverageTree {
public:
    explicit CoverageTree(std::vector<int> xs) : xs_(std::move(xs)), nodes_(4 * std::max<std::size_t>(xs_.size(), 1)) {}

    void Add(int left, int right, int delta) {
        const std::size_t l = Index(left), r = Index(right);
        if (l < r)
            Update(1, 0, xs_.size() - 1, l, r, delta);
    }
    void Spans(std::vector<Region::Span>& out) const {
        if (xs_.size() > 1)
            Collect(1, 0, xs_.size() - 1, out);
    }

private:
    struct Node {
        int count = 0;     // rectangles covering the node's whole interval
        bool full = false; // the whole interval is covered
        bool any = false;  // some of it is covered
    };

    std::size_t Index(int x) const {
        return static_cast<std::size_t>(std::lower_bound(xs_.begin(), xs_.end(), x) - xs_.begin());
    }
    // Node n covers the elementary intervals [lo, hi) of xs_.
    void Update(std::size_t n, std::size_t lo, std::size_t hi, std::size_t l, std::size_t r, int delta) {
        if (r <= lo || hi <= l)
            return;
        if (l <= lo && hi <= r) {
            nodes_[n].count += delta;
        } else {
            const std::size_t mid = lo + (hi - lo) / 2;
            Update(2 * n, lo, mid, l, r, delta);
            Update(2 * n + 1, mid, hi, l, r, delta);
        }
        Node& node = nodes_[n];
        const bool leaf = hi - lo == 1;
        node.full = node.count > 0 || (!leaf && nodes_[2 * n].full && nodes_[2 * n + 1].full);
        node.any = node.count > 0 || (!leaf && (nodes_[2 * n].any || nodes_[2 * n + 1].any));
    }
    void Collect(std::size_t n, std::size_t lo, std::size_t hi, std::vector<Region::Span>& out) const {
        const Node& node = nodes_[n];
        if (!node.any)
            return;
        if (node.full) {
            if (!out.empty() && out.back().second == xs_[lo])
                out.back().second = xs_[hi];
            else
                out.emplace_back(xs_[lo], xs_[hi]);
            return;
        }
        const std::size_t mid = lo + (hi - lo) / 2;
        Collect(2 * n, lo, mid, out);
        Collect(2 * n + 1, mid, hi, out);
    }

    std::vector<int> xs_;
    std::vector<Node> nodes_;
};

} // namespace

namespace {

// Rectangles in the order and shape of a region's own data: bands from top to bottom,
// each band's rectangles from left to right with gaps between them.
bool InBandOrder(const std::vector<RECT>& rects) {
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const RECT& r = rects[i];
        if (r.left >= r.right || r.top >= r.bottom)
            return false;
        if (i == 0)
            continue;
        const RECT& p = rects[i - 1];
        const bool sameBand = r.top == p.top && r.bottom == p.bottom;
        if (sameBand ? r.left <= p.right : r.top < p.bottom)
            return false;
    }
    return true;
}

} // namespace

Region Region::FromRects(const std::vector<RECT>& rects) {
    // Data a region gave (GetRegionData) is taken band by band as it stands: the sweep
    // below would make the same bands at many times the cost.
    if (InBandOrder(rects)) {
        Region region;
        for (std::size_t i = 0; i < rects.size();) {
            const RECT& band = rects[i];
            std::vector<Span> spans;
            for (; i < rects.size() && rects[i].top == band.top && rects[i].bottom == band.bottom; ++i)
                spans.emplace_back(rects[i].left, rects[i].right);
            region.AppendBand(band.top, band.bottom, std::move(spans));
        }
        return region;
    }
    // A sweep down the sorted top and bottom edges: each rectangle enters the coverage
    // at its top and leaves it at its bottom, and each band between two distinct edges
    // takes the spans covered at that moment.
    struct Edge {
        int y;
        int delta;
        const RECT* rect;
    };
    std::vector<Edge> edges;
    std::vector<int> xs;
    for (const RECT& r : rects)
        if (r.left < r.right && r.top < r.bottom) {
            edges.push_back({r.top, +1, &r});
            edges.push_back({r.bottom, -1, &r});
            xs.push_back(r.left);
            xs.push_back(r.right);
        }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y < b.y; });
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    CoverageTree coverage(std::move(xs));
    Region region;
    for (std::size_t i = 0; i < edges.size();) {
        const int y = edges[i].y;
        for (; i < edges.size() && edges[i].y == y; ++i)
            coverage.Add(edges[i].rect->left, edges[i].rect->right, edges[i].delta);
        if (i == edges.size())
            break;
        std::vector<Span> spans;
        coverage.Spans(spans);
        region.AppendBand(y, edges[i].y, std::move(spans));
    }
    return region;
}

const std::vector<Region::Span>* Region::SpansAt(int y) const {
    // Bands are sorted and disjoint: the first band ending below y is the only candidate.
    auto it = std::upper_bound(bands_.begin(), bands_.end(), y,
                               [](int value, const Band& band) { return value < band.bottom; });
    return it != bands_.end() && it->top <= y ? &it->spans : nullptr;
}

bool Region::IsRectangle() const { return bands_.size() == 1 && bands_.front().spans.size() == 1; }

Region Region::ClippedTo(const RECT& box) const {
    // Bands and their spans are sorted: only those that meet the box are visited, so a
    // small box costs little in a large region.
    Region out;
    auto band = std::partition_point(bands_.begin(), bands_.end(), [&](const Band& b) { return b.bottom <= box.top; });
    for (; band != bands_.end() && band->top < box.bottom; ++band) {
        std::vector<Span> spans;
        auto s = std::partition_point(band->spans.begin(), band->spans.end(),
                                      [&](const Span& span) { return span.second <= box.left; });
        for (; s != band->spans.end() && s->first < box.right; ++s) {
            const int left = std::max<int>(s->first, box.left), right = std::min<int>(s->second, box.right);
            if (left < right)
                spans.emplace_back(left, right);
        }
        out.AppendBand(std::max<int>(band->top, box.top), std::min<int>(band->bottom, box.bottom), std::move(spans));
    }
    return out;
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
    // Clipping mostly intersects a region with a rectangle: its bands are cut one by
    // one, with the result the sweep gives (bands that end up empty or equal to the
    // one above are dropped or joined, as the sweep's are).
    if (op == Op::And) {
        if (a.IsRectangle())
            return b.ClippedTo(a.Bounds());
        if (b.IsRectangle())
            return a.ClippedTo(b.Bounds());
    }
    std::vector<int> ys;
    for (const Region* r : {&a, &b})
        for (const Band& band : r->bands_) {
            ys.push_back(band.top);
            ys.push_back(band.bottom);
        }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    // Both band lists are walked once, in step with the sweep.
    std::size_t ia = 0, ib = 0;
    auto spansAt = [](const std::vector<Band>& bands, std::size_t& index, int y) -> const std::vector<Span>* {
        while (index < bands.size() && bands[index].bottom <= y)
            ++index;
        return index < bands.size() && bands[index].top <= y ? &bands[index].spans : nullptr;
    };
    Region out;
    for (std::size_t i = 0; i + 1 < ys.size(); ++i)
        out.AppendBand(ys[i], ys[i + 1],
                       CombineSpans(spansAt(a.bands_, ia, ys[i]), spansAt(b.bands_, ib, ys[i]), op));
    return out;
}

RECT Region::Bounds() const {
    if (bands_.empty())
        return {0, 0, 0, 0};
    RECT box{INT_MAX, bands_.front().top, INT_MIN, bands_.back().bottom};
    for (const Band& band : bands_) {
        box.left = std::min<LONG>(box.left, band.spans.front().first);
        box.right = std::max<LONG>(box.right, band.spans.back().second);
    }
    return box;
}

std::vector<RECT> Region::Rects() const {
    std::vector<RECT> rects;
    for (const Band& band : bands_)
        for (const Span& s : band.spans)
            rects.push_back({s.first, band.top, s.second, band.bottom});
    return rects;
}

bool Region::Contains(int x, int y) const {
    const std::vector<Span>* spans = SpansAt(y);
    if (!spans)
        return false;
    for (const Span& s : *spans)
        if (x >= s.first && x < s.second)
            return true;
    return false;
}

bool Region::Intersects(const RECT& rect) const {
    for (const Band& band : bands_) {
        if (band.bottom <= rect.top || band.top >= rect.bottom)
            continue;
        for (const Span& s : band.spans)
            if (s.first < rect.right && s.second > rect.left)
                return true;
    }
    return false;
}

namespace {

int Clamped(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

bool Region::CanOffset(int dx, int dy) const {
    if (bands_.empty())
        return true;
    const RECT box = Bounds();
    auto fits = [](long long v) { return v >= INT_MIN && v <= INT_MAX; };
    return fits(static_cast<long long>(box.left) + dx) && fits(static_cast<long long>(box.right) + dx) &&
           fits(static_cast<long long>(box.top) + dy) && fits(static_cast<long long>(box.bottom) + dy);
}

void Region::Offset(int dx, int dy) {
    if (CanOffset(dx, dy)) {
        for (Band& band : bands_) {
            band.top += dy;
            band.bottom += dy;
            for (Span& s : band.spans) {
                s.first += dx;
                s.second += dx;
            }
        }
        return;
    }
    // Coordinates pushed past the integer range stop at its ends: what lies beyond
    // collapses into empty spans and bands, which are dropped.
    std::vector<Band> old = std::move(bands_);
    bands_.clear();
    for (Band& band : old) {
        std::vector<Span> spans;
        for (const Span& s : band.spans)
            spans.emplace_back(Clamped(static_cast<long long>(s.first) + dx),
                               Clamped(static_cast<long long>(s.second) + dx));
        AppendBand(Clamped(static_cast<long long>(band.top) + dy), Clamped(static_cast<long long>(band.bottom) + dy),
                   Normalize(std::move(spans)));
    }
}

bool Region::operator==(const Region& other) const {
    if (bands_.size() != other.bands_.size())
        return false;
    for (std::size_t i = 0; i < bands_.size(); ++i)
        if (bands_[i].top != other.bands_[i].top || bands_[i].bottom != other.bands_[i].bottom ||
            bands_[i].spans != other.bands_[i].spans)
            return false;
    return true;
}
