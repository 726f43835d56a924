// Unit OBLGradient: the settings of a colour gradient (style, two end colours or a user
// list of colours, the number of steps, an optional palette). The step colours and the
// palette are prepared on every change, so painting only hands them over.
#pragma once

#include "obl/core/base/OBLObject.h"
#include "obl/core/draw/Oblgraph.h"
#include "platform/classlib/Graphics.h"

class TOBLGradient : public TOBLObject {
    VENDARO_CLASS(TOBLGradient, TOBLObject)
public:
    TOBLGradient();
    ~TOBLGradient() override;

    // From another gradient: every setting and the user colours, with one Change.
    void Assign(TPersistent* Source) override;
    // Prepares the step colours and the palette again, then notifies.
    void Change() override;
    // "vertical, Col: 16, 2 col mode" (no braces).
    AnsiString GetSetStr() override;

    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    // 2..236; values outside are held at the ends.
    TOBLColorCount ColorCount() const { return colorCount_; }
    void SetColorCount(TOBLColorCount Value);
    TOBLGradientStyle Style() const { return style_; }
    void SetStyle(TOBLGradientStyle Value);
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor Value);
    bool PaletteRealize() const { return paletteRealize_; }
    void SetPaletteRealize(bool Value);
    bool TwoColors() const { return twoColors_; }
    void SetTwoColors(bool Value);

    // The user's colours for the multi-colour mode (items are TColor values).
    TList* Colors() const { return colors_.get(); }
    // Copies the items of the list (nil is ignored), then Change.
    void SetColors(TList* Value);
    // The prepared step colours.
    TList* ColorList() const { return colorList_.get(); }
    // The prepared palette; 0 unless PaletteRealize. The gradient owns it.
    HPALETTE GetPalette() const { return palette_; }

    void PaintGradient(TCanvas* Canvas, const TRect& R);
    // Selects and realizes the palette on the canvas when PaletteRealize is set.
    void SetRealPalette(TCanvas* Canvas);

    static void Publish(TClassBuilder<TOBLGradient>& c);

protected:
    // "ColorList": the user's colours as a list of integers, written when there are any;
    // reading replaces them.
    void DefineProperties(TFiler* Filer) override;

private:
    void Prepare();
    void DropPalette();
    void ReadColorList(TReader* Reader);
    void WriteColorList(TWriter* Writer);

    TOwned<TList> colorList_;
    TOwned<TList> colors_;
    HPALETTE palette_ = nullptr;
    TColor color_ = clBlue;
    TOBLColorCount colorCount_ = 16;
    TOBLGradientStyle style_ = gstVertical;
    TColor endColor_ = clBlack;
    bool paletteRealize_ = false;
    bool twoColors_ = true;
};
