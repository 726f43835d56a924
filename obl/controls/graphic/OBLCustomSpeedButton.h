// Unit OBLCustomSpeedButton: the windowless tool-bar button. It paints a face in one of the
// library's button styles, optionally split into a main face and a drop-down arrow face,
// with the glyph and caption on top.
#pragma once

#include "obl/controls/graphic/OBLBaseGraphicButton.h"
#include "obl/core/draw/OBLButtonBase.h"

class TOBLCustomSpeedButton : public TOBLBaseGraphicButton {
    VENDARO_CLASS(TOBLCustomSpeedButton, TOBLBaseGraphicButton)
public:
    explicit TOBLCustomSpeedButton(TComponent* AOwner);

    TOBLUserButtonStyle Style() const { return style_; }
    // The Explorer styles make the button transparent, leaving them makes it opaque.
    void SetStyle(TOBLUserButtonStyle Value);
    TOBLGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TOBLGlyphKind Value);
    // The built-in picture of GlyphKind becomes the glyph.
    void RequestDefaultGlyph();
    bool GetUnColorMain() const { return GlyphObject()->Style() == gsExplorer; }
    void SetUnColorMain(bool Value);

protected:
    void Paint() override;
    bool ControlSupportsXP() override;
    void GetIMLChange(TObject* Sender) override;
    bool IsCustom() override { return glyphKind_ == gkCustom && IMLEmpty(); }
    bool IsHotState() override;
    bool RepaintOnMouse() override;
    bool ActionChangeable() override { return glyphKind_ == gkCustom; }

private:
    bool IsXPStyle() const { return style_ >= ubsWinXP && style_ <= ubsWinXPTool; }
    void DrawFace(TCanvas* Canvas, const TRect& Rect, TOBLButtonState State, WORD Flags);

    TOBLGlyphKind glyphKind_ = gkCustom;
    TOBLUserButtonStyle style_ = ubsAutoDetect;
};
