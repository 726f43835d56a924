// The drawing stand-in: device contexts, pens, brushes, fonts, bitmaps and DIBs,
// raster operations, palettes, regions, clipping, text, paths, icons and the
// 3D edges and frame controls, with the documented numeric values of every
// constant. All coordinates follow the usual rules: rectangles exclude their right
// and bottom edges, lines exclude their end point.
#pragma once

#include "platform/win/WinTypes.h"
#include "platform/win/gdi/Surface.h"

#include <string>
#include <vector>

// ---------------------------------------------------------------- structures
struct RGBQUAD { BYTE rgbBlue; BYTE rgbGreen; BYTE rgbRed; BYTE rgbReserved; };
struct BITMAPINFOHEADER {
    DWORD biSize; LONG biWidth; LONG biHeight; WORD biPlanes; WORD biBitCount; DWORD biCompression;
    DWORD biSizeImage; LONG biXPelsPerMeter; LONG biYPelsPerMeter; DWORD biClrUsed; DWORD biClrImportant;
};
struct BITMAPINFO { BITMAPINFOHEADER bmiHeader; RGBQUAD bmiColors[1]; };
// The file header is 14 bytes on disk; use WriteBitmapFileHeader/ReadBitmapFileHeader for the bytes.
struct BITMAPFILEHEADER { WORD bfType; DWORD bfSize; WORD bfReserved1; WORD bfReserved2; DWORD bfOffBits; };
struct BITMAP { LONG bmType; LONG bmWidth; LONG bmHeight; LONG bmWidthBytes; WORD bmPlanes; WORD bmBitsPixel; LPVOID bmBits; };
struct DIBSECTION { BITMAP dsBm; BITMAPINFOHEADER dsBmih; DWORD dsBitfields[3]; HANDLE dshSection; DWORD dsOffset; };
struct LOGPEN { UINT lopnStyle; POINT lopnWidth; COLORREF lopnColor; };
struct LOGBRUSH { UINT lbStyle; COLORREF lbColor; UINT_PTR lbHatch; };
constexpr int LF_FACESIZE = 32;
struct LOGFONTA {
    LONG lfHeight; LONG lfWidth; LONG lfEscapement; LONG lfOrientation; LONG lfWeight;
    BYTE lfItalic; BYTE lfUnderline; BYTE lfStrikeOut; BYTE lfCharSet; BYTE lfOutPrecision;
    BYTE lfClipPrecision; BYTE lfQuality; BYTE lfPitchAndFamily; CHAR lfFaceName[LF_FACESIZE];
};
using LOGFONT = LOGFONTA;
static_assert(sizeof(LOGFONTA) == 60, "LOGFONT is 60 bytes");
struct TEXTMETRICA {
    LONG tmHeight; LONG tmAscent; LONG tmDescent; LONG tmInternalLeading; LONG tmExternalLeading;
    LONG tmAveCharWidth; LONG tmMaxCharWidth; LONG tmWeight; LONG tmOverhang; LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY; BYTE tmFirstChar; BYTE tmLastChar; BYTE tmDefaultChar; BYTE tmBreakChar;
    BYTE tmItalic; BYTE tmUnderlined; BYTE tmStruckOut; BYTE tmPitchAndFamily; BYTE tmCharSet;
};
using TEXTMETRIC = TEXTMETRICA;
struct PALETTEENTRY { BYTE peRed; BYTE peGreen; BYTE peBlue; BYTE peFlags; };
struct LOGPALETTE { WORD palVersion; WORD palNumEntries; PALETTEENTRY palPalEntry[1]; };
struct RGNDATAHEADER { DWORD dwSize; DWORD iType; DWORD nCount; DWORD nRgnSize; RECT rcBound; };
struct RGNDATA { RGNDATAHEADER rdh; char Buffer[1]; };
struct ICONINFO { BOOL fIcon; DWORD xHotspot; DWORD yHotspot; HBITMAP hbmMask; HBITMAP hbmColor; };
struct DRAWTEXTPARAMS { UINT cbSize; int iTabLength; int iLeftMargin; int iRightMargin; UINT uiLengthDrawn; };
struct XFORM { float eM11, eM12, eM21, eM22, eDx, eDy; };

