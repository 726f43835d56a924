// Unit Oblutils: the library's drawing routines on a TCanvas.
#pragma once

#include "obl/core/draw/Oblgraph.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/Graphics.h"

// ---- Frames and borders -------------------------------------------------------------
// Routines taking the rectangle by reference shrink it to the area inside the frame.

// A bevel of the style in the two colours (bvNormal: black). False, with nothing drawn and
// the rectangle unchanged, for bvNone, bvShadow or a width below 1.
bool OBLDrawFrame3D(TCanvas* canvas, TRect& rect, TOBLBevelStyle style, TColor lightColor, TColor shadowColor,
                    int width);
// A drop shadow of the depth at the right and bottom (the two corners it leaves open are
// painted in the background colour unless transparent), then a frame of frameWidth pixels
// around the rest. The last argument is kept for callers and ignored.
bool OBLDrawFrameShadow(TCanvas* canvas, TRect& rect, TColor frameColor, TColor shadowColor, TColor backColor,
                        TOBLShadowDepth depth, std::uint8_t frameWidth, bool transparent, WORD unused);
// Width in pixels of a standard border.
int OBLDrawStdFrameExt(TOBLBorderStyle style);
// A standard border by DrawEdge; extraFlags are ORed into the edge flags.
bool OBLDrawStdFrame(TCanvas* canvas, TRect& rect, TOBLBorderStyle style, WORD extraFlags);
// A one-pixel two-colour border on the rectangle's edge; the rectangle is not changed.
void OBLDrawBorder(TCanvas* canvas, const TRect& rect, TColor topLeftColor, TColor bottomRightColor);
// The width of a control's border: 0 unless the style is bsSingle, then 2 when either flag
// is set (a 3D look), else 1.
int OBLGetCtrlBorderWidth(bool flagA, TFormBorderStyle borderStyle, bool flagB);
// The small triangle of a drop-down button, size 2..15 (other sizes draw nothing). Pointing
// down it is 2 * size - 1 wide and size high with its top-left at (x, y). Disabled, it is
// grey with a highlight copy one pixel right and down.
void OBLDrawTriangle(TCanvas* canvas, int x, int y, int size, TColor color, bool down, bool enabled);

// ---- Bitmap drawing -----------------------------------------------------------------
// Drawing flags of the bitmap routines.
constexpr WORD OBLBmpClip = 0x0001;           // clip to the destination (clip-draw routines)
constexpr WORD OBLBmpCenter = 0x0008;         // natural size, centred
constexpr WORD OBLBmpStretch = 0x0010;        // stretched to the destination
constexpr WORD OBLBmpKeepHeight = 0x0200;     // with stretch: width from the aspect ratio
constexpr WORD OBLBmpKeepWidth = 0x0400;      // with stretch: height from the aspect ratio
constexpr WORD OBLBmpKeepAspect = 0x0600;     // with stretch: fitted keeping the aspect ratio
constexpr WORD OBLBmpTile = 0x0020;           // tiled over the destination
constexpr WORD OBLBmpTransparent = 0x0040;    // transparent colour given by the colour argument
constexpr WORD OBLBmpBrushCopy = 0x0080;      // mask is a TBitmap drawn with BrushCopy
constexpr WORD OBLBmpMasked = 0x0100;         // mask is a canvas holding the mask
constexpr WORD OBLBmpRealizePalette = 0x1000; // realize the bitmap's palette first

// Copies the source rectangle of the source canvas into the destination with the placement
// and transparency of the flags; mask is a TCanvas with OBLBmpMasked, a TBitmap with
// OBLBmpBrushCopy, else nil. Returns the rectangle covered (the destination for tiles).
TRect OBLBmpDrawExt(TCanvas* canvas, const TRect& dest, TCanvas* source, const TRect& sourceRect, WORD flags,
                    TColor color, HPALETTE palette, TPersistent* mask);
