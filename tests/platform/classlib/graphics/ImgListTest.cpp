#include "platform/classlib/ImgList.h"

#include "tests/platform/classlib/graphics/GraphicsFixtures.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFuchsia = RGB(255, 0, 255);

class Recorder : public TObject {
public:
    explicit Recorder(AnsiString* log, const char* name) : log_(log), name_(name) {}
    void Changed(TObject* sender)
    {
        *log_ += name_;
        last = sender;
    }
    TObject* last = nullptr;

private:
    AnsiString* log_;
    const char* name_;
};

// A strip of `count` 8 x 8 cells: cell i is filled with colours[i] and has a fuchsia
// top-left 2 x 2 corner.
TOwned<TBitmap> Strip(std::initializer_list<TColor> colors)
{
    TOwned<TBitmap> b(new TBitmap);
    b->SetPixelFormat(pf24bit);
    b->SetSize(8 * static_cast<int>(colors.size()), 8);
    int i = 0;
    for (TColor c : colors) {
        b->Canvas()->Brush()->SetColor(c);
        b->Canvas()->FillRect(Bounds(8 * i, 0, 8, 8));
        b->Canvas()->Brush()->SetColor(clFuchsia);
        b->Canvas()->FillRect(Bounds(8 * i, 0, 2, 2));
        ++i;
    }
    return b;
}

struct Canvas {
    explicit Canvas(int w, int h, COLORREF fill) : dc(w, h, fill), canvas(new TCanvas) { canvas->SetHandle(dc.dc()); }
    MemoryDC dc;
    TOwned<TCanvas> canvas;
};

} // namespace

TEST(ImageList, DefaultsAndPublishedProperties)
{
    TOwned<TImageList> list(new TImageList(nullptr));
    EXPECT_EQ(list->Width(), 16);
    EXPECT_EQ(list->Height(), 16);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_TRUE(list->Masked());
    EXPECT_EQ(list->BkColor(), clNone);
    TOwned<TImageList> sized(new TImageList(nullptr, 8, 12));
    EXPECT_EQ(sized->Width(), 8);
    EXPECT_EQ(sized->Height(), 12);
    struct Case { const char* name; std::int64_t value; };
    const Case cases[] = {{"AllocBy", 4}, {"BkColor", clNone}, {"Height", 16}, {"Masked", 1}, {"Width", 16}};
    for (const Case& c : cases) {
        PPropInfo prop = GetPropInfo(TImageList::StaticClass(), c.name);
        ASSERT_NE(prop, nullptr) << c.name;
        EXPECT_TRUE(prop->HasDefault) << c.name;
        EXPECT_EQ(prop->Default, c.value) << c.name;
    }
    EXPECT_NE(GetPropInfo(TImageList::StaticClass(), "OnChange"), nullptr);
}

TEST(ImageList, AddCutsStripsIntoPictures)
{
    TOwned<TImageList> list(new TImageList(nullptr, 8, 8));
    TOwned<TBitmap> strip = Strip({clRed, clBlue, clGreen});
    EXPECT_EQ(list->Add(strip.get(), nullptr), 0);
    EXPECT_EQ(list->Count(), 3);
    TOwned<TBitmap> narrow(new TBitmap);
    narrow->SetSize(5, 5);
    EXPECT_EQ(list->Add(narrow.get(), nullptr), 3);
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Add(nullptr, nullptr), -1);
    TOwned<TBitmap> empty(new TBitmap);
    EXPECT_EQ(list->AddMasked(empty.get(), clFuchsia), -1);
    EXPECT_EQ(list->Count(), 4);
    list->Delete(0);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_THROW(list->Delete(3), EInvalidOperation);
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
}

