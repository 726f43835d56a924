// The region engine behind HRGN, clipping and update regions: a region is a list of
// horizontal bands (top inclusive, bottom exclusive), each holding sorted, disjoint
// x-spans (left inclusive, right exclusive). Bands never overlap, empty bands are
// dropped and vertically adjacent bands with equal spans are merged, so two equal
// point sets always have the same representation.
#pragma once

#include "platform/win/WinTypes.h"

#include <optional>
#include <utility>
#include <vector>

class Region {
public:
    using Span = std::pair<int, int>;
    struct Band {
        int top;
        int bottom;
        std::vector<Span> spans;
    };
    enum class Op { And, Or, Xor, Diff };

    Region() = default;
    explicit Region(const RECT& rect);

    // Builds a region from rows of spans: row i covers y = firstY + i; spans in any order.
    static Region FromRows(int firstY, std::vector<std::vector<Span>> rows);
    // Adds the row y (below every row added so far); spans in any order.
    void AppendRow(int y, std::vector<Span> spans);
    // Union of arbitrary rectangles; empty rectangles are ignored.
    static Region FromRects(const std::vector<RECT>& rects);
    static Region Combine(const Region& a, const Region& b, Op op);

    bool Empty() const { return bands_.empty(); }
    RECT Bounds() const;
    // Rectangles in band order (top to bottom, left to right).
    std::vector<RECT> Rects() const;
    const std::vector<Band>& Bands() const { return bands_; }
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& rect) const;
    // Moves the region; coordinates that would leave the int range stop at its ends.
    void Offset(int dx, int dy);
    // True when every coordinate moved by (dx, dy) stays within the int range.
    bool CanOffset(int dx, int dy) const;
    bool operator==(const Region& other) const;

private:
    bool IsRectangle() const;
    // The part of the region inside `box`.
    Region ClippedTo(const RECT& box) const;
    void AppendBand(int top, int bottom, std::vector<Span> spans);
    const std::vector<Span>* SpansAt(int y) const;

    std::vector<Band> bands_;
};
