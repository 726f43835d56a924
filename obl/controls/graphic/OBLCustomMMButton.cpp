#include "obl/controls/graphic/OBLCustomMMButton.h"

#include "obl/core/draw/Oblutils.h"

#include <cstdint>

namespace {

constexpr WORD kRealizePalette = 0x1000, kTransparent = 0x40;
constexpr std::uint32_t kPaletteRelative = 0x2000000;

// Of the stored form, integers are little-endian 32-bit.
void PutInt(TStream* stream, int value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const BYTE bytes[4] = {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                           static_cast<BYTE>(v >> 24)};
    stream->WriteBuffer(bytes, 4);
}

int IntAt(const BYTE* bytes)
{
    return static_cast<int>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                            static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
}

bool Lowered(TOBLButtonState state) { return state == bsOptionSet || state == bsDown || state == bsDropDownOpen; }

// The state whose face stands in for a state that has none; the state itself when none does.
TOBLButtonState FallbackState(TOBLButtonState state)
{
    switch (state) {
    case bsDisabledUp:
    case bsMouseOver:
    case bsDragOver: return bsUp;
    case bsOptionSet:
    case bsDown:
    case bsDropDownOpen:
    case bsDisabledDown: return bsDown;
    default: return state;
    }
}

} // namespace

TOBLCustomMMButton::TOBLCustomMMButton(TComponent* AOwner) : TOBLBaseGraphicButton(AOwner), link_(new TOBLChangeLink)
{
    TControlStyle style = ControlStyle();
    style.Include(csOpaque).Include(csReplicatable).Exclude(csClickEvents);
    SetControlStyle(style);
    link_->SetOnChange(TNotifyEvent(this, &TOBLCustomMMButton::ListChanged));
}

TOBLCustomMMButton::~TOBLCustomMMButton()
{
    link_->SetOnChange(nullptr);
    if (buttonFaceImageList_)
        buttonFaceImageList_->UnRegisterChanges(link_.get());
}

void TOBLCustomMMButton::Publish(TClassBuilder<TOBLCustomMMButton>& c)
{
    using C = TOBLCustomMMButton;
    c.Property("AllowAllUp", &C::AllowAllUp, &C::SetAllowAllUp).Default(false);
    // Published without a default: always written.
    c.Property("AllowMouseOver", &C::AllowMouseOver, &C::SetAllowMouseOver);
    c.Property("AllowTransparency", &C::AllowTransparency, &C::SetAllowTransparency).Default(true);
    // The face marker is not published: its name is the filer property of a global face list.
    c.Property("ButtonFaceStyle", &C::ButtonFaceStyle, &C::SetStyle).Default(sbNone);
    c.Property("ButtonFaceImageList", &C::ButtonFaceImageList, &C::SetButtonFaceImageList)
        .Stored(&C::IsButtonFaceImageListStored);
    c.Property("CaptionDown", &C::CaptionDown, &C::SetCaptionDown).Default(1);
    c.Property("ForceTransparent", &C::ForceTransparent, &C::SetForceTransparent).Default(true);
    c.Property("GroupIndex", &C::GroupIndex, &C::SetGroupIndex).Default(0);
    c.Property("QuickDraw", &C::QuickDraw, &C::SetQuickDraw).Default(false);
    c.Property("Pressed", &C::Pressed, &C::SetPressed).Default(false);
    c.Property("DropDownMenu", &C::DropDownMenu, &C::SetDropDown);
    c.Property("DropDownIndent", &C::DropDownIndent, &C::SetDropDownIndent).Default(0);
    c.Property("DropDownRight", &C::DropDownRight, &C::SetDropDownRight).Default(false);
    c.Property("Transparent", &C::Transparent, &C::SetTransparent).Default(false);
    c.Property("MultiLine", &C::MultiLine, &C::SetMultiLine).Default(false);
}

// ---- Settings -----------------------------------------------------------------------

