// Unit OBL3DCaption: the settings of a caption's 3D text effect (depths, colours,
// direction, character spacing) that controls own and pass to the text routines.
#pragma once

#include "obl/core/base/OBLObject.h"
#include "obl/core/draw/Oblgraph.h"
#include "platform/classlib/Graphics.h"

class TOBL3DCaption : public TOBLObject {
    VENDARO_CLASS(TOBL3DCaption, TOBLObject)
public:
    TOBL3DCaption() = default;

    // Copies every setting but Orientation from another 3D caption, with one Change.
    void Assign(TPersistent* source) override;
    // "{word}" naming the effect.
    AnsiString GetSetStr() override;

    TOBLDisabledStyle DisabledStyle() const { return disabledStyle_; }
    void SetDisabledStyle(TOBLDisabledStyle value);
    std::uint8_t LightDepth() const { return lightDepth_; }
    std::uint8_t ShadowDepth() const { return shadowDepth_; }
    // Index 0 sets LightDepth, 1 ShadowDepth.
    void SetDepth(int index, std::uint8_t value);
    TColor LightColor() const { return lightColor_; }
    TColor ShadowColor() const { return shadowColor_; }
    // Index 0 sets LightColor, 1 ShadowColor.
    void SetColor(int index, TColor value);
    TOBLThreeDStyle Style() const { return style_; }
    void SetStyle(TOBLThreeDStyle value);
    TOBLThreeDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TOBLThreeDOrientation value);
    // Extra pixels between characters, kMinTracing .. kMaxTracing: a text's width, its
    // characters' spacings summed, then stays in the int range. Other values are dropped
    // (and refused by the reader).
    static constexpr int kMinTracing = -32768, kMaxTracing = 32767;
    int Tracing() const { return tracing_; }
    void SetTracing(int value);

    static void Publish(TClassBuilder<TOBL3DCaption>& c);

protected:
    // The seven settings Assign copies between 3D captions.
    void CopyEffect(const TOBL3DCaption& source);

private:
    TOBLDisabledStyle disabledStyle_ = dsAuto;
    std::uint8_t lightDepth_ = 1;
    std::uint8_t shadowDepth_ = 1;
    TColor lightColor_ = clBtnHighlight;
    TColor shadowColor_ = clBtnShadow;
    TOBLThreeDStyle style_ = tdNone;
    TOBLThreeDOrientation orientation_ = toTopLeft;
    int tracing_ = 0;
};
