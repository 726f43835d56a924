#include "obl/core/draw/oblglyph.h"

#include "obl/core/draw/Oblutils.h"

#include <memory>

TOBLGlyphCache* OBLGlyphCache = nullptr;

namespace {

constexpr int kAllocBy = 4;
constexpr int kMaxStripWidth = 32768;

std::unique_ptr<TBitmap> CellBitmap(int width, int height)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    return bitmap;
}

} // namespace

// --- TOBLGlyphStrip --------------------------------------------------------------------

TOBLGlyphStrip::TOBLGlyphStrip(int width, int height) : width_(width), height_(height)
{
    if (width < 1 || height < 1) throw EInvalidGraphicOperation("Invalid image size");
    image_ = new TBitmap();
    mask_ = new TBitmap();
    image_->SetSize(0, height);
    mask_->SetMonochrome(true);
    mask_->SetSize(0, height);
}

TOBLGlyphStrip::~TOBLGlyphStrip()
{
    FreeObject(image_);
    FreeObject(mask_);
}

int TOBLGlyphStrip::AddEmpty()
{
    const int used = (cells_ + 1) * width_;
    if (used > image_->Width()) {
        const int grown = image_->Width() + kAllocBy * width_;
        if (grown > kMaxStripWidth) throw EInvalidGraphicOperation("Too many images");
        image_->SetWidth(grown);
        mask_->SetWidth(grown);
    }
    return cells_++;
}

void TOBLGlyphStrip::ReplaceMasked(int index, TBitmap* image, TColor transparentColor)
{
    if (!image || index < 0 || index >= cells_ || image->Height() != height_ || image->Width() < width_) return;
    auto picture = std::make_unique<TBitmap>();
    auto mask = std::make_unique<TBitmap>();
    OBLBmpCreateMasks(image, mask.get(), picture.get(), transparentColor);
    const TRect cell = CellRect(index), source = Rect(0, 0, width_, height_);
    image_->Canvas()->SetCopyMode(cmSrcCopy);
    image_->Canvas()->CopyRect(cell, picture->Canvas(), source);
    mask_->Canvas()->SetCopyMode(cmSrcCopy);
    mask_->Canvas()->CopyRect(cell, mask->Canvas(), source);
}

void TOBLGlyphStrip::Replace(int index, TBitmap* image, TBitmap* mask)
{
    const auto fits = [&](TBitmap* b) { return b->Height() == height_ && b->Width() >= width_; };
    if (!image || index < 0 || index >= cells_ || !fits(image) || (mask && !fits(mask))) return;
    const TRect cell = CellRect(index), source = Rect(0, 0, width_, height_);
    image_->Canvas()->SetCopyMode(cmSrcCopy);
    image_->Canvas()->CopyRect(cell, image->Canvas(), source);
    if (mask) {
        mask_->Canvas()->SetCopyMode(cmSrcCopy);
        mask_->Canvas()->CopyRect(cell, mask->Canvas(), source);
    } else {
        mask_->Canvas()->Brush()->SetStyle(bsSolid);
        mask_->Canvas()->Brush()->SetColor(clBlack);
        mask_->Canvas()->FillRect(cell);
    }
}

// --- TOBLGlyphList ---------------------------------------------------------------------

TOBLGlyphList::TOBLGlyphList(int width, int height) : TOBLGlyphStrip(width, height), used_(new TBits()) {}

TOBLGlyphList::~TOBLGlyphList() { FreeObject(used_); }

int TOBLGlyphList::AllocateIndex()
{
    int index = used_->OpenBit();
    if (index == used_->Size()) {
        index = AddEmpty();
        used_->SetSize(index + 1);
    }
    used_->SetBits(index, true);
    return index;
}

int TOBLGlyphList::Add(TBitmap* image, TBitmap* mask)
{
    const int index = AllocateIndex();
    Replace(index, image, mask);
    ++count_;
    return index;
}