// ---------------------------------------------------------------- constants
// Object types (GetObjectType)
constexpr DWORD OBJ_PEN = 1, OBJ_BRUSH = 2, OBJ_DC = 3, OBJ_PAL = 5, OBJ_FONT = 6, OBJ_BITMAP = 7,
                OBJ_REGION = 8, OBJ_MEMDC = 10, OBJ_EXTPEN = 11;
// Stock objects
constexpr int WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
              NULL_BRUSH = 5, HOLLOW_BRUSH = 5, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8, OEM_FIXED_FONT = 10,
              ANSI_FIXED_FONT = 11, ANSI_VAR_FONT = 12, SYSTEM_FONT = 13, DEVICE_DEFAULT_FONT = 14,
              DEFAULT_PALETTE = 15, SYSTEM_FIXED_FONT = 16, DEFAULT_GUI_FONT = 17, DC_BRUSH = 18, DC_PEN = 19;
// Pen styles
constexpr UINT PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
               PS_INSIDEFRAME = 6, PS_USERSTYLE = 7, PS_ALTERNATE = 8, PS_STYLE_MASK = 0xF,
               PS_ENDCAP_ROUND = 0, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200, PS_ENDCAP_MASK = 0xF00,
               PS_JOIN_ROUND = 0, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000, PS_JOIN_MASK = 0xF000,
               PS_COSMETIC = 0, PS_GEOMETRIC = 0x10000, PS_TYPE_MASK = 0xF0000;
// Brush styles and hatches
constexpr UINT BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_HATCHED = 2, BS_PATTERN = 3, BS_DIBPATTERN = 5,
               BS_DIBPATTERNPT = 6, BS_PATTERN8X8 = 7;
constexpr int HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4, HS_DIAGCROSS = 5;
// Background modes, ROP2, fill and stretch modes
constexpr int TRANSPARENT = 1, OPAQUE = 2;
constexpr int R2_BLACK = 1, R2_NOTMERGEPEN = 2, R2_MASKNOTPEN = 3, R2_NOTCOPYPEN = 4, R2_MASKPENNOT = 5,
              R2_NOT = 6, R2_XORPEN = 7, R2_NOTMASKPEN = 8, R2_MASKPEN = 9, R2_NOTXORPEN = 10, R2_NOP = 11,
              R2_MERGENOTPEN = 12, R2_COPYPEN = 13, R2_MERGEPENNOT = 14, R2_MERGEPEN = 15, R2_WHITE = 16;
constexpr int ALTERNATE = 1, WINDING = 2;
constexpr int BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4, STRETCH_ANDSCANS = 1,
              STRETCH_ORSCANS = 2, STRETCH_DELETESCANS = 3, STRETCH_HALFTONE = 4;
constexpr int MM_TEXT = 1;
constexpr int AD_COUNTERCLOCKWISE = 1, AD_CLOCKWISE = 2;
// Text alignment
constexpr UINT TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0,
               TA_BOTTOM = 8, TA_BASELINE = 24, TA_RTLREADING = 256;
// Raster operations (ROP3)
constexpr DWORD SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
                SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6,
                MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09,
                PATINVERT = 0x005A0049, DSTINVERT = 0x00550009, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062;
// Device capabilities
constexpr int DRIVERVERSION = 0, TECHNOLOGY = 2, HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10,
              BITSPIXEL = 12, PLANES = 14, NUMBRUSHES = 16, NUMPENS = 18, NUMFONTS = 22, NUMCOLORS = 24,
              RASTERCAPS = 38, LOGPIXELSX = 88, LOGPIXELSY = 90, SIZEPALETTE = 104, NUMRESERVED = 106,
              COLORRES = 108;
