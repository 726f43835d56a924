#include "platform/win/gdi/Stroke.h"

#include "platform/win/gdi/Shapes.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::vector<int> DashesOf(UINT style) {
    switch (style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    case PS_ALTERNATE: return {1, 1};
    default: return {};
    }
}

} // namespace

std::vector<LinePoint> LinePoints(POINT a, POINT b, const RECT& limit, long long* total) {
    // Steps along the major axis; the minor coordinate is rounded with halves going
    // toward the start point. Only steps whose major coordinate is inside the limit run.
    std::vector<LinePoint> points;
    const long long dx = static_cast<long long>(b.x) - a.x, dy = static_cast<long long>(b.y) - a.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    const int stepMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int stepMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
    *total = major;
    const long long start = xMajor ? a.x : a.y;
    const long long low = xMajor ? limit.left : limit.top, high = xMajor ? limit.right : limit.bottom;
    long long first = stepMajor > 0 ? low - start : start - (high - 1);
    long long last = stepMajor > 0 ? high - start : start - low + 1;
    first = std::max(0LL, first);
    last = std::min(major, last);
    for (long long k = first; k < last; ++k) {
        const long long offset = (2 * k * minor + major - 1) / (2 * major);
        const long long along = k * stepMajor, across = offset * stepMinor;
        const POINT p = xMajor ? POINT{static_cast<LONG>(a.x + along), static_cast<LONG>(a.y + across)}
                               : POINT{static_cast<LONG>(a.x + across), static_cast<LONG>(a.y + along)};
        if (p.x >= limit.left && p.x < limit.right && p.y >= limit.top && p.y < limit.bottom)
            points.push_back({k, p});
    }
    return points;
}

Stroker::Stroker(DcObj& dc) : dc_(dc) {
    PenObj* pen = dc.Pen();
    if (!pen || pen->Style() == PS_NULL)
        return;
    visible_ = true;
    width_ = pen->width;
    if (pen->Style() == PS_USERSTYLE) {
        for (DWORD length : pen->userStyle)
            dashes_.push_back(static_cast<int>(std::max<DWORD>(1, length)));
        if (dashes_.size() % 2)
            dashes_.insert(dashes_.end(), dashes_.begin(), dashes_.end());  // odd lists repeat with on/off swapped
    } else if (width_ <= 1) {
        dashes_ = DashesOf(pen->Style());
    }
    if (!dashes_.empty())
        dashLeft_ = dashes_[0];
    for (int d : dashes_)
        dashTotal_ += d;
    // Points further out than the pen reaches cannot touch the target.
    limit_ = TargetBounds(dc);
    InflateRect(&limit_, width_ + 1, width_ + 1);
    if (width_ > 1) {
        const int h = width_ / 2;
        const Region disc = EllipseShape(-h, -h, width_ - h, width_ - h);
        for (const RECT& r : disc.Rects())
            for (int y = r.top; y < r.bottom; ++y)
                stamp_.push_back({y, r.left, r.right});
    }
}

void Stroker::Put(int x, int y) {
    bool on = true;
    if (!dashes_.empty()) {
        on = dashIndex_ % 2 == 0;
        if (--dashLeft_ == 0) {
            dashIndex_ = (dashIndex_ + 1) % dashes_.size();
            dashLeft_ = dashes_[dashIndex_];
        }
    }
    if (!on) {
        gaps_.Add(x, y);
        return;
    }
    if (stamp_.empty()) {
        on_.Add(x, y);
        return;
    }
    // A wide pen's disc is put a row at a time, and only where it can reach the target: the
    // work follows what can be seen, not the pen's area.
    for (const StampRow& s : stamp_) {
        const int row = y + s.dy;
        if (row >= limit_.top && row < limit_.bottom)
            on_.AddSpan(row, std::max(x + s.left, static_cast<int>(limit_.left)),
                        std::min(x + s.right, static_cast<int>(limit_.right)));
    }
}

void Stroker::Skip(long long count) {
    if (dashes_.empty() || count <= 0)
        return;
    for (long long i = count % dashTotal_; i > 0; --i)
        if (--dashLeft_ == 0) {
            dashIndex_ = (dashIndex_ + 1) % dashes_.size();
            dashLeft_ = dashes_[dashIndex_];
        }
}

void Stroker::Segment(POINT a, POINT b) {
    if (!visible_)
        return;
    long long total = 0, next = 0;
    for (const LinePoint& p : LinePoints(a, b, limit_, &total)) {
        Skip(p.step - next);
        Put(p.point.x, p.point.y);
        next = p.step + 1;
    }
    Skip(total - next);
}

void Stroker::Point(POINT p) {
    if (visible_)
        Put(p.x, p.y);
}

void Stroker::Paint() {
    if (!visible_)
        return;
    const Region on = on_.ToRegion();
    if (dc_.state.bkMode == OPAQUE && !gaps_.Empty()) {
        Ink gap;
        gap.kind = Ink::Kind::Color;
        gap.rgb = RgbFromColorRef(dc_.state.bkColor);
        gap.rop2 = dc_.state.rop2;
        PaintShape(dc_, Region::Combine(gaps_.ToRegion(), on, Region::Op::Diff), gap);
    }
    PaintShape(dc_, on, PenInk(dc_));
}