int TOBLGlyphList::AddMasked(TBitmap* image, TColor transparentColor)
{
    const int index = AllocateIndex();
    ReplaceMasked(index, image, transparentColor);
    ++count_;
    return index;
}

void TOBLGlyphList::Delete(int index)
{
    if (!InUse(index)) return;
    --count_;
    used_->SetBits(index, false);
}

// --- TOBLGlyphCache --------------------------------------------------------------------

TOBLGlyphCache::TOBLGlyphCache() : lists_(new TList()) {}

TOBLGlyphCache::~TOBLGlyphCache()
{
    for (int i = 0; i < lists_->Count(); ++i) delete static_cast<TOBLGlyphList*>(lists_->Items(i));
    FreeObject(lists_);
}

TOBLGlyphList* TOBLGlyphCache::GetList(int width, int height)
{
    for (int i = 0; i < lists_->Count(); ++i) {
        auto* list = static_cast<TOBLGlyphList*>(lists_->Items(i));
        if (list->Width() == width && list->Height() == height) return list;
    }
    auto* list = new TOBLGlyphList(width, height);
    lists_->Add(list);
    return list;
}

void TOBLGlyphCache::FreeList(TOBLGlyphList* list)
{
    if (!list || list->Count() != 0) return;
    const int at = lists_->IndexOf(list);
    if (at < 0) return;
    lists_->Delete(at);
    delete list;
}

// --- TOBLGlyph -------------------------------------------------------------------------

TOBLGlyph::TOBLGlyph() : glyph_(new TBitmap())
{
    for (int& index : indexes_) index = -1;
    glyph_->SetOnChange(TNotifyEvent(this, &TOBLGlyph::GlyphChanged));
    if (!OBLGlyphCache) OBLGlyphCache = new TOBLGlyphCache();
}

TOBLGlyph::~TOBLGlyph()
{
    glyph_->SetOnChange(TNotifyEvent());
    FreeObject(glyph_);
    Init();
    // The cache may already be gone (freed by another glyph that found it empty, or by
    // the unit start-up of a test run): test before asking it.
    if (OBLGlyphCache && OBLGlyphCache->Empty()) {
        delete OBLGlyphCache;
        OBLGlyphCache = nullptr;
    }
}

void TOBLGlyph::Init()
{
    for (int& index : indexes_) {
        if (index != -1 && list_) list_->Delete(index);
        index = -1;
    }
    if (list_ && OBLGlyphCache) OBLGlyphCache->FreeList(list_);
    list_ = nullptr;
}

void TOBLGlyph::SetGlyph(TBitmap* value)
{
    Init();
    assigning_ = true;
    changedWhileAssigning_ = false;
    try {
        glyph_->Assign(value);
    } catch (...) {
        assigning_ = false;
        if (changedWhileAssigning_) SourceChanged();
        throw;
    }
    assigning_ = false;
    if (changedWhileAssigning_) {
        transparentColor_ = glyph_->Empty() ? clNone : glyph_->TransparentColor();
        Init();
    }
    if (value && value->Height() >= 1) {
        transparentColor_ = value->TransparentColor();
        const int w = value->Width(), h = value->Height();
        // A strip without pixels would give no cells at all: the count stays as it was.
        if (w >= 1 && w % h == 0) {
            const int cells = w / h;
            numGlyphs_ = static_cast<std::uint8_t>(cells > 5 ? 1 : cells);
        }
    }
    // The change of the copy is announced once the glyph is whole, so that a handler that
    // prepares the images sees the new cell count.
    if (changedWhileAssigning_ && onChange_) onChange_(this);
}

void TOBLGlyph::SetNumGlyphs(std::uint8_t value)
{
    if (value == 0 || value > 5 || value == numGlyphs_) return;
    Init();
    numGlyphs_ = value;
}

void TOBLGlyph::SetStyle(TOBLGlyphStyle value)
{
    if (value == style_) return;
    Init();
    style_ = value;
}

