// Rectangle helpers: right and bottom edges lie outside the rectangle.
#include "platform/win/gdi/Gdi.h"

#include <algorithm>

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect)
        return FALSE;
    *rect = {left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT dst, const RECT* src) {
    if (!dst || !src)
        return FALSE;
    *dst = *src;
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
    if (!rect)
        return FALSE;
    rect->left -= dx;
    rect->top -= dy;
    rect->right += dx;
    rect->bottom += dy;
    return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    if (!rect)
        return FALSE;
    rect->left += dx;
    rect->top += dy;
    rect->right += dx;
    rect->bottom += dy;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) { return !rect || rect->left >= rect->right || rect->top >= rect->bottom; }

BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(dst);
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    const bool emptyA = IsRectEmpty(a), emptyB = IsRectEmpty(b);
    if (emptyA && emptyB) {
        SetRectEmpty(dst);
        return FALSE;
    }
    if (emptyA || emptyB) {
        *dst = emptyA ? *b : *a;
        return TRUE;
    }
    *dst = {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
            std::max(a->bottom, b->bottom)};
    return TRUE;
}

// The result is a rectangle only when b cuts a whole side off a; otherwise a is kept.
BOOL SubtractRect(LPRECT dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    RECT r = *a;
    RECT cut;
    if (IntersectRect(&cut, a, b)) {
        if (cut.left == a->left && cut.right == a->right) {
            if (cut.top == a->top)
                r.top = cut.bottom;
            else if (cut.bottom == a->bottom)
                r.bottom = cut.top;
        } else if (cut.top == a->top && cut.bottom == a->bottom) {
            if (cut.left == a->left)
                r.left = cut.right;
            else if (cut.right == a->right)
                r.right = cut.left;
        }
    }
    if (IsRectEmpty(&r)) {
        SetRectEmpty(dst);
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* rect, POINT p) {
    return rect && p.x >= rect->left && p.x < rect->right && p.y >= rect->top && p.y < rect->bottom;
}
