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

std::vector<POINT> LinePoints(POINT a, POINT b) {
    // Steps along the major axis; the minor coordinate is rounded with halves going
    // toward the start point.
    std::vector<POINT> points;
    const int dx = b.x - a.x, dy = b.y - a.y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int major = xMajor ? std::abs(dx) : std::abs(dy);
    const int minor = xMajor ? std::abs(dy) : std::abs(dx);
    const int stepMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int stepMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
    for (int k = 0; k < major; ++k) {
        const int offset = static_cast<int>((2LL * k * minor + major - 1) / (2LL * major));
        const int along = k * stepMajor, across = offset * stepMinor;
        points.push_back(xMajor ? POINT{a.x + along, a.y + across} : POINT{a.x + across, a.y + along});
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
    if (width_ > 1) {
        const int h = width_ / 2;
        const Region disc = EllipseShape(-h, -h, width_ - h, width_ - h);
        for (const RECT& r : disc.Rects())
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    stamp_.push_back({x, y});
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
    for (const POINT& s : stamp_)
        on_.Add(x + s.x, y + s.y);
}

void Stroker::Segment(POINT a, POINT b) {
    if (!visible_)
        return;
    for (const POINT& p : LinePoints(a, b))
        Put(p.x, p.y);
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