constexpr int DT_RASDISPLAY = 1;
constexpr int RC_BITBLT = 1, RC_BANDING = 2, RC_BITMAP64 = 8, RC_DI_BITMAP = 0x80, RC_PALETTE = 0x100,
              RC_DIBTODEV = 0x200, RC_STRETCHBLT = 0x800, RC_STRETCHDIB = 0x2000;
// Bitmaps and DIBs
constexpr DWORD BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0, DIB_PAL_COLORS = 1;
constexpr DWORD CBM_INIT = 4;
// Palettes
constexpr BYTE PC_RESERVED = 1, PC_EXPLICIT = 2, PC_NOCOLLAPSE = 4;
// Regions and clipping
constexpr int ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3, RGN_ERROR = ERROR;
constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
constexpr DWORD RDH_RECTANGLES = 1;
// Fonts
constexpr LONG FW_DONTCARE = 0, FW_THIN = 100, FW_LIGHT = 300, FW_NORMAL = 400, FW_MEDIUM = 500,
               FW_SEMIBOLD = 600, FW_BOLD = 700, FW_HEAVY = 900;
constexpr BYTE ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, OEM_CHARSET = 255;
constexpr BYTE OUT_DEFAULT_PRECIS = 0, OUT_TT_PRECIS = 4, CLIP_DEFAULT_PRECIS = 0, DEFAULT_QUALITY = 0,
               NONANTIALIASED_QUALITY = 3, ANTIALIASED_QUALITY = 4, PROOF_QUALITY = 2;
constexpr BYTE DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2, FF_DONTCARE = 0, FF_ROMAN = 0x10,
               FF_SWISS = 0x20, FF_MODERN = 0x30;
constexpr BYTE TMPF_FIXED_PITCH = 1, TMPF_VECTOR = 2, TMPF_TRUETYPE = 4, TMPF_DEVICE = 8;
// Name of the built-in face: fixed advance and height, box glyphs, installed everywhere.
constexpr const char* GDI_TEST_FACE = "Vendaro Test";
// ExtTextOut options
constexpr UINT ETO_OPAQUE = 2, ETO_CLIPPED = 4;
// DrawText formats
constexpr UINT DT_TOP = 0, DT_LEFT = 0, DT_CENTER = 1, DT_RIGHT = 2, DT_VCENTER = 4, DT_BOTTOM = 8,
               DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80,
               DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
               DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000,
               DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000,
               DT_WORD_ELLIPSIS = 0x40000, DT_HIDEPREFIX = 0x100000, DT_PREFIXONLY = 0x200000;
// Edges
constexpr UINT BDR_RAISEDOUTER = 1, BDR_SUNKENOUTER = 2, BDR_RAISEDINNER = 4, BDR_SUNKENINNER = 8,
               BDR_OUTER = 3, BDR_INNER = 0xC, BDR_RAISED = 5, BDR_SUNKEN = 0xA;
constexpr UINT EDGE_RAISED = 5, EDGE_SUNKEN = 10, EDGE_ETCHED = 6, EDGE_BUMP = 9;
constexpr UINT BF_LEFT = 1, BF_TOP = 2, BF_RIGHT = 4, BF_BOTTOM = 8, BF_TOPLEFT = 3, BF_TOPRIGHT = 6,
               BF_BOTTOMLEFT = 9, BF_BOTTOMRIGHT = 0xC, BF_RECT = 0xF, BF_DIAGONAL = 0x10,
               BF_DIAGONAL_ENDTOPRIGHT = 0x16, BF_DIAGONAL_ENDTOPLEFT = 0x13, BF_DIAGONAL_ENDBOTTOMLEFT = 0x19,
               BF_DIAGONAL_ENDBOTTOMRIGHT = 0x1C, BF_MIDDLE = 0x800, BF_SOFT = 0x1000, BF_ADJUST = 0x2000,
               BF_FLAT = 0x4000, BF_MONO = 0x8000;