void TOBLCustomMMButton::SetButtonFaceImageList(TOBLCustomImageList* Value)
{
    if (buttonFaceImageList_)
        buttonFaceImageList_->UnRegisterChanges(link_.get());
    buttonFaceImageList_ = Value;
    if (Value) {
        Value->RegisterChanges(link_.get());
        Value->FreeNotification(this);
    }
    GetButtonFaceIMLChange(this);
}

bool TOBLCustomMMButton::IsButtonFaceImageListStored() const
{
    return buttonFaceImageList_ && (!OBLContainer || buttonFaceImageList_->Owner() != OBLContainer);
}

void TOBLCustomMMButton::SetButtonFaceIndex(TOBLButtonState State, TOBLButtonFaceIndex Face)
{
    faces_[Slot(State)] = Face;
    if (State == this->State())
        Invalidate();
}

void TOBLCustomMMButton::SetButtonFaceIndices(const TFaceTable& Faces)
{
    faces_ = Faces;
    if (!Loading())
        Invalidate();
}

void TOBLCustomMMButton::SetTransCol(TOBLCustomImageList* List)
{
    if (!List)
        return;
    const TOBLButtonFaceIndex& up = faces_[0];
    auto color = static_cast<std::uint32_t>(List->HasEntry(up.ListIndex) ? List->TransparentColor(up.ListIndex, up.ImageIndex)
                                                                          : static_cast<TColor>(0xFFFFFF));
    if (color > 0x1FFFFFF)
        color -= kPaletteRelative;
    transColor_ = static_cast<TColor>(color);
}

void TOBLCustomMMButton::SetForceTransparent(bool Value)
{
    forceTransparent_ = Value;
    Invalidate();
}

void TOBLCustomMMButton::SetQuickDraw(bool Value)
{
    quickDraw_ = Value;
    Invalidate();
}

void TOBLCustomMMButton::SetStyle(TOBLBitmapStyle Value)
{
    buttonFaceStyle_ = Value;
    Invalidate();
}

// A face whose list index the list has no entry for is empty: the list is not asked about
// it (a bitmap list raises for a negative index), so the stored table never makes painting
// or the hit test fail.
TOBLCustomImageList* TOBLCustomMMButton::ListWith(int ListIndex) const
{
    return buttonFaceImageList_ && buttonFaceImageList_->HasEntry(ListIndex) ? buttonFaceImageList_ : nullptr;
}

bool TOBLCustomMMButton::ButtonFaceIMLEmpty(TOBLButtonState State)
{
    const TOBLButtonFaceIndex& face = faces_[Slot(State)];
    TOBLCustomImageList* list = ListWith(face.ListIndex);
    return !list || !list->IsValidItem(face.ListIndex, face.ImageIndex);
}

std::optional<TOBLButtonFaceIndex> TOBLCustomMMButton::DrawnFace(TOBLButtonState State)
{
    if (!ButtonFaceIMLEmpty(State))
        return faces_[Slot(State)];
    const TOBLButtonState fallback = FallbackState(State);
    if (fallback != State && !ButtonFaceIMLEmpty(fallback))
        return faces_[Slot(fallback)];
    return std::nullopt;
}

HPALETTE TOBLCustomMMButton::GetPalette()
{
    TOBLCustomImageList* list = ListWith(faces_[Slot(State())].ListIndex);
    return list ? list->Palette(faces_[Slot(State())].ListIndex) : nullptr;
}

void TOBLCustomMMButton::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == buttonFaceImageList_)
        SetButtonFaceImageList(nullptr);
}

// ---- Hit test -----------------------------------------------------------------------

