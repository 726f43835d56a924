// Unit OBLBevel: the border settings a bevelled control owns. One of four kinds of border
// (custom 3D frames with a flat border between them, a standard frame, a Windows edge, the
// window's own border), the pixels it takes from the control, its painting on a canvas and
// the rectangle left inside it. The owner paints it, lays out inside it and listens to
// OnChange; the bevel never paints by itself.
#pragma once

#include "obl/core/base/OBLObject.h"
#include "obl/core/draw/Oblgraph.h"
#include "platform/classlib/Graphics.h"

class TOBLBevel : public TOBLObject {
    VENDARO_CLASS(TOBLBevel, TOBLObject)
public:
    TOBLBevel() = default;

    // The published settings of another bevel, then one Change; the owner's
    // WindowsSupport stays this bevel's own.
    void Assign(TPersistent* Source) override;
    // Recomputes both extents before OnChange.
    void Change() override;
    // "{Custom style}", "{Standard style}", "{Edged style}" or "{Windows style}".
    AnsiString GetSetStr() override;

    // Pixels the border takes on the left and top.
    int GetBevelExtend() const;
    // True once after Mode switched into or out of bmWindows on an owner drawing that
    // border through its window styles: the owner recreates its window then.
    bool GetRecreateWnd();
    // R shrunk to the area inside the border.
    TRect ClientRect(const TRect& R) const;
    // Paints the border into R and answers the area inside it.
    TRect PaintBevel(TCanvas* Canvas, const TRect& R, bool Transparent);

    TOBLBevelStyle StyleInner() const { return styleInner_; }
    void SetBevelStyleInner(TOBLBevelStyle Value);
    TOBLBevelStyle StyleOuter() const { return styleOuter_; }
    void SetBevelStyleOuter(TOBLBevelStyle Value);
    TOBLBevelWidth WidthInner() const { return widthInner_; }
    void SetBevelWidthInner(TOBLBevelWidth Value) { Store(widthInner_, Value); }
    TOBLBevelWidth WidthOuter() const { return widthOuter_; }
    void SetBevelWidthOuter(TOBLBevelWidth Value) { Store(widthOuter_, Value); }
    TOBLFrameSides BorderSides() const { return borderSides_; }
    void SetBorderSides(TOBLFrameSides Value) { Store(borderSides_, Value); }
    TOBLBorderWidth BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(TOBLBorderWidth Value) { Store(borderWidth_, Value); }
    TOBLBorderWidth BorderInnerWidth() const { return borderInnerWidth_; }
    void SetBorderSpace(TOBLBorderWidth Value) { Store(borderInnerWidth_, Value); }
    // Index 0 BorderColor, 1 LightColor, 2 ShadowColor; another index only notifies.
    void SetColor(int Index, TColor Value);
    TColor BorderColor() const { return borderColor_; }
    TColor LightColor() const { return lightColor_; }
    TColor ShadowColor() const { return shadowColor_; }
    TOBLEdgeStyle EdgeStyle() const { return edgeStyle_; }
    void SetEdgeStyle(TOBLEdgeStyle Value) { Store(edgeStyle_, Value); }
    TOBLBevelMode Mode() const { return mode_; }
    void SetMode(TOBLBevelMode Value);
    TOBLBorderStyle StandardStyle() const { return standardStyle_; }
    // Notifies only while the standard frame is shown.
    void SetStyle(TOBLBorderStyle Value);

    int Ext() const { return ext_; }
    int ExtRightBottom() const { return extRightBottom_; }
    bool WindowsSupport() const { return windowsSupport_; }
    void SetWindowsSupport(bool Value) { windowsSupport_ = Value; }
    bool RecreatePending() const { return recreatePending_; }

    static void Publish(TClassBuilder<TOBLBevel>& c);

private:
    template <class T>
    void Store(T& Field, const T& Value)
    {
        if (Field == Value) return;
        Field = Value;
        Change();
    }
    bool IsShadow() const { return mode_ == bmCustom && styleOuter_ == bvShadow; }
    // Marks the recreation a switch between Mode and Value asks of a supporting owner.
    void NoteModeSwitch(TOBLBevelMode Value);
    void PaintCustom(TCanvas* Canvas, TRect& R, bool Transparent);
    void PaintEdge(TCanvas* Canvas, TRect& R);
    void PaintFlatBorder(TCanvas* Canvas, TRect& R, int Width, bool Transparent);

    TOBLBevelStyle styleInner_ = bvNone;
    TOBLBevelStyle styleOuter_ = bvNone;
    TOBLBevelWidth widthInner_ = 1;
    TOBLBevelWidth widthOuter_ = 1;
    TColor borderColor_ = clBtnFace;
    TOBLFrameSides borderSides_{fsBottom, fsLeft, fsRight, fsTop};
    TOBLBorderWidth borderWidth_ = 0;
    TOBLBorderWidth borderInnerWidth_ = 0;
    TOBLEdgeStyle edgeStyle_ = etEtched;
    TColor lightColor_ = clBtnHighlight;
    TOBLBevelMode mode_ = bmCustom;
    TColor shadowColor_ = clBtnShadow;
    TOBLBorderStyle standardStyle_ = lsSingleLowered;
    int ext_ = 0;
    int extRightBottom_ = 0;
    bool windowsSupport_ = false;
    bool recreatePending_ = false;
};