// Frame controls
constexpr UINT DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4;
constexpr UINT DFCS_CAPTIONCLOSE = 0, DFCS_CAPTIONMIN = 1, DFCS_CAPTIONMAX = 2, DFCS_CAPTIONRESTORE = 3,
               DFCS_CAPTIONHELP = 4, DFCS_SCROLLUP = 0, DFCS_SCROLLDOWN = 1, DFCS_SCROLLLEFT = 2,
               DFCS_SCROLLRIGHT = 3, DFCS_BUTTONCHECK = 0, DFCS_BUTTONRADIOIMAGE = 1, DFCS_BUTTONRADIOMASK = 2,
               DFCS_BUTTONRADIO = 4, DFCS_BUTTON3STATE = 8, DFCS_BUTTONPUSH = 0x10, DFCS_INACTIVE = 0x100,
               DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_TRANSPARENT = 0x800, DFCS_HOT = 0x1000,
               DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000;
// DrawIconEx
constexpr UINT DI_MASK = 1, DI_IMAGE = 2, DI_NORMAL = 3, DI_COMPAT = 4, DI_DEFAULTSIZE = 8;
// System colours
constexpr int COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_DESKTOP = 1, COLOR_ACTIVECAPTION = 2,
              COLOR_INACTIVECAPTION = 3, COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6,
              COLOR_MENUTEXT = 7, COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10,
              COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12, COLOR_HIGHLIGHT = 13,
              COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_3DFACE = 15, COLOR_BTNSHADOW = 16,
              COLOR_3DSHADOW = 16, COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19,
              COLOR_BTNHIGHLIGHT = 20, COLOR_3DHIGHLIGHT = 20, COLOR_3DHILIGHT = 20, COLOR_BTNHILIGHT = 20,
              COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
              COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27, COLOR_GRADIENTINACTIVECAPTION = 28,
              COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30;
constexpr int GDI_SYS_COLOR_COUNT = 31;

// ---------------------------------------------------------------- device contexts
// A DC on a pixel surface, for the window system: `deviceOrigin` is where device
// point (0,0) lies in the surface; `systemClip` (device coordinates, copied; NULL =
// the whole surface) limits every drawing, and the application's own clip is
// intersected with it. The caller keeps the surface alive while the DC lives.
HDC GdiCreateSurfaceDC(Surface* surface, POINT deviceOrigin, HRGN systemClip);
// Moves the DC's origin and replaces its system clip (copied; NULL = whole surface).
BOOL GdiSetSurfaceDCSystemClip(HDC dc, POINT deviceOrigin, HRGN systemClip);
void GdiDeleteSurfaceDC(HDC dc);
// The virtual desktop that GetDC(0) and CreateDC("DISPLAY") draw on.
Surface& GdiDesktopSurface();
// A DC on the desktop (a surface DC without system clip). Most such DCs only ask about
// the display, so the desktop's pixels are made when one is first drawn on.
HDC GdiCreateDesktopDC();
void GdiSetDesktopSize(int width, int height);
// Colour depth the display reports (BITSPIXEL, compatible bitmaps): 8, 16, 24 or 32.
void GdiSetDisplayBitsPerPixel(int bitsPerPixel);
int GdiDisplayBitsPerPixel();
// Number of live objects that are not stock objects (for leak checks in tests).
int GdiLiveObjectCount();

HDC CreateCompatibleDC(HDC dc);
HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
inline HDC CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData) { return CreateDCA(driver, device, output, initData); }
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedDC);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ object);
DWORD GetObjectType(HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
inline int GetObject(HGDIOBJ object, int size, LPVOID buffer) { return GetObjectA(object, size, buffer); }
int GetDeviceCaps(HDC dc, int index);
BOOL GdiFlush();

COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
int SetArcDirection(HDC dc, int direction);
int GetArcDirection(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetBrushOrgEx(HDC dc, LPPOINT origin);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
BOOL LPtoDP(HDC dc, LPPOINT points, int count);
BOOL DPtoLP(HDC dc, LPPOINT points, int count);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT point);
COLORREF GetNearestColor(HDC dc, COLORREF color);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF SetDCPenColor(HDC dc, COLORREF color);

// ---------------------------------------------------------------- pens and brushes
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage);

