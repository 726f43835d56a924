// Unit oblglyph: a button's glyph, the strip of up to five state cells the user assigns,
// and the global cache of prepared state images that all glyphs of one cell size share.
#pragma once

#include "obl/core/draw/OBL3DCaption.h"
#include "obl/core/draw/OBLGlyphTextLayout.h"
#include "obl/core/draw/Oblgraph.h"
#include "platform/classlib/Classes.h"
#include "platform/classlib/Graphics.h"

VENDARO_ENUM(TOBLGlyphStyle, gsStandard, gsExplorer)

// The masked picture strip behind a glyph list: cells of one size side by side in one
// bitmap, with a monochrome mask strip of the same layout (black opaque, white
// transparent). Cells are reserved AllocBy at a time; the strip holds at most 32,768
// pixels in width. It draws through the library's bitmap routines, so that the drawing
// area needs no image-list code.
class TOBLGlyphStrip : public TObject {
    VENDARO_CLASS(TOBLGlyphStrip, TObject)
public:
    // A size below 1 raises EInvalidGraphicOperation "Invalid image size".
    TOBLGlyphStrip(int width, int height);
    ~TOBLGlyphStrip() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int CellCount() const { return cells_; }
    // Reserves the next cell (its pixels are whatever the strip holds there) and answers
    // its index; "Too many images" when the strip would pass 32,768 pixels.
    int AddEmpty();
    // The first Width x Height pixels of the image go into the cell, with the mask of the
    // transparent colour. An image of another height, or a nil one, changes nothing.
    void ReplaceMasked(int index, TBitmap* image, TColor transparentColor);
    // The first Width x Height pixels of the image go into the cell and those of the mask
    // into the mask cell; without a mask the cell is opaque. An image (or a given mask) of
    // another height or narrower than a cell, or a nil image, changes nothing.
    void Replace(int index, TBitmap* image, TBitmap* mask);
    TRect CellRect(int index) const { return Bounds(index * width_, 0, width_, height_); }
    TBitmap* Image() const { return image_; }
    TBitmap* Mask() const { return mask_; }

private:
    int width_;
    int height_;
    int cells_ = 0;
    TBitmap* image_;
    TBitmap* mask_;
};

// The cells of one size that the cache keeps: freed cells are marked unused and handed
// out again; the strip never shrinks.
class TOBLGlyphList : public TOBLGlyphStrip {
    VENDARO_CLASS(TOBLGlyphList, TOBLGlyphStrip)
public:
    TOBLGlyphList(int width, int height);
    ~TOBLGlyphList() override;

    // The first unused cell, appending one when all are in use.
    int AllocateIndex();
    int Add(TBitmap* image, TBitmap* mask);
    int AddMasked(TBitmap* image, TColor transparentColor);
    // Marks the cell unused; its pixels stay.
    void Delete(int index);
    // Cells in use.
    int Count() const { return count_; }
    bool InUse(int index) const { return index >= 0 && index < used_->Size() && used_->Bits(index); }

private:
    int count_ = 0;
    TBits* used_;
};

// At most one glyph list per cell size.
class TOBLGlyphCache : public TObject {
    VENDARO_CLASS(TOBLGlyphCache, TObject)
public:
    TOBLGlyphCache();
    ~TOBLGlyphCache() override;

    // The list of that size, made (masked) when there is none yet.
    TOBLGlyphList* GetList(int width, int height);
    // Frees the list once no cell of it is in use; nil is ignored.
    void FreeList(TOBLGlyphList* list);
    bool Empty() const { return lists_->Count() == 0; }
    int ListCount() const { return lists_->Count(); }

private:
    TList* lists_;
};

// Made by the first glyph, freed by the last one that leaves it empty; nil in between.
extern TOBLGlyphCache* OBLGlyphCache;

class TOBLGlyph : public TObject {
    VENDARO_CLASS(TOBLGlyph, TObject)
public:
    TOBLGlyph();
    ~TOBLGlyph() override;

    TBitmap* Glyph() const { return glyph_; }
    // Takes a copy; a strip whose width is a whole multiple of its height sets NumGlyphs
    // to the cell count (1 above five). A bitmap without pixels keeps the old count.
    void SetGlyph(TBitmap* value);
    std::uint8_t NumGlyphs() const { return numGlyphs_; }
    // Counts above five are ignored, as is 0.
    void SetNumGlyphs(std::uint8_t value);
    TOBLGlyphStyle Style() const { return style_; }
    void SetStyle(TOBLGlyphStyle value);
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }
    TColor TransparentColor() const { return transparentColor_; }
    TOBLGlyphList* GlyphList() const { return list_; }

    // Gives back every prepared image and the list.
    void Init();
    // The index of the state's image in the glyph list, prepared on first use; -1 when
    // there is no glyph or its cells have no width.
    int GetButtonGlyph(TOBLButtonState state);
    void GetStateBitmap(TOBLButtonState state, TBitmap* bitmap);
    // Caption and the state's image laid out and drawn by the text-and-glyph routine.
    void DrawButtonGlyphAndText(TCanvas* canvas, const AnsiString& caption, TOBL3DCaption* effect,
                                const TRect& rect, TOBLButtonState state, TOBLGlyphTextLayout* layout,
                                TOBLDrawTextStyles styles, bool wordWrap, int flags);

private:
    void GlyphChanged(TObject* sender);
    void SourceChanged();

    TBitmap* glyph_;
    int indexes_[9];
    TOBLGlyphList* list_ = nullptr;
    std::uint8_t numGlyphs_ = 1;
    TNotifyEvent onChange_;
    TOBLGlyphStyle style_ = gsStandard;
    TColor transparentColor_ = clNone;
    // Set while SetGlyph copies the new bitmap: the change it makes is announced once the
    // glyph is whole (cell count included).
    bool assigning_ = false;
    bool changedWhileAssigning_ = false;
};