bool TOBLCustomMMButton::VerifyTransparency(int X, int Y)
{
    // The picture that is on the screen decides, at its drawn scale.
    const std::optional<TOBLButtonFaceIndex> face = DrawnFace(State());
    if (!face || !PtInRect(&faceRect_, POINT{X, Y}))
        return false;
    const int width = buttonFaceImageList_->Dimensions(face->ListIndex, 0);
    const int height = buttonFaceImageList_->Dimensions(face->ListIndex, 1);
    int x = X - faceRect_.left, y = Y - faceRect_.top;
    const int drawnWidth = faceRect_.right - faceRect_.left, drawnHeight = faceRect_.bottom - faceRect_.top;
    if (buttonFaceStyle_ == sbTile && width > 0 && height > 0) {
        x %= width;
        y %= height;
    } else {
        if (width > 0 && drawnWidth != width)
            x = MulDiv(x, width, drawnWidth);
        if (height > 0 && drawnHeight != height)
            y = MulDiv(y, height, drawnHeight);
    }
    return buttonFaceImageList_->GetColorAtPoint(Point(x, y), face->ListIndex, face->ImageIndex) != transColor_;
}

// ---- Painting -----------------------------------------------------------------------

bool TOBLCustomMMButton::AutoSized(const std::optional<TOBLButtonFaceIndex>& Face)
{
    if (buttonFaceStyle_ != sbAutosize)
        return false;
    const int index = faces_[Slot(State())].ListIndex;
    TOBLCustomImageList* list = ListWith(index);
    // A list without a size for the face gives 20 pixels.
    int width = list ? list->Dimensions(index, 0) : 0;
    int height = list ? list->Dimensions(index, 1) : 0;
    if (width == 0)
        width = 20;
    if (height == 0)
        height = 20;
    if (width == Width() && height == Height())
        return false;
    SetBounds(Left(), Top(), width, height);
    return true;
}

WORD TOBLCustomMMButton::DrawFlags() const
{
    WORD flags = quickDraw_ ? 0 : kRealizePalette;
    switch (buttonFaceStyle_) {
    case sbCenter: return flags | OBLBmpCenter;
    case sbStretch: return flags | OBLBmpStretch;
    case sbTile: return flags | OBLBmpTile;
    case sbKeepAspRatio: return flags | OBLBmpKeepAspect | OBLBmpStretch;
    case sbKeepWidth: return flags | OBLBmpKeepHeight | OBLBmpStretch;
    case sbKeepHeight: return flags | OBLBmpKeepWidth | OBLBmpStretch;
    default: return flags;
    }
}

void TOBLCustomMMButton::Paint()
{
    if (Loading())
        return;
    faceRect_ = TRect{};
    if (GetEmpty()) {
        if (!Transparent())
            FillControl();
        if (Designing())
            DrawDashedFrame();
        return;
    }
    const std::optional<TOBLButtonFaceIndex> face = DrawnFace(State());
    if (AutoSized(face))
        return;
    // Without an up face of its own or to fall back on, nothing shows.
    if (!face && (State() == bsUp || State() == bsDefaultEd))
        return;
    const TRect client = ClientRect();
    TBitmap image;
    image.SetPixelFormat(pf24bit);
    image.SetSize(Width(), Height());
    TCanvas* canvas = image.Canvas();
    const TColor key =
        face ? buttonFaceImageList_->TransparentColor(face->ListIndex, face->ImageIndex) : static_cast<TColor>(clFuchsia);
    bool prepared = false;
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
        prepared = true;
    } else if (CheckOptimized()) {
        prepared = BackDrawArea(canvas, client, Point(Left(), Top()), 0);
    }
    if (!prepared) {
        canvas->Brush()->SetColor(key);
        canvas->FillRect(client);
    }
    if (face) {
        const WORD flags = DrawFlags() | (Transparent() || forceTransparent_ ? kTransparent : 0);
        faceRect_ = buttonFaceImageList_->DrawExt(canvas, Rect(0, 0, Width(), Height()), flags, face->ListIndex,
                                                  face->ImageIndex);
    }
    TRect content = client;
    if (Lowered(State()))
        OffsetRect(&content, captionDown_, captionDown_);
    DrawGlyphAndText(canvas, content);
    Output(&image, prepared, face, key);
}

