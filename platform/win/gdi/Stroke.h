// Pen strokes: lines exclude their end point, a dash pattern runs on across the
// segments of one figure, gaps take the background colour in opaque mode, and pens
// wider than one pixel stamp a disc of their width centred on the line.
#pragma once

#include "platform/win/gdi/Raster.h"

class Stroker {
public:
    explicit Stroker(DcObj& dc);
    // Adds the pixels from a to b, b excluded (target coordinates).
    void Segment(POINT a, POINT b);
    void Point(POINT p);
    void Paint();
    bool Visible() const { return visible_; }

private:
    void Put(int x, int y);
    void Skip(long long count);

    DcObj& dc_;
    bool visible_ = false;
    int width_ = 1;
    std::vector<int> dashes_;
    std::size_t dashIndex_ = 0;
    int dashLeft_ = 0;
    int dashTotal_ = 0;
    RECT limit_{};
    // The pen's disc as row spans around the point: {row, left, right}.
    struct StampRow {
        int dy, left, right;
    };
    std::vector<StampRow> stamp_;
    PixelSet on_;
    PixelSet gaps_;
};

struct LinePoint {
    long long step;  // position along the line, 0 = a
    POINT point;
};
// The points of the line from a to b (b excluded) that lie inside `limit`, and the
// number of points of the whole line.
std::vector<LinePoint> LinePoints(POINT a, POINT b, const RECT& limit, long long* total);