// ---------------------------------------------------------------- system colours and rectangles
DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);
BOOL SetSysColors(int count, const int* indices, const COLORREF* colors);
// Puts the classic colour table back (for tests).
void GdiResetSysColors();
BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rect);
BOOL CopyRect(LPRECT dst, const RECT* src);
BOOL InflateRect(LPRECT rect, int dx, int dy);
BOOL OffsetRect(LPRECT rect, int dx, int dy);
BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b);
BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b);
BOOL SubtractRect(LPRECT dst, const RECT* a, const RECT* b);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL IsRectEmpty(const RECT* rect);
BOOL PtInRect(const RECT* rect, POINT point);

// ---------------------------------------------------------------- primitives
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL PolylineTo(HDC dc, const POINT* points, DWORD count);
BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines);
BOOL PolyBezier(HDC dc, const POINT* points, DWORD count);
BOOL PolyBezierTo(HDC dc, const POINT* points, DWORD count);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Chord(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// Gives column rect->left + i the solid colour colours[i], the pixels one FillRect per column
// would paint, for gradients: the clip is worked out once instead of once per column.
BOOL GdiFillColumns(HDC dc, const RECT* rect, const COLORREF* colours);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL DrawFocusRect(HDC dc, const RECT* rect);
BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state);

// ---------------------------------------------------------------- bitmaps and DIBs
// The largest bitmap made: the creating calls answer 0 for one whose bits would pass it.
constexpr long long kMaxBitmapBytes = 256LL * 1024 * 1024;
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bitmap);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors);
BOOL GetBitmapDimensionEx(HBITMAP bitmap, SIZE* size);
// Little-endian byte images of the bitmap file structures (14 and 40 bytes).
void WriteBitmapFileHeader(const BITMAPFILEHEADER& header, BYTE out[14]);
BITMAPFILEHEADER ReadBitmapFileHeader(const BYTE in[14]);
void WriteBitmapInfoHeader(const BITMAPINFOHEADER& header, BYTE out[40]);
BITMAPINFOHEADER ReadBitmapInfoHeader(const BYTE in[40]);

// ---------------------------------------------------------------- blits
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop);

// ---------------------------------------------------------------- palettes
HPALETTE CreatePalette(const LOGPALETTE* palette);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, PALETTEENTRY* entries);

// ---------------------------------------------------------------- regions and clipping
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode);
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
BOOL EqualRgn(HRGN a, HRGN b);
int GetRgnBox(HRGN region, LPRECT box);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
DWORD GetRegionData(HRGN region, DWORD size, RGNDATA* data);
HRGN ExtCreateRegion(const XFORM* transform, DWORD size, const RGNDATA* data);
BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
BOOL PaintRgn(HDC dc, HRGN region);
BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);
BOOL InvertRgn(HDC dc, HRGN region);
int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int GetClipRgn(HDC dc, HRGN region);
int GetClipBox(HDC dc, LPRECT box);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rect);