TEST(ImageList, MaskedDrawingLetsTheBackgroundThrough)
{
    TOwned<TImageList> list(new TImageList(nullptr, 8, 8));
    TOwned<TBitmap> strip = Strip({clRed, clBlue});
    list->AddMasked(strip.get(), clFuchsia);
    Canvas c(20, 10, kGreen);
    list->Draw(c.canvas.get(), 0, 0, 1);
    EXPECT_EQ(c.dc.At(0, 0), kGreen);   // the mask colour
    EXPECT_EQ(c.dc.At(3, 3), kBlue);
    EXPECT_EQ(c.dc.At(8, 8), kGreen);
    list->Draw(c.canvas.get(), 10, 0, 7);   // out of range: nothing
    EXPECT_EQ(c.dc.At(13, 3), kGreen);
    // Without a mask the whole picture is drawn; an unmasked list ignores masks.
    list->Add(strip.get(), nullptr);
    list->Draw(c.canvas.get(), 10, 0, 2);
    EXPECT_EQ(c.dc.At(10, 0), kFuchsia);
    list->SetMasked(false);
    list->Draw(c.canvas.get(), 0, 0, 1);
    EXPECT_EQ(c.dc.At(0, 0), kFuchsia);
}

TEST(ImageList, GetBitmapSizesAndDraws)
{
    TOwned<TImageList> list(new TImageList(nullptr, 8, 8));
    TOwned<TBitmap> strip = Strip({clRed});
    list->AddMasked(strip.get(), clFuchsia);
    TOwned<TBitmap> target(new TBitmap);
    target->SetSize(3, 20);
    target->Canvas()->Brush()->SetColor(clBlue);
    target->Canvas()->FillRect(Rect(0, 0, 3, 20));
    list->GetBitmap(0, target.get());
    EXPECT_EQ(target->Width(), 8);
    EXPECT_EQ(target->Height(), 8);
    EXPECT_EQ(static_cast<COLORREF>(target->Canvas()->Pixels(0, 0)), kBlue);    // kept, seen through
    EXPECT_EQ(static_cast<COLORREF>(target->Canvas()->Pixels(1, 7)), kRed);
    EXPECT_EQ(static_cast<COLORREF>(target->Canvas()->Pixels(7, 7)), kRed);
    list->GetBitmap(0, nullptr);
    TOwned<TBitmap> fresh(new TBitmap);
    list->GetBitmap(5, fresh.get());   // sized, nothing drawn
    EXPECT_EQ(fresh->Width(), 8);
    EXPECT_EQ(static_cast<COLORREF>(fresh->Canvas()->Pixels(4, 4)), kWhite);
}

