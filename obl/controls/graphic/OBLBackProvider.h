// Unit OBLBackProvider: the back-bitmap operations by which a container lends its
// background to the transparent controls inside it. A container that keeps a cached
// picture of its background (a parent panel, the scroll box, the form shape on a form)
// answers BackBitmapCheck true, hands out the picture, copies the part under a child and
// maps points into the picture's coordinates. Containers implement the interface beside
// their own base class; the windowless controls find it through OBLFindBackProvider.
#pragma once

#include "platform/classlib/Controls.h"

class TOBLBackProvider {
public:
    virtual ~TOBLBackProvider() = default;

    // A cached background is there to copy from.
    virtual bool BackBitmapCheck() = 0;
    // The cached background, or nil.
    virtual TBitmap* BackBitmap() = 0;
    // Copies the background under Rect of a child whose origin is Point (in the
    // container's coordinates) onto Canvas; true when it drew.
    virtual bool BackDrawArea(TCanvas* Canvas, const TRect& Rect, const TPoint& Point, WORD Flags) = 0;
    // The point of the container's coordinates in those of its cached background.
    virtual TPoint BackMapPoint(const TPoint& Point) = 0;
    // The provider is the form shape, which lends the background of the form it stands on
    // to the controls placed on the form itself; a container lends only to its children.
    virtual bool IsFormShape() { return false; }
};

// The provider a windowless control takes its background from: its parent when the parent
// is one and has its window; on a form with a window, the first form shape among the
// components of the control's owner form. Nil otherwise.
TOBLBackProvider* OBLFindBackProvider(TControl* Control);
