// The multimedia button: faces per state with their fallbacks, the hit test on the drawn
// picture, transparency, auto-size and its stored form.
#include "ButtonScene.h"
#include "GraphicFixture.h"

#include "tests/support/FormText.h"

#include <cctype>

namespace {

using TMM = TStateButton<TOBLCustomMMButton>;

std::string Hex(const std::vector<BYTE>& bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (BYTE b : bytes) {
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

std::vector<BYTE> Ints(std::initializer_list<int> values)
{
    std::vector<BYTE> bytes;
    for (int v : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<BYTE>(static_cast<std::uint32_t>(v) >> shift));
    return bytes;
}

// The hex digits of a binary property in a form description; empty when it is not there.
std::string BinaryProperty(const std::string& text, const std::string& name)
{
    const std::size_t at = text.find(name + " = {");
    if (at == std::string::npos)
        return {};
    std::string hex;
    for (std::size_t i = text.find('{', at) + 1; i < text.size() && text[i] != '}'; ++i)
        if (std::isxdigit(static_cast<unsigned char>(text[i])))
            hex += text[i];
    return hex;
}

// Reads the description into the component, under the component's own name.
void ReadInto(TComponent* component, std::string text)
{
    const std::size_t name = text.find("object ") + 7;
    text.replace(name, text.find(':', name) - name, component->Name().c_str());
    ReadFormTextInto(component, text);
}

class MMButtonTest : public GraphicFixture {
protected:
    void SetUp() override
    {
        GraphicFixture::SetUp();
        RegisterClass(TOBLCustomMMButton::StaticClass());
        faces_ = FaceList(form_);
    }
    void TearDown() override
    {
        UnRegisterClass(TOBLCustomMMButton::StaticClass());
        GraphicFixture::TearDown();
    }
    TMM* Make(TWinControl* parent = nullptr)
    {
        auto* b = new TMM(form_);
        b->SetName(("MM" + std::to_string(++made_)).c_str());
        b->SetParent(parent ? parent : form_);
        b->SetBounds(10, 10, kFaceWidth, kFaceHeight);
        b->SetOnClick(TNotifyEvent(&log_, &TEventLog::Click));
        UseFaces(b, faces_);
        Paint();
        return b;
    }
    // Paints every window again, the buttons' containers with them.
    void Paint()
    {
        for (int i = 0; i < form_->ControlCount(); ++i)
            form_->Controls(i)->Invalidate();
        form_->Invalidate();
        Pump();
        form_->Update();
    }
    TOBLImageList* faces_ = nullptr;
    int made_ = 0;
};

TEST_F(MMButtonTest, EveryStateShowsItsFaceOrItsFallback)
{
    auto* b = Make();
    b->SetColor(clBtnFace);
    for (std::size_t i = 0; i < kSceneStates.size(); ++i) {
        auto* s = Make();
        s->Force(kSceneStates[i]);
        Paint();
        EXPECT_EQ(PixelOf(s, 24, 12), Rgb(FaceColor(kSceneStates[i]))) << kSceneStateNames[i];
        s->Free();
    }
    // Without a hot face the hot button shows its up face, without a face of its own a
    // pressed group member shows the down face, and without an up face nothing shows.
    b->SetButtonFaceIndex(bsMouseOver, OBLFaceIndex(0, 40));
    b->SetButtonFaceIndex(bsOptionSet, OBLFaceIndex(3, 0));
    b->Force(bsMouseOver);
    Paint();
    EXPECT_EQ(PixelOf(b, 24, 12), Rgb(FaceColor(bsUp)));
    b->Force(bsOptionSet);
    Paint();
    EXPECT_EQ(PixelOf(b, 24, 12), Rgb(FaceColor(bsDown)));
    b->Force(bsUp);
    b->SetPressed(false);
    b->SetButtonFaceIndex(bsUp, OBLFaceIndex(0, 40));
    b->SetGroupIndex(0);
    Paint();
    EXPECT_EQ(b->State(), bsUp);
    EXPECT_EQ(PixelOf(b, 24, 12), Rgb(form_->Color())) << "nothing painted";
    EXPECT_TRUE(V(b->FaceRect()) == V(TRect{}));
}

// A bitmap list raises for a negative list index: the button never asks it about one. Such
// a face is empty in every paint, hit test and palette query, the description keeps it,
// and the face of another state still shows.
TEST_F(MMButtonTest, AListIndexTheBitmapListHasNoEntryForIsAnEmptyFace)
{
    auto* pictures = new TOBLBitmapList(form_);
    pictures->SetName("Pictures");
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(kFaceWidth, kFaceHeight);
    picture.Canvas()->Brush()->SetColor(clWhite);
    picture.Canvas()->FillRect(Rect(0, 0, kFaceWidth, kFaceHeight));
    picture.Canvas()->Brush()->SetColor(clLime);
    picture.Canvas()->FillRect(Rect(4, 4, kFaceWidth - 4, kFaceHeight - 4));
    pictures->Items(pictures->Add(nullptr))->SetBitmap(&picture);
    TMM* b = Make();
    b->SetButtonFaceImageList(pictures);
    for (TOBLButtonState state : kSceneStates)
        b->SetButtonFaceIndex(state, OBLFaceIndex(-1, 0));
    b->SetButtonFaceIndex(bsMouseOver, OBLFaceIndex(0, 0));
    Paint();
    EXPECT_EQ(PixelOf(b, 24, 12), Rgb(form_->Color())) << "no up face: nothing painted";
    EXPECT_EQ(b->GetPalette(), nullptr);
    b->SetStyle(sbAutosize);
    Paint();
    EXPECT_EQ(b->Width(), 20) << "a face without a size gives 20 pixels";
    b->SetStyle(sbNone);
    b->SetBounds(10, 10, kFaceWidth, kFaceHeight);
    MoveTo(b, 24, 12);
    ClickAt(b, 20, 10);
    MoveAway();
    b->Force(bsMouseOver);
    Paint();
    EXPECT_EQ(PixelOf(b, 24, 12), Rgb(clLime)) << "the hot face";
    b->Force(bsUp);
    EXPECT_TRUE(boxes_.empty()) << boxes_.front();

    // The table is kept in the description as it was given.
    b->SetButtonFaceImageList(nullptr);
    auto* copy = Make();
    ReadInto(copy, WriteFormText(b));
    EXPECT_EQ(copy->GetButtonFaceIndex(bsUp).ListIndex, -1);
    EXPECT_EQ(copy->GetButtonFaceIndex(bsMouseOver).ListIndex, 0);
    copy->SetButtonFaceImageList(pictures);
    Paint();
    EXPECT_TRUE(boxes_.empty()) << boxes_.front();
}

TEST_F(MMButtonTest, ASeeThroughPixelOfTheDrawnFaceDoesNotPress)
{
    auto* b = Make();
    b->SetAllowMouseOver(true);
    // The corner pixel is see-through, the middle is not.
    MoveTo(b, 0, 0);
    Press(b, 0, 0);
    EXPECT_EQ(b->State(), bsUp);
    Release(b, 0, 0);
    EXPECT_EQ(log_.Count("click"), 0);
    // The hot state has no face of its own: the up face it shows is the one hit.
    b->SetButtonFaceIndex(bsMouseOver, OBLFaceIndex(0, 40));
    MoveTo(b, 24, 12);
    EXPECT_EQ(b->State(), bsMouseOver);
    Paint();
    Press(b, 24, 12);
    EXPECT_EQ(b->State(), bsDown);
    Release(b, 24, 12);
    EXPECT_EQ(log_.Count("click"), 1);
}

TEST_F(MMButtonTest, TheHitTestFollowsAStretchedFace)
{
    auto* b = Make();
    b->SetStyle(sbStretch);
    b->SetBounds(10, 10, 2 * kFaceWidth, 2 * kFaceHeight);
    Paint();
    ASSERT_EQ(V(b->FaceRect()), V(Rect(0, 0, 2 * kFaceWidth, 2 * kFaceHeight)));
    // (5, 3) shows picture pixel (2, 1), which is see-through.
    ClickAt(b, 5, 3);
    EXPECT_EQ(log_.Count("click"), 0);
    ClickAt(b, 48, 24);
    EXPECT_EQ(log_.Count("click"), 1);
}

TEST_F(MMButtonTest, TransparentOverAPaintingParentShowsItsBackground)
{
    auto* panel = Add<TGradientPanel>(0, 0);
    panel->SetBounds(0, 0, 200, 150);
    panel->lends = false;
    // Faces keyed in lime: the face's own key decides what is see-through.
    auto* lime = new TOBLImageList(form_);
    NewEntry(lime, kFaceWidth, kFaceHeight);
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(kFaceWidth, kFaceHeight);
    picture.Canvas()->Brush()->SetColor(clLime);
    picture.Canvas()->FillRect(Rect(0, 0, kFaceWidth, kFaceHeight));
    picture.Canvas()->Brush()->SetColor(clNavy);
    picture.Canvas()->FillRect(Rect(8, 4, 40, 20));
    lime->Items(0)->AddMasked(&picture, clLime);
    auto* b = Make(panel);
    b->SetButtonFaceImageList(lime);
    b->SetButtonFaceIndex(bsUp, OBLFaceIndex(0, 0));
    b->SetTransparent(true);
    b->SetTop(70);
    Paint();
    EXPECT_EQ(PixelOf(b, 2, 2), Rgb(TGradientPanel::ColorAtRow(72, 150)));
    EXPECT_EQ(PixelOf(b, 20, 12), Rgb(clNavy));
    // A container with a cached background hands it over; the result is the same.
    panel->lends = true;
    panel->areaRequests = 0;
    Paint();
    EXPECT_GT(panel->areaRequests, 0);
    EXPECT_EQ(PixelOf(b, 2, 2), Rgb(TGradientPanel::ColorAtRow(72, 150)));
    EXPECT_EQ(PixelOf(b, 20, 12), Rgb(clNavy));
    // A container that offers its background but draws none: the button draws itself
    // see-through, as without one.
    panel->draws = false;
    panel->areaRequests = 0;
    Paint();
    EXPECT_GT(panel->areaRequests, 0);
    EXPECT_EQ(PixelOf(b, 2, 2), Rgb(TGradientPanel::ColorAtRow(72, 150)));
    EXPECT_EQ(PixelOf(b, 20, 12), Rgb(clNavy));
}

TEST_F(MMButtonTest, TheFacesPaletteIsPutBackAfterPainting)
{
    auto* b = Make();
    LOGPALETTE entries{};
    entries.palVersion = 0x300;
    entries.palNumEntries = 1;
    entries.palPalEntry[0] = PALETTEENTRY{70, 110, 180, 0};
    faces_->Items(0)->GetImageBitmap()->SetPalette(CreatePalette(&entries));
    ASSERT_NE(faces_->Palette(0), nullptr);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP pixels = CreateCompatibleBitmap(screen, kFaceWidth, kFaceHeight);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldPixels = SelectObject(dc, pixels);
    const HGDIOBJ before = GetCurrentObject(dc, OBJ_PAL);
    b->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), before);
    EXPECT_EQ(GetPixel(dc, 24, 12), ColorToRGB(FaceColor(bsUp)));
    SelectObject(dc, oldPixels);
    DeleteObject(pixels);
    DeleteDC(dc);
}

TEST_F(MMButtonTest, AutoSizeTakesThePictureSizeAndA0SizedOneGives20By20)
{
    auto* b = Make();
    b->SetBounds(10, 10, 30, 30);
    b->SetStyle(sbAutosize);
    Paint();
    Paint();
    EXPECT_EQ(b->Width(), kFaceWidth);
    EXPECT_EQ(b->Height(), kFaceHeight);
    // The list gives no size for a face of a list it does not hold.
    b->SetButtonFaceIndex(bsUp, OBLFaceIndex(7, 0));
    b->SetBounds(10, 10, 30, 30);
    Paint();
    Paint();
    EXPECT_EQ(b->Width(), 20);
    EXPECT_EQ(b->Height(), 20);
}

TEST_F(MMButtonTest, WithoutAFaceListTheButtonIsAnEmptyRectangle)
{
    auto* b = Make();
    b->SetButtonFaceImageList(nullptr);
    b->SetColor(clYellow);
    Paint();
    EXPECT_EQ(PixelOf(b, 0, 0), Rgb(clYellow));
    EXPECT_EQ(PixelOf(b, 20, 10), Rgb(clYellow));
    b->SetDesigning(true);
    Paint();
    EXPECT_EQ(PixelOf(b, 0, 0), 0u) << "the dashed frame at design time";
    EXPECT_EQ(PixelOf(b, 20, 10), Rgb(clYellow));
}

TEST_F(MMButtonTest, TransColTakesTheFirstFacesKeyAndIgnoresANilList)
{
    auto* b = Make();
    b->SetTransCol(nullptr);
    EXPECT_EQ(b->TransColor(), static_cast<TColor>(0xFFFFFF));
    auto* lime = new TOBLImageList(form_);
    NewEntry(lime, 4, 4);
    TBitmap picture;
    picture.SetSize(4, 4);
    picture.Canvas()->Brush()->SetColor(clLime);
    picture.Canvas()->FillRect(Rect(0, 0, 4, 4));
    lime->Items(0)->AddMasked(&picture, clLime);
    b->SetButtonFaceIndex(bsUp, OBLFaceIndex(0, 0));
    b->SetTransCol(lime);
    EXPECT_EQ(ColorToRGB(b->TransColor()), ColorToRGB(clLime));
}

TEST_F(MMButtonTest, TheFaceTableIsStoredIn72BytesAndTheKeyIn4)
{
    auto* b = Make();
    for (int i = 0; i < TOBLCustomMMButton::FaceCount; ++i)
        b->SetButtonFaceIndex(static_cast<TOBLButtonState>(i), OBLFaceIndex(10 + i, 20 + i));
    const std::string text = WriteFormText(b);
    EXPECT_EQ(BinaryProperty(text, "ButtonFaceIndicesNew2"),
              Hex(Ints({20, 21, 22, 23, 24, 25, 26, 27, 28, 18, 17, 16, 15, 14, 13, 12, 11, 10})));
    EXPECT_EQ(BinaryProperty(text, "ButtonFaceTransColNew"), "FFFFFF00");
    // The read-only forms and the face marker are never written.
    for (const char* absent : {"ButtonFaceIndices =", "ButtonFaceIndicesNew =", "ButtonFaceTransCol =", "ButtonFace ="})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;

    auto* copy = Make();
    for (int i = 0; i < TOBLCustomMMButton::FaceCount; ++i)
        copy->SetButtonFaceIndex(static_cast<TOBLButtonState>(i), OBLFaceIndex(0, 0));
    ReadInto(copy, text);
    for (int i = 0; i < TOBLCustomMMButton::FaceCount; ++i)
        EXPECT_TRUE(copy->GetButtonFaceIndex(static_cast<TOBLButtonState>(i)) == OBLFaceIndex(10 + i, 20 + i)) << i;
}

TEST_F(MMButtonTest, OlderDescriptionsStillLoad)
{
    auto* b = Make();
    // Pairs of list and image index for faces 0..7, and the key as 4 raw bytes.
    std::vector<BYTE> pairs;
    for (int i = 0; i < 8; ++i) {
        auto pair = Ints({30 + i, 40 + i});
        pairs.insert(pairs.end(), pair.begin(), pair.end());
    }
    ReadInto(b, "object MM: TOBLCustomMMButton\n  ButtonFaceIndices = {" + Hex(pairs) +
                    "}\n  ButtonFaceTransCol = {" + Hex(Ints({0x00FF00})) + "}\nend\n");
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(b->GetButtonFaceIndex(static_cast<TOBLButtonState>(i)) == OBLFaceIndex(30 + i, 40 + i)) << i;
    EXPECT_EQ(b->TransColor(), static_cast<TColor>(0x00FF00));

    // All list indexes first, then all image indexes.
    std::vector<BYTE> split = Ints({50, 51, 52, 53, 54, 55, 56, 57, 60, 61, 62, 63, 64, 65, 66, 67});
    ReadInto(b, "object MM: TOBLCustomMMButton\n  ButtonFaceIndicesNew = {" + Hex(split) + "}\nend\n");
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(b->GetButtonFaceIndex(static_cast<TOBLButtonState>(i)) == OBLFaceIndex(50 + i, 60 + i)) << i;
}

TEST_F(MMButtonTest, ADamagedFaceTableIsRefusedAndChangesNothing)
{
    auto* b = Make();
    b->SetButtonFaceIndex(bsUp, OBLFaceIndex(2, 3));
    EXPECT_THROW(ReadInto(b, "object MM: TOBLCustomMMButton\n  ButtonFaceIndicesNew2 = {" + Hex(Ints({1, 2, 3})) +
                                 "}\nend\n"),
                 Exception);
    EXPECT_TRUE(b->GetButtonFaceIndex(bsUp) == OBLFaceIndex(2, 3));
    EXPECT_THROW(ReadInto(b, "object MM: TOBLCustomMMButton\n  ButtonFaceTransColNew = {0102}\nend\n"), Exception);
    EXPECT_EQ(b->TransColor(), static_cast<TColor>(0xFFFFFF));
}

TEST_F(MMButtonTest, AGlobalFaceListIsStoredByItsIdentUnderButtonFace)
{
    auto* b = Make();
    b->SetButtonFaceImageList(OBLContainer->ImageList());
    const std::string text = WriteFormText(b);
    EXPECT_NE(text.find("ButtonFace = 'OBLIML30'"), std::string::npos) << text;
    EXPECT_EQ(text.find("ButtonFaceImageList"), std::string::npos);
    auto* copy = Make();
    ReadInto(copy, text);
    EXPECT_EQ(copy->ButtonFaceImageList(), OBLContainer->ImageList());
}

TEST_F(MMButtonTest, DefaultsAreNotWritten)
{
    auto* b = Make();
    b->SetButtonFaceImageList(nullptr);
    const std::string text = WriteFormText(b);
    // Published without a default, AllowMouseOver is always written.
    EXPECT_NE(text.find("AllowMouseOver = False"), std::string::npos) << text;
    for (const char* absent : {"AllowAllUp", "AllowTransparency", "ButtonFaceStyle", "CaptionDown",
                               "ForceTransparent", "GroupIndex", "QuickDraw", "Pressed", "DropDown", "Transparent",
                               "MultiLine", "EnterColor", "HideHint", "NumGlyphs", "Repeat", "UseCaption",
                               "ImageIndex", "ListIndex", "Glyph.", "About"})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent << "\n" << text;
    b->SetCaptionDown(3);
    b->SetForceTransparent(false);
    b->SetStyle(sbCenter);
    b->SetAllowTransparency(false);
    const std::string changed = WriteFormText(b);
    for (const char* present : {"CaptionDown = 3", "ForceTransparent = False", "ButtonFaceStyle = sbCenter",
                                "AllowTransparency = False"})
        EXPECT_NE(changed.find(present), std::string::npos) << present << "\n" << changed;
    auto* copy = Make();
    ReadInto(copy, changed);
    EXPECT_EQ(copy->CaptionDown(), 3);
    EXPECT_FALSE(copy->ForceTransparent());
    EXPECT_EQ(copy->ButtonFaceStyle(), sbCenter);
    EXPECT_FALSE(copy->AllowTransparency());
}

} // namespace