TEST(ImageList, DisabledPicturesAreEmbossed)
{
    GdiResetSysColors();
    TOwned<TImageList> list(new TImageList(nullptr, 8, 8));
    TOwned<TBitmap> image(new TBitmap);
    image->SetPixelFormat(pf24bit);
    image->SetSize(8, 8);
    image->Canvas()->Brush()->SetColor(clBlack);
    image->Canvas()->FillRect(Rect(2, 2, 4, 4));   // a dark square on white
    image->Canvas()->Brush()->SetColor(clFuchsia);
    image->Canvas()->FillRect(Rect(6, 6, 8, 8));   // transparent corner
    list->AddMasked(image.get(), clFuchsia);
    Canvas c(10, 10, kGreen);
    c.canvas->Brush()->SetColor(clYellow);
    list->Draw(c.canvas.get(), 0, 0, 0, false);
    EXPECT_EQ(c.dc.At(2, 2), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(c.dc.At(4, 4), GetSysColor(COLOR_BTNHIGHLIGHT));   // the highlight, one pixel off
    EXPECT_EQ(c.dc.At(0, 0), kGreen);   // white pixels leave the background
    EXPECT_EQ(c.dc.At(7, 7), kGreen);   // and so do transparent ones
    EXPECT_EQ(c.canvas->Brush()->Color(), clYellow);
}

TEST(ImageList, ChangeLinksHearOfChangesInOrder)
{
    AnsiString log;
    TOwned<TImageList> list(new TImageList(nullptr, 8, 8));
    Recorder first(&log, "1"), second(&log, "2"), own(&log, "L");
    TOwned<TChangeLink> link1(new TChangeLink), link2(new TChangeLink);
    link1->SetOnChange(TNotifyEvent(&first, &Recorder::Changed));
    link2->SetOnChange(TNotifyEvent(&second, &Recorder::Changed));
    list->SetOnChange(TNotifyEvent(&own, &Recorder::Changed));
    list->RegisterChanges(link2.get());
    list->RegisterChanges(link1.get());
    list->RegisterChanges(link1.get());   // once only
    EXPECT_EQ(link1->Sender(), list.get());
    TOwned<TBitmap> strip = Strip({clRed});
    list->Add(strip.get(), nullptr);
    EXPECT_EQ(log, "21L");
    EXPECT_EQ(first.last, list.get());
    list->SetWidth(4);   // a new size clears the list
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(log, "21L21L");
    list->UnRegisterChanges(link2.get());
    EXPECT_EQ(link2->Sender(), nullptr);
    list->Clear();
    EXPECT_EQ(log, "21L21L1L");
    link1.reset();   // a freed link unregisters itself
    list->Clear();
    EXPECT_EQ(log, "21L21L1LL");
}

TEST(ImageList, FreeingTheListReleasesItsLinksAndNotifiesComponents)
{
    class Watcher : public TComponent {
    public:
        explicit Watcher(TComponent* owner) : TComponent(owner) {}
        void Notification(TComponent* component, TOperation operation) override
        {
            TComponent::Notification(component, operation);
            if (operation == opRemove) {
                removed = component;
                senderDuringRemoval = link ? link->Sender() : nullptr;
            }
        }
        TComponent* removed = nullptr;
        TChangeLink* link = nullptr;
        TCustomImageList* senderDuringRemoval = reinterpret_cast<TCustomImageList*>(1);
    };
    AnsiString log;
    Recorder recorder(&log, "x");
    TOwned<Watcher> watcher(new Watcher(nullptr));
    TOwned<TChangeLink> link(new TChangeLink);
    link->SetOnChange(TNotifyEvent(&recorder, &Recorder::Changed));
    watcher->link = link.get();
    auto* list = new TImageList(nullptr);
    list->RegisterChanges(link.get());
    list->FreeNotification(watcher.get());
    list->Free();
    EXPECT_EQ(watcher->removed, list);
    EXPECT_EQ(watcher->senderDuringRemoval, nullptr);   // links went first
    EXPECT_EQ(link->Sender(), nullptr);
    EXPECT_EQ(log, "");
}

TEST(ImageList, AssignCopiesSettingsAndPictures)
{
    TOwned<TImageList> source(new TImageList(nullptr, 8, 8));
    TOwned<TBitmap> strip = Strip({clRed, clBlue});
    source->AddMasked(strip.get(), clFuchsia);
    source->SetBkColor(clWhite);
    TOwned<TImageList> copy(new TImageList(nullptr));
    copy->Assign(source.get());
    EXPECT_EQ(copy->Width(), 8);
    EXPECT_EQ(copy->Count(), 2);
    EXPECT_EQ(copy->BkColor(), clWhite);
    source->Clear();
    Canvas c(8, 8, kGreen);
    copy->Draw(c.canvas.get(), 0, 0, 1);
    EXPECT_EQ(c.dc.At(0, 0), kGreen);
    EXPECT_EQ(c.dc.At(5, 5), kBlue);
    TOwned<TFont> font(new TFont);
    EXPECT_THROW(copy->Assign(font.get()), EConvertError);
}

TEST(ImageList, FormDescriptionsCreateAndStoreImageLists)
{
    RegisterImageListClasses();
    TStringStream text(AnsiString("object Images1: TImageList\n  Height = 24\n  Width = 20\n  Masked = False\nend\n"));
    TReader reader(&text);
    TOwned<TComponent> read(reader.ReadRootComponent(nullptr));
    auto* list = dynamic_cast<TImageList*>(read.get());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Name(), "Images1");
    EXPECT_EQ(list->Width(), 20);
    EXPECT_EQ(list->Height(), 24);
    EXPECT_FALSE(list->Masked());
    TStringStream written;
    {
        TWriter writer(&written);
        writer.WriteRootComponent(list);
    }
    EXPECT_NE(Pos("Width = 20", written.DataString()), 0);
    EXPECT_EQ(Pos("AllocBy", written.DataString()), 0);   // defaults are not written
    UnRegisterClass(TImageList::StaticClass());
}