// The whole bitmap by OBLBmpDrawExt; nothing when its canvas's pen is at x = -1.
TRect OBLBmpDraw(TCanvas* canvas, const TRect& dest, TBitmap* bitmap, WORD flags, TColor color);
void OBLBmpStretchDraw(TCanvas* canvas, const TRect& dest, TBitmap* bitmap);
// offset: low 16 bits x, high 16 bits y, moving the clip rectangle.
void OBLBmpClipDraw(TCanvas* canvas, const TRect& dest, TBitmap* bitmap, WORD flags, int offset, TColor color);
void OBLBmpClipDrawExt(TCanvas* canvas, const TRect& dest, TCanvas* source, const TRect& sourceRect, WORD flags,
                       int offset, TColor color, TPersistent* mask);
// The image takes a copy of the canvas's rectangle, black where it has the transparent
// colour; the mask the monochrome mask of that colour (white where it is).
void OBLBmpCreateMasksExt(TCanvas* canvas, const TRect& rect, TBitmap* mask, TBitmap* image,
                          TColor transparentColor);
void OBLBmpCreateMasks(TBitmap* source, TBitmap* mask, TBitmap* image, TColor transparentColor);
// Draws bitmap B through target T, colour 2 of B keeping T, colour 1 of T transparent on
// the canvas. B is turned into its mask.
void OBLMaskBmpDraw(TCanvas* canvas, const TRect& dest, TBitmap* b, TBitmap* t, TColor color1, TColor color2);
// The embossed image of a disabled glyph: highlight one pixel right and down, shadow at (x, y).
void OBLBmpDrawDisabledState(TBitmap* target, TBitmap* source, int x, int y);
// A four-level grey image (white, highlight, shadow, black); the colour of pixel (0, 0) stays.
void OBLBmpCreateGrayscale(TBitmap* target, TBitmap* source);
void OBLBmpCreateFromRect(TBitmap* bitmap, const TRect& rect, TColor color);
void OBLCopyBmpSize(TBitmap* source, TBitmap* target);
// The rectangle ANDed with the bitmap as a pattern.
void OBLFillPattern(HDC dc, const TRect& rect, TBitmap* bitmap);
// The rectangle tiled with the bitmap, starting at the offset inside it.
void OBLFillTexture(HDC dc, const TRect& rect, TBitmap* bitmap, const TPoint& offset);
void OBLIcon2Bitmap(TBitmap* bitmap, TIcon* icon, TColor backColor);
void OBLBmpFromDesktop(TBitmap* bitmap, const TRect& screenRect);

// ---- Button faces -------------------------------------------------------------------
// Flags: 0x01 rounded corners (ubsWin31), 0x02 active (dark frame and focus rectangle),
// 0x04 spaced frame (ubsWin40), 0x08 sunken pressed face (spaced ubsWin40), 0x10 the dark
// frame fills its middle, 0x20 focused (dark frame; themed push button: defaulted), 0x40
// hot, 0x80 split tool-bar button, 0x100 its drop-down part. On return the rectangle is
// the content rectangle for caption and glyph. Both answer true.

// The face through the visual style when themes are in use and the style is themed (the
// control supplies the window for the theme data), else the classic face.
bool OBLDrawBtnFaceExt(TWinControl* control, TCanvas* canvas, bool hot, TRect& rect, TOBLUserButtonStyle style,
                       TOBLButtonState state, WORD flags, TColor color);
// The classic face; themed styles get the background only.
bool OBLDrawBtnFace(TCanvas* canvas, bool hot, TRect& rect, TOBLUserButtonStyle style, TOBLButtonState state,
                    WORD flags, TColor color);
// ubsDelphiFlat, ubsFlat, ubsFlatUnColored, ubsNavigator, ubsExplorer, ubsExplorerColored.
bool OBLDrawBtnIsFlat(TOBLUserButtonStyle style);

// ---- Gradients ----------------------------------------------------------------------
// Colour lists are TLists whose items are TColor values (the item pointer's integer value).
constexpr WORD OBLGradClip = 0x0001;      // clip to the rectangle (moved by the offset)
constexpr WORD OBLGradOffscreen = 0x0004; // paint into a bitmap, then draw it at the rectangle
constexpr WORD OBLGradPalette = 0x1000;   // select and realize the palette

inline TColor OBLGradientColorAt(TList* list, int index)
{
    return static_cast<TColor>(reinterpret_cast<std::intptr_t>(list->Items(index)));
}