// ---------------------------------------------------------------- fonts and text
// Loading the font configuration takes several milliseconds: a program starts it on a
// thread of its own first thing, and its first text waits only for what is left of it.
void GdiStartFontSetup();
HFONT CreateFontIndirectA(const LOGFONTA* font);
inline HFONT CreateFontIndirect(const LOGFONTA* font) { return CreateFontIndirectA(font); }
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR face);
inline HFONT CreateFont(int h, int w, int e, int o, int wt, DWORD i, DWORD u, DWORD s, DWORD cs, DWORD op,
                        DWORD cp, DWORD q, DWORD pf, LPCSTR face) {
    return CreateFontA(h, w, e, o, wt, i, u, s, cs, op, cp, q, pf, face);
}
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
inline BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int count) { return TextOutA(dc, x, y, text, count); }
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT* dx);
inline BOOL ExtTextOut(HDC dc, int x, int y, UINT o, const RECT* r, LPCSTR t, UINT c, const INT* dx) { return ExtTextOutA(dc, x, y, o, r, t, c, dx); }
int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);
inline int DrawText(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) { return DrawTextA(dc, text, count, rect, format); }
int DrawTextExA(HDC dc, LPSTR text, int count, LPRECT rect, UINT format, DRAWTEXTPARAMS* params);
inline int DrawTextEx(HDC dc, LPSTR text, int count, LPRECT rect, UINT format, DRAWTEXTPARAMS* params) { return DrawTextExA(dc, text, count, rect, format, params); }
BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int count, SIZE* size);
inline BOOL GetTextExtentPoint(HDC dc, LPCSTR text, int count, SIZE* size) { return GetTextExtentPointA(dc, text, count, size); }
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE* size);
inline BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int count, SIZE* size) { return GetTextExtentPoint32A(dc, text, count, size); }
BOOL GetTextExtentExPointA(HDC dc, LPCSTR text, int count, int maxExtent, INT* fit, INT* dx, SIZE* size);
inline BOOL GetTextExtentExPoint(HDC dc, LPCSTR t, int c, int m, INT* f, INT* dx, SIZE* s) { return GetTextExtentExPointA(dc, t, c, m, f, dx, s); }
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
inline BOOL GetTextMetrics(HDC dc, TEXTMETRICA* metrics) { return GetTextMetricsA(dc, metrics); }
// tmHeight of the DC's font, for line and item heights: unlike GetTextMetrics it does not
// measure every character of the font for tmMaxCharWidth. 0 for an invalid DC.
int GdiTextHeight(HDC dc);
BOOL GetCharWidthA(HDC dc, UINT first, UINT last, INT* widths);
inline BOOL GetCharWidth(HDC dc, UINT first, UINT last, INT* widths) { return GetCharWidthA(dc, first, last, widths); }
BOOL GetCharWidth32A(HDC dc, UINT first, UINT last, INT* widths);
int GetTextFaceA(HDC dc, int count, LPSTR face);
inline int GetTextFace(HDC dc, int count, LPSTR face) { return GetTextFaceA(dc, count, face); }

// ---------------------------------------------------------------- paths
BOOL BeginPath(HDC dc);
BOOL EndPath(HDC dc);
BOOL AbortPath(HDC dc);
BOOL CloseFigure(HDC dc);
BOOL StrokePath(HDC dc);
BOOL FillPath(HDC dc);
BOOL StrokeAndFillPath(HDC dc);
HRGN PathToRegion(HDC dc);
BOOL SelectClipPath(HDC dc, int mode);

// ---------------------------------------------------------------- icons
HICON CreateIconIndirect(ICONINFO* info);
BOOL DestroyIcon(HICON icon);
BOOL GetIconInfo(HICON icon, ICONINFO* info);
HICON CopyIcon(HICON icon);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flickerBrush, UINT flags);

// ---------------------------------------------------------------- call recording
// While recording, every drawing call on the DC is also appended to its log with
// its arguments and the state it drew with (in logical coordinates as passed).
struct GdiRecordedCall {
    std::string function;
    std::string arguments;
    COLORREF penColor; UINT penStyle; int penWidth;
    COLORREF brushColor; UINT brushStyle;
    COLORREF textColor; COLORREF bkColor; int bkMode; int rop2;
    RECT clipBox;
};
BOOL GdiStartRecording(HDC dc);
BOOL GdiStopRecording(HDC dc);
std::vector<GdiRecordedCall> GdiRecordedCalls(HDC dc);
