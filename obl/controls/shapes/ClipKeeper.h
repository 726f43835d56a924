// Puts a canvas's clip region back as it was (no clip included) when it goes out of scope,
// so a painter that narrows the clip leaves the canvas as it found it.
#pragma once

#include "platform/classlib/Graphics.h"
#include "platform/win/gdi/Gdi.h"

class ClipKeeper {
public:
    explicit ClipKeeper(TCanvas* Canvas) : dc_(Canvas->Handle()), saved_(CreateRectRgn(0, 0, 0, 0))
    {
        clipped_ = GetClipRgn(dc_, saved_) == 1;
    }
    ~ClipKeeper()
    {
        SelectClipRgn(dc_, clipped_ ? saved_ : nullptr);
        DeleteObject(saved_);
    }
    ClipKeeper(const ClipKeeper&) = delete;
    ClipKeeper& operator=(const ClipKeeper&) = delete;

private:
    HDC dc_;
    HRGN saved_;
    bool clipped_ = false;
};
