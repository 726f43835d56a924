// Unit OBLBitmapEffectObject: the post-processing a control applies to a bitmap before it
// is shown (flips, grey scale, inversion, monochrome, brightness, an alpha blend with a
// fill), optionally kept in a buffer bitmap until a setting changes.
#pragma once

#include "obl/controls/effects/OBLAlphaObject.h"
#include "obl/controls/effects/Oblbmp.h"
#include "obl/core/base/OBLObject.h"

class TOBLBitmapEffectObject : public TOBLObject {
    VENDARO_CLASS(TOBLBitmapEffectObject, TOBLObject)
public:
    TOBLBitmapEffectObject();
    ~TOBLBitmapEffectObject() override;

    // Every setting and the alpha object's, with one notification.
    void Assign(TPersistent* Source) override;
    // The buffer is out of date before anyone hears of the change.
    void Change() override;
    // The active effects, "{alpha,FV,FH,GS,INV,B}", or "{Disabled}".
    AnsiString GetSetStr() override;

    TOBLAlphaObject* AlphaBlend() const { return alphaBlend_.get(); }
    // Copies the alpha object's settings.
    void SetAlphaBlend(TOBLAlphaObject* Value);
    // Index 0 FlipVertical, 1 FlipHorizontal, 2 GrayScale, 3 Invert, 4 Buffered,
    // 5 monochrome.
    bool GetBool(int Index) const;
    void SetBool(int Index, bool Value);
    // A vertical flip turns the picture upside down.
    bool FlipVertical() const { return flipVertical_; }
    // A horizontal flip mirrors it left to right.
    bool FlipHorizontal() const { return flipHorizontal_; }
    bool GrayScale() const { return grayScale_; }
    bool Invert() const { return invert_; }
    bool Buffered() const { return buffered_; }
    bool Monochrome() const { return monochrome_; }
    TOBLBrightness Brightness() const { return brightness_; }
    // -255..255; values outside are held at the ends.
    void SetBrightness(TOBLBrightness Value);

    // Marks the buffer out of date.
    void DestroyBuffer() { bufferValid_ = false; }
    bool BufferValid() const { return bufferValid_; }
    // The buffer while it holds the current result (the controls copy their background
    // from it), else nil.
    TBitmap* ValidBuffer() const { return buffered_ && bufferValid_ ? buffer_.get() : nullptr; }
    // Any effect set.
    bool Enabled() const;

    // The effects on the whole bitmap, in place; it becomes 24-bit when an effect needs it.
    void Draw(TBitmap* Bitmap);
    // Target becomes a copy of Source, then Draw.
    void DrawCopy(TBitmap* Source, TBitmap* Target);
    // Source's rectangle onto Target at (0, 0), then Draw on Target.
    void DrawCopyFromRect(TBitmap* Source, const TRect& Rect, TBitmap* Target);
    // Source's rectangle onto Target at the point, then the flips, grey scale, inversion
    // and brightness one after the other on that piece of Target.
    void DrawCopyRect(TBitmap* Source, const TRect& Rect, const TPoint& Point, TBitmap* Target);
    // Target's clip area gets Source's rectangle unprocessed, then DestRect of the
    // processed rectangle.
    void DrawCutRect(TBitmap* Source, const TRect& SourceRect, const TRect& DestRect, TBitmap* Target);
    // Source's rectangle onto Target at (0, 0), then every effect, the alpha blend
    // included, on Target's DestRect.
    void DrawCutRect2(TBitmap* Source, const TRect& SourceRect, const TRect& DestRect, TBitmap* Target);

    static void Publish(TClassBuilder<TOBLBitmapEffectObject>& c);

private:
    bool DrawBuffer(TBitmap* target);
    void FillBuffer(TBitmap* from);
    // The pixel effects one after the other on a piece of a 24-bit bitmap.
    void ApplyPixelEffects(TBitmap* bitmap, const TRect& rect);

    TOwned<TOBLAlphaObject> alphaBlend_;
    bool bufferValid_ = false;
    bool invert_ = false;
    bool buffered_ = false;
    bool grayScale_ = false;
    bool flipVertical_ = false;
    bool monochrome_ = false;
    bool flipHorizontal_ = false;
    TOwned<TBitmap> buffer_;
    TOBLBrightness brightness_ = 0;
};