void TOBLGlyph::GlyphChanged(TObject* sender)
{
    if (sender != glyph_) return;
    if (assigning_) {
        changedWhileAssigning_ = true;
        return;
    }
    SourceChanged();
}

void TOBLGlyph::SourceChanged()
{
    transparentColor_ = glyph_->Empty() ? clNone : glyph_->TransparentColor();
    Init();
    if (onChange_) onChange_(this);
}

int TOBLGlyph::GetButtonGlyph(TOBLButtonState state)
{
    TOBLButtonState s = state == bsDisabledDown ? bsDisabledUp : state;
    if (s != bsDisabledUp && static_cast<int>(s) > numGlyphs_ - 1) {
        if (style_ == gsStandard)
            s = bsUp;
        else
            s = s == bsDropDownOpen ? bsDown : bsMouseOver;
    }
    int& index = indexes_[static_cast<int>(s)];
    if (index != -1) return index;
    if (glyph_->Empty()) return -1;
    const int width = glyph_->Width() / numGlyphs_, height = glyph_->Height();
    if (width < 1 || height < 1) return -1;
    if (!OBLGlyphCache) OBLGlyphCache = new TOBLGlyphCache();
    if (!list_) list_ = OBLGlyphCache->GetList(width, height);

    auto cell = CellBitmap(width, height);
    const int si = static_cast<int>(s);
    if (si < numGlyphs_ && !(style_ == gsExplorer && s == bsUp)) {
        cell->Canvas()->CopyRect(Rect(0, 0, width, height), glyph_->Canvas(), Rect(si * width, 0, (si + 1) * width, height));
        index = list_->AddMasked(cell.get(), transparentColor_);
        return index;
    }
    cell->Canvas()->CopyRect(Rect(0, 0, width, height), glyph_->Canvas(), Rect(0, 0, width, height));
    if (s == bsUp) {
        auto grey = CellBitmap(width, height);
        OBLBmpCreateGrayscale(grey.get(), cell.get());
        index = list_->AddMasked(grey.get(), transparentColor_);
    } else if (s == bsDisabledUp) {
        auto disabled = CellBitmap(width, height);
        OBLBmpDrawDisabledState(disabled.get(), cell.get(), 0, 0);
        index = list_->AddMasked(disabled.get(), transparentColor_);
    } else {
        index = list_->AddMasked(cell.get(), transparentColor_);
    }
    return index;
}

void TOBLGlyph::GetStateBitmap(TOBLButtonState state, TBitmap* bitmap)
{
    if (!bitmap) return;
    const int index = GetButtonGlyph(state);
    if (index < 0) return;
    bitmap->SetSize(list_->Width(), list_->Height());
    bitmap->Canvas()->CopyRect(Rect(0, 0, list_->Width(), list_->Height()), list_->Image()->Canvas(),
                               list_->CellRect(index));
}

void TOBLGlyph::DrawButtonGlyphAndText(TCanvas* canvas, const AnsiString& caption, TOBL3DCaption* effect,
                                       const TRect& rect, TOBLButtonState state, TOBLGlyphTextLayout* layout,
                                       TOBLDrawTextStyles styles, bool wordWrap, int flags)
{
    // A glyph that cannot be cached (a cell too wide for any strip) is left out of the
    // paint: the caption is drawn alone and nothing is raised.
    int index = -1;
    try {
        index = GetButtonGlyph(state);
    } catch (const Exception&) {
        index = -1;
    }
    TOBLTextGlyphRects result;
    if (index >= 0) {
        TRect source = list_->CellRect(index);
        OBLDrawTextAndGlyphExt(canvas, caption, effect, rect, list_->Image()->Canvas(), source,
                               list_->Mask()->Canvas(), transparentColor_, layout, wordWrap, true, true, styles, flags,
                               result);
    } else {
        TRect none{};
        OBLDrawTextAndGlyphExt(canvas, caption, effect, rect, nullptr, none, nullptr, transparentColor_, layout,
                               wordWrap, true, true, styles, flags, result);
    }
}