// The colour step/steps of the way from A to B, channels taken as the values hold them;
// A when there are no steps.
TColor OBLGradientGetColor(TColor a, TColor b, int step, int steps);
// Appends count colours from A to B (both resolved to RGB); without clearing the first
// colour is left out, so a list continues the previous segment without repeating its end.
void OBLGradientCreateColorList(TColor a, TColor b, std::uint8_t count, TList* list, bool clearFirst);
// A palette of the list's colours; 0 for a nil or empty list. The caller deletes it.
HPALETTE OBLGradientCreatePalette(TList* list);
// offset: low 16 bits x, high 16 bits y, moving the clip rectangle.
void OBLGradientPaintExt(TCanvas* canvas, const TRect& rect, TOBLGradientStyle style, TList* list,
                         HPALETTE palette, WORD flags, int offset);
void OBLGradientPaint(TCanvas* canvas, const TRect& rect, TColor a, TColor b, std::uint8_t count,
                      TOBLGradientStyle style, WORD flags, int offset);
// Segments between consecutive colours of the array, count / (colorCount - 1) colours each;
// the first colour itself is not painted.
void OBLSuperGradientPaint(TCanvas* canvas, const TRect& rect, const TColor* colors, int colorCount,
                           std::uint8_t count, TOBLGradientStyle style, WORD flags, int offset);

// ---- Text drawing -------------------------------------------------------------------
class TOBL3DCaption;
class TOBLGlyphTextLayout;

// What the text-and-glyph routine laid out: the union of text and glyph, the text, the
// glyph, and a fourth rectangle it leaves empty.
struct TOBLTextGlyphRects {
    TRect All{};
    TRect Text{};
    TRect Glyph{};
    TRect Reserved{};
};

// The inner rectangle's size placed in the outer one by the alignment.
TRect OBLAlignRect(TOBLAlignment alignment, const TRect& inner, const TRect& outer);
// The measured text rectangle placed in the rectangle by the alignment.
TRect OBLAlignTextRect(TOBLAlignment alignment, const AnsiString& text, TOBL3DCaption* effect, const TRect& rect,
                       TFont* font, bool wordWrap, bool accelChars, int flags);
// The text with the caption effect (nil: plain DrawText). With dtClip it is clipped to the
// clip rectangle (nil: the rectangle); the caller's clip region and font come back
// afterwards, the brush is left clear.
void OBLDrawTextExt(TCanvas* canvas, const AnsiString& text, TOBL3DCaption* effect, const TRect& rect, int flags,
                    TOBLDrawTextStyles styles, const TRect* clipRect);
void OBLDrawText(TCanvas* canvas, const AnsiString& text, TOBL3DCaption* effect, const TRect& rect, WORD flags);
// Measures the text in the font into the rectangle (its Right on entry is the width for
// wrapping), with the effect's extent and a margin on both sides. For an Fx caption it
// also computes the origin of the text (PosX/PosY, written without notification). The
// canvas's own device context and font are put back afterwards.
void OBLDrawTextCalcExt(TCanvas* canvas, const AnsiString& text, TOBL3DCaption* effect, TRect& rect, TFont* font,
                        bool wordWrap, bool accelChars, int margin, int flags);
// The same on a temporary canvas.
void OBLDrawTextCalc(const AnsiString& text, TOBL3DCaption* effect, TRect& rect, TFont* font, bool wordWrap,
                     bool accelChars, int margin, int flags);
// Lays out and (unless dtCalculate) draws text, glyph and the layout's drop-down arrow in
// the rectangle. The glyph is the source rectangle of the image canvas (nil or an empty
// rectangle: none), drawn through the mask canvas or the transparent colour when
// transparentGlyph; on return glyphRect holds the focus rectangle.
void OBLDrawTextAndGlyphExt(TCanvas* canvas, const AnsiString& text, TOBL3DCaption* effect, const TRect& rect,
                            TCanvas* image, TRect& glyphRect, TCanvas* mask, TColor transparentColor,
                            TOBLGlyphTextLayout* layout, bool wordWrap, bool accelChars, bool transparentGlyph,
                            TOBLDrawTextStyles styles, int flags, TOBLTextGlyphRects& result);
