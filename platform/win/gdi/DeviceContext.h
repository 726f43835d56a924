// The state behind an HDC: its target (a window surface or the bitmap selected
// into a memory DC), the selected objects, the drawing attributes, the clip regions,
// the SaveDC stack, the path being recorded and the optional call log.
//
// Coordinates: logical -> device: - window origin + viewport origin; device ->
// target: + the DC's origin in its surface (0 for memory DCs). The application clip
// is kept in device coordinates, the system clip too; both are applied on top of
// the target's bounds.
#pragma once

#include "platform/win/gdi/GdiObjects.h"

#include <optional>
#include <string>
#include <vector>

struct PathFigure {
    std::vector<POINT> points;  // device coordinates
    bool closed = false;
};

struct DcState {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HPALETTE palette = nullptr;
    HBITMAP bitmap = nullptr;  // memory DCs only
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    int fillMode = ALTERNATE;
    int mapMode = MM_TEXT;
    int arcDirection = AD_COUNTERCLOCKWISE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int charExtra = 0;
    POINT position{0, 0};
    POINT brushOrigin{0, 0};
    POINT viewportOrigin{0, 0};
    POINT windowOrigin{0, 0};
    COLORREF dcBrushColor = 0xFFFFFF;
    COLORREF dcPenColor = 0;
    std::optional<Region> clip;  // device coordinates; none = no application clip
};

struct DcObj : GdiObject {
    DcObj() : GdiObject(GdiKind::DC) {}
    ~DcObj() override;

    bool memory = false;
    Surface* surface = nullptr;
    bool desktop = false;  // draws on the desktop, whose pixels are made at the first drawing
    POINT origin{0, 0};
    std::optional<Region> systemClip;  // device coordinates
    DcState state;
    std::vector<DcState> saved;

    bool pathOpen = false;
    bool pathReady = false;
    std::vector<PathFigure> path;

    bool recording = false;
    std::vector<GdiRecordedCall> calls;

    PixelBuffer Target();
    // Where drawing may land, in target coordinates.
    Region VisibleInTarget();
    POINT ToDevice(int x, int y) const;
    POINT ToTarget(int x, int y) const;
    POINT TargetOffset() const;  // add to logical coordinates to reach the target
    PenObj* Pen() const;
    BrushObj* Brush() const;
    FontObj* Font() const;
};

DcObj* LookupDC(const void* handle);
// Stock objects (created on first use) and the 1x1 monochrome bitmap of new memory DCs.
HGDIOBJ StockObject(int index);
HBITMAP DefaultMemoryBitmap();
// Appends a call to the DC's log when it is recording.
void RecordCall(DcObj& dc, const char* function, const std::string& arguments);
std::string FormatArgs(std::initializer_list<long long> values);