void TOBLCustomMMButton::Output(TBitmap* Image, bool Prepared, const std::optional<TOBLButtonFaceIndex>& Face,
                                TColor Key)
{
    TCanvas* target = Canvas();
    const HPALETTE palette = Face ? buttonFaceImageList_->Palette(Face->ListIndex) : nullptr;
    if (!Prepared) {
        const TRect client = ClientRect();
        OBLBmpDrawExt(target, client, Image->Canvas(), client, kRealizePalette | kTransparent, Key, palette, nullptr);
        return;
    }
    HDC dc = target->Handle();
    HPALETTE old = nullptr;
    const bool realize = !quickDraw_ && palette;
    if (realize) {
        old = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    target->Draw(0, 0, Image);
    if (realize)
        SelectPalette(dc, old, FALSE);
}

// ---- Stored form --------------------------------------------------------------------

void TOBLCustomMMButton::WriteIndices(TStream* Stream)
{
    for (const TOBLButtonFaceIndex& face : faces_)
        PutInt(Stream, face.ImageIndex);
    for (int i = FaceCount - 1; i >= 0; --i)
        PutInt(Stream, faces_[static_cast<std::size_t>(i)].ListIndex);
}

void TOBLCustomMMButton::ReadIndices(TStream* Stream)
{
    BYTE bytes[FaceCount * 8];
    Stream->ReadBuffer(bytes, sizeof bytes);
    TFaceTable faces;
    for (int i = 0; i < FaceCount; ++i) {
        faces[static_cast<std::size_t>(i)].ImageIndex = IntAt(bytes + 4 * i);
        faces[static_cast<std::size_t>(FaceCount - 1 - i)].ListIndex = IntAt(bytes + 4 * (FaceCount + i));
    }
    SetButtonFaceIndices(faces);
}

void TOBLCustomMMButton::ReadLegacyIndices(TReader* Reader)
{
    BYTE bytes[64];
    Reader->Read(bytes, sizeof bytes);
    TFaceTable faces = faces_;
    for (int i = 0; i < 8; ++i)
        faces[static_cast<std::size_t>(i)] = OBLFaceIndex(IntAt(bytes + 8 * i), IntAt(bytes + 8 * i + 4));
    SetButtonFaceIndices(faces);
}

void TOBLCustomMMButton::ReadLegacyIndicesNew(TStream* Stream)
{
    BYTE bytes[64];
    Stream->ReadBuffer(bytes, sizeof bytes);
    TFaceTable faces = faces_;
    for (int i = 0; i < 8; ++i)
        faces[static_cast<std::size_t>(i)] = OBLFaceIndex(IntAt(bytes + 4 * i), IntAt(bytes + 32 + 4 * i));
    SetButtonFaceIndices(faces);
}

void TOBLCustomMMButton::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        "ButtonFace", [this](TReader* reader) { SetButtonFaceImageList(OBLReadGlobalIdent(reader)); },
        [this](TWriter* writer) { OBLWriteGlobalIdent(writer, buttonFaceImageList_); },
        OBLIsGlobalIdent(buttonFaceImageList_));
    Filer->DefineProperty("ButtonFaceIndices", [this](TReader* reader) { ReadLegacyIndices(reader); }, nullptr, false);
    Filer->DefineBinaryProperty(
        "ButtonFaceIndicesNew", [this](TStream* stream) { ReadLegacyIndicesNew(stream); }, nullptr, false);
    Filer->DefineBinaryProperty(
        "ButtonFaceIndicesNew2", [this](TStream* stream) { ReadIndices(stream); },
        [this](TStream* stream) { WriteIndices(stream); }, true);
    Filer->DefineProperty(
        "ButtonFaceTransCol",
        [this](TReader* reader) {
            BYTE bytes[4];
            reader->Read(bytes, sizeof bytes);
            transColor_ = static_cast<TColor>(IntAt(bytes));
        },
        nullptr, false);
    Filer->DefineBinaryProperty(
        "ButtonFaceTransColNew",
        [this](TStream* stream) {
            BYTE bytes[4];
            stream->ReadBuffer(bytes, sizeof bytes);
            transColor_ = static_cast<TColor>(IntAt(bytes));
        },
        [this](TStream* stream) { PutInt(stream, transColor_); }, true);
}