void OBLDrawTextAndGlyph(TCanvas* canvas, const AnsiString& text, TOBL3DCaption* effect, const TRect& rect,
                         TBitmap* glyph, TBitmap* mask, TOBLGlyphTextLayout* layout, bool wordWrap, bool accelChars,
                         bool transparentGlyph, TOBLDrawTextStyles styles, int flags);
// Height of "W" in the font; 0 when it cannot be measured.
int OBLGetFontHeight(TFont* font);
// The text's width in the font plus the effect's extent; 0 without an effect.
int OBLGet3DTextWidth(const AnsiString& text, TOBL3DCaption* effect, TFont* font);
// Height of "W" plus the effect's extent (none without an effect).
int OBLGet3DTextHeight(TOBL3DCaption* effect, TFont* font);

// ---- Fonts, text forms, window placement and custom colours ---------------------------
#include "obl/core/base/Oblprocs.h"
#include "obl/core/base/OblutilsStrings.h"
#include "obl/core/app/oblclass.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/IniFiles.h"
#include "platform/classlib/Registry.h"

// True when the font (the canvas's current font) is a TrueType face.
bool OBLIsTrueTypeFont(TFont* font);
bool OBLIsTrueTypeFontCheck(TCanvas* canvas);
// The control is the ancestor or lies inside it.
bool OBLIsChild(TControl* control, TControl* ancestor);
// Brings the program's other running instance to the front (restored when minimised).
void OBLActivatePrevInstance();
// Processes messages until the milliseconds have passed or the program is terminating,
// resting on the clock between rounds; 0 returns at once.
void OBLWait(unsigned milliseconds);
// Centres the child over the owner, kept on the screen; answers the modal result when
// shown modally, else 0 (also for a nil child or owner).
int OBLCenterChild(TCustomForm* owner, TCustomForm* child, bool showModal);
// Centres the form on the screen; a nil form is ignored.
void OBLCenterForm(TCustomForm* form);
void OBLCenterChildWindow(HWND owner, HWND child, bool unused);
// Centres the window horizontally; vertically at screen height / (offset + 2).
void OBLCenterWindow(HWND window, BYTE offset);
// Places the window at the position in the target rectangle, kept on the screen.
void OBLPositionWindow(HWND window, const TRect& target, TOBLDlgPosition position, bool unused);
TRect OBLDlgGetTargetRect(TOBLDlgPosRel relation);
// Creates a form of the class, shows it modally and frees it.
int OBLShowModal(TClass formClass, TComponent* owner);
void OBLCheckFormSysMenu(TCustomForm* form, TOBLSysMenuEntries entries);
void OBLCheckApplicationSysMenu(TOBLSysMenuEntries entries);
// The "explode" opening: focus rectangles growing from the start point (x below 0: the
// cursor) to the form's window rectangle, then erased.
void OBLExplodeForm(TCustomForm* form);
void OBLExplodeFormExt(TCustomForm* form, int startX, int startY, int steps, int delay);
// The same with a first leg: a small rectangle moving from the start point to the
// middle of the form's bottom edge, then growing.
void OBLExplodeForm2(TCustomForm* form);
void OBLExplodeFormExt2(TCustomForm* form, int startX, int startY, int steps, int width, int height, int delay,
                        bool firstLeg);
// Custom colour lists: "name=value" lines of a section. Saving writes every line with an
// "=", so of lines naming the same colour twice the last one stays. Only TIniFile and
// TRegIniFile objects are handled.
void OBLLoadCustomColorList(TObject* iniFile, const AnsiString& section, TStrings* strings);
void OBLSaveCustomColorList(TObject* iniFile, const AnsiString& section, TStrings* strings);
void OBLLoadCustomColorFromIniFile(const AnsiString& fileName, const AnsiString& section, TStrings* strings);
void OBLSaveCustomColorToIniFile(const AnsiString& fileName, const AnsiString& section, TStrings* strings);
// The list of "DELPHI32.INI" in the Windows folder, section "Custom Colors".
void OBLLoadDelphiCustomColor(TStrings* strings);
void OBLSaveDelphiCustomColor(TStrings* strings);
