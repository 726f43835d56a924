// Image lists and change links.
#include "platform/classlib/ImgList.h"

#include <algorithm>

namespace {

// Where the source (a monochrome picture) is 0 the pattern, elsewhere the destination.
constexpr DWORD kRopDSPDxax = 0x00E20746;

// A memory context with a bitmap selected, released on scope exit.
class MemoryContext {
public:
    explicit MemoryContext(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, bitmap)) {}
    ~MemoryContext()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    MemoryContext(const MemoryContext&) = delete;
    MemoryContext& operator=(const MemoryContext&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace

// ---------------------------------------------------------------------------------------
// TChangeLink

TChangeLink::~TChangeLink()
{
    if (sender_)
        sender_->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    if (sender_)
        onChange_(sender_);
}

// ---------------------------------------------------------------------------------------
// TCustomImageList

TCustomImageList::TCustomImageList(TComponent* owner)
    : TComponent(owner)
{
}

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width), height_(height)
{
}

TCustomImageList::~TCustomImageList()
{
    UnregisterAll();
}

void TCustomImageList::BeforeDestruction()
{
    UnregisterAll();
    inherited::BeforeDestruction();
}

void TCustomImageList::UnregisterAll()
{
    while (!links_.empty())
        UnRegisterChanges(links_.back());
}

void TCustomImageList::Publish(TClassBuilder<TCustomImageList>& c)
{
    c.Property("AllocBy", &TCustomImageList::AllocBy, &TCustomImageList::SetAllocBy).Default(4);
    c.Property("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor).Default(clNone);
    c.Property("BlendColor", &TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor).Default(clNone);
    c.Property("DrawingStyle", &TCustomImageList::DrawingStyle, &TCustomImageList::SetDrawingStyle).Default(dsNormal);
    c.Property("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default(16);
    c.Property("ImageType", &TCustomImageList::ImageType, &TCustomImageList::SetImageType).Default(itImage);
    c.Property("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked).Default(true);
    c.Property("ShareImages", &TCustomImageList::ShareImages, &TCustomImageList::SetShareImages).Default(false);
    c.Property("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default(16);
    c.Property("OnChange", &TCustomImageList::OnChange, &TCustomImageList::SetOnChange);
}

void TCustomImageList::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TCustomImageList*>(source);
    if (!other) {
        if (source)
            inherited::Assign(source);
        else
            Clear();
        return;
    }
    if (other == this)
        return;
    images_.clear();
    width_ = other->width_;
    height_ = other->height_;
    masked_ = other->masked_;
    bkColor_ = other->bkColor_;
    blendColor_ = other->blendColor_;
    drawingStyle_ = other->drawingStyle_;
    imageType_ = other->imageType_;
    allocBy_ = other->allocBy_;
    for (const Picture& picture : other->images_) {
        Picture copy = NewPicture();
        copy.image->Assign(picture.image.get());
        copy.mask->Assign(picture.mask.get());
        images_.push_back(std::move(copy));
    }
    Change();
}

void TCustomImageList::SetWidth(int value)
{
    if (value == width_ || value <= 0)
        return;
    width_ = value;
    images_.clear();
    Change();
}

void TCustomImageList::SetHeight(int value)
{
    if (value == height_ || value <= 0)
        return;
    height_ = value;
    images_.clear();
    Change();
}

void TCustomImageList::SetMasked(bool value)
{
    if (value == masked_)
        return;
    masked_ = value;
    Change();
}

void TCustomImageList::SetBkColor(TColor value)
{
    if (value == bkColor_)
        return;
    bkColor_ = value;
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle value)
{
    if (value == drawingStyle_)
        return;
    drawingStyle_ = value;
    Change();
}

void TCustomImageList::SetImageType(TImageType value)
{
    if (value == imageType_)
        return;
    imageType_ = value;
    Change();
}

TCustomImageList::Picture TCustomImageList::NewPicture() const
{
    Picture picture{TOwned<TBitmap>(new TBitmap), TOwned<TBitmap>(new TBitmap)};
    picture.image->SetSize(width_, height_);
    picture.mask->SetMonochrome(true);
    picture.mask->SetSize(width_, height_);   // white: nothing drawn yet
    return picture;
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask)
{
    if (!image || image->Empty())
        return -1;
    int first = Count();
    int pictures = std::max(image->Width() / width_, 1);
    for (int i = 0; i < pictures; ++i) {
        Picture picture = NewPicture();
        int left = i * width_;
        int w = std::min(width_, image->Width() - left), h = std::min(height_, image->Height());
        TRect cell = Bounds(0, 0, w, h);
        picture.image->Canvas()->CopyRect(cell, image->Canvas(), Bounds(left, 0, w, h));
        if (mask && !mask->Empty()) {
            picture.mask->Canvas()->CopyRect(cell, mask->Canvas(), Bounds(left, 0, w, h));
        } else {
            picture.mask->Canvas()->Brush()->SetColor(clBlack);
            picture.mask->Canvas()->FillRect(cell);
        }
        images_.push_back(std::move(picture));
    }
    Change();
    return first;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    if (!image || image->Empty())
        return -1;
    if (!masked_)
        return Add(image, nullptr);
    TOwned<TBitmap> mask(new TBitmap);
    mask->Assign(image);
    mask->Mask(maskColor);
    return Add(image, mask.get());
}

void TCustomImageList::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EInvalidOperation(SInvalidImageListIndex);
    images_.erase(images_.begin() + index);
    Change();
}

void TCustomImageList::Clear()
{
    images_.clear();
    Change();
}

void TCustomImageList::GetBitmap(int index, TBitmap* image)
{
    if (!image)
        return;
    image->SetHeight(height_);
    image->SetWidth(width_);
    Draw(image->Canvas(), 0, 0, index);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled)
{
    if (!canvas || index < 0 || index >= Count())
        return;
    DoDraw(index, canvas, x, y, enabled);
}

void TCustomImageList::DoDraw(int index, TCanvas* canvas, int x, int y, bool enabled)
{
    const Picture& picture = images_[static_cast<std::size_t>(index)];
    if (enabled)
        DrawEnabled(picture, canvas->Handle(), x, y);
    else
        DrawDisabled(picture, canvas, x, y);
}

// Masked: D ^ image, AND the mask (white keeps the destination), ^ image again.
void TCustomImageList::DrawEnabled(const Picture& picture, HDC dest, int x, int y)
{
    HDC image = picture.image->Canvas()->Handle();
    if (!masked_) {
        BitBlt(dest, x, y, width_, height_, image, 0, 0, SRCCOPY);
        return;
    }
    COLORREF text = SetTextColor(dest, RGB(0, 0, 0));
    COLORREF back = ::SetBkColor(dest, RGB(255, 255, 255));
    BitBlt(dest, x, y, width_, height_, image, 0, 0, SRCINVERT);
    BitBlt(dest, x, y, width_, height_, picture.mask->Canvas()->Handle(), 0, 0, SRCAND);
    BitBlt(dest, x, y, width_, height_, image, 0, 0, SRCINVERT);
    SetTextColor(dest, text);
    ::SetBkColor(dest, back);
}

// Every drawn pixel that is not white becomes a shape, painted in the button highlight
// colour one pixel down and right, then in the button shadow colour in place.
void TCustomImageList::DrawDisabled(const Picture& picture, TCanvas* canvas, int x, int y)
{
    HBITMAP shape = CreateBitmap(width_, height_, 1, 1, nullptr);
    {
        MemoryContext mono(shape);
        HDC image = picture.image->Canvas()->Handle();
        COLORREF imageBack = ::SetBkColor(image, RGB(255, 255, 255));
        BitBlt(mono.dc(), 0, 0, width_, height_, image, 0, 0, SRCCOPY);
        ::SetBkColor(image, imageBack);
        if (masked_)
            BitBlt(mono.dc(), 0, 0, width_, height_, picture.mask->Canvas()->Handle(), 0, 0, SRCPAINT);
        TColor brushColor = canvas->Brush()->Color();
        TBrushStyle brushStyle = canvas->Brush()->Style();
        const TColor colors[] = {clBtnHighlight, clBtnShadow};
        for (int pass = 0; pass < 2; ++pass) {
            canvas->Brush()->SetColor(colors[pass]);
            HDC dest = canvas->Handle();
            COLORREF text = SetTextColor(dest, RGB(255, 255, 255));
            COLORREF back = ::SetBkColor(dest, RGB(0, 0, 0));
            int offset = pass == 0 ? 1 : 0;
            BitBlt(dest, x + offset, y + offset, width_, height_, mono.dc(), 0, 0, kRopDSPDxax);
            SetTextColor(dest, text);
            ::SetBkColor(dest, back);
        }
        canvas->Brush()->SetColor(brushColor);
        canvas->Brush()->SetStyle(brushStyle);
    }
    DeleteObject(shape);
}

void TCustomImageList::RegisterChanges(TChangeLink* link)
{
    if (!link || std::find(links_.begin(), links_.end(), link) != links_.end())
        return;
    link->SetSender(this);
    links_.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link)
{
    auto it = std::find(links_.begin(), links_.end(), link);
    if (it == links_.end())
        return;
    links_.erase(it);
    link->SetSender(nullptr);
}

void TCustomImageList::Change()
{
    // A link's handler may unregister links; only those still registered are told.
    std::vector<TChangeLink*> links = links_;
    for (TChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->Change();
    onChange_(this);
}

void RegisterImageListClasses()
{
    RegisterClasses({TImageList::StaticClass()});
}
