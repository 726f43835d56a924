#include "platform/classlib/Classes.h"

#include "platform/win/kernel/Resources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

VENDARO_ENUM(TFilerShape, fsSquare, fsRound, fsStar)

namespace {

std::vector<std::string> gLoaded;

class TFont : public TPersistent {
    VENDARO_CLASS(TFont, TPersistent)
public:
    TFont() = default;
    const AnsiString& FontName() const { return name_; }
    void SetFontName(const AnsiString& v) { name_ = v; }
    int Size() const { return size_; }
    void SetSize(int v) { size_ = v; }
    static void Publish(TClassBuilder<TFont>& c)
    {
        c.Property("Name", &TFont::FontName, &TFont::SetFontName);
        c.Property("Size", &TFont::Size, &TFont::SetSize).Default(8);
    }

private:
    AnsiString name_;
    int size_ = 8;
};

class TBand : public TCollectionItem {
    VENDARO_CLASS(TBand, TCollectionItem)
public:
    explicit TBand(TCollection* c) : TCollectionItem(c) {}
    int Height() const { return height_; }
    void SetHeight(int v) { height_ = v; }
    const AnsiString& Title() const { return title_; }
    void SetTitle(const AnsiString& v) { title_ = v; }
    static void Publish(TClassBuilder<TBand>& c)
    {
        c.Property("Height", &TBand::Height, &TBand::SetHeight).Default(0);
        c.Property("Title", &TBand::Title, &TBand::SetTitle);
    }

private:
    int height_ = 0;
    AnsiString title_;
};

// The palette of the "Color" property: integers that may be written by name.
bool ColorIdentToInt(const AnsiString& ident, std::int64_t& value)
{
    if (SameText(ident, "clRed")) {
        value = 0xFF;
        return true;
    }
    return false;
}
bool ColorIntToIdent(std::int64_t value, AnsiString& ident)
{
    if (value != 0xFF)
        return false;
    ident = "clRed";
    return true;
}
const TTypeInfo kColorType{.Kind = tkInteger, .Name = "TColor", .IdentToInt = ColorIdentToInt, .IntToIdent = ColorIntToIdent};

class TWidget : public TComponent {
    VENDARO_CLASS(TWidget, TComponent)
public:
    explicit TWidget(TComponent* owner) : TComponent(owner), font_(new TFont()), items_(new TStringList()),
                                          bands_(new TCollection(TBand::StaticClass())) {}
    ~TWidget() override
    {
        font_->Free();
        items_->Free();
        bands_->Free();
    }

    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    int Color() const { return color_; }
    void SetColor(int v) { color_ = v; }
    TFilerShape Shape() const { return shape_; }
    void SetShape(TFilerShape v) { shape_ = v; }
    TSet<TFilerShape> Shapes() const { return shapes_; }
    void SetShapes(TSet<TFilerShape> v) { shapes_ = v; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    char Mark() const { return mark_; }
    void SetMark(char v) { mark_ = v; }
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    TFont* Font() const { return font_; }
    void SetFont(TFont* v) { font_->SetFontName(v->FontName()); }
    TStrings* Items() const { return items_; }
    void SetItems(TStrings* v) { items_->Assign(v); }
    TCollection* Bands() const { return bands_; }
    void SetBands(TCollection* v) { bands_->Assign(v); }
    TWidget* Buddy() const { return buddy_; }
    void SetBuddy(TWidget* v) { buddy_ = v; }
    TNotifyEvent OnClick() const { return onClick_; }
    void SetOnClick(TNotifyEvent v) { onClick_ = v; }

    std::vector<char> blob;
    std::vector<int> extra;
    TWidget* buddyAtLoaded = nullptr;
    int loadedCount = 0;

    static void Publish(TClassBuilder<TWidget>& c)
    {
        c.Property("Width", &TWidget::Width, &TWidget::SetWidth).Default(10);
        c.Property("Color", &TWidget::Color, &TWidget::SetColor).Type(&kColorType).Default(0);
        c.Property("Shape", &TWidget::Shape, &TWidget::SetShape).Default(fsSquare);
        c.Property("Shapes", &TWidget::Shapes, &TWidget::SetShapes).Default(0);
        c.Property("Enabled", &TWidget::Enabled, &TWidget::SetEnabled).Default(true);
        c.Property("Ratio", &TWidget::Ratio, &TWidget::SetRatio);
        c.Property("Mark", &TWidget::Mark, &TWidget::SetMark).Default(' ');
        c.Property("Caption", &TWidget::Caption, &TWidget::SetCaption);
        c.Property("Font", &TWidget::Font, &TWidget::SetFont);
        c.Property("Items", &TWidget::Items, &TWidget::SetItems);
        c.Property("Bands", &TWidget::Bands, &TWidget::SetBands);
        c.Property("Buddy", &TWidget::Buddy, &TWidget::SetBuddy);
        c.Property("OnClick", &TWidget::OnClick, &TWidget::SetOnClick);
    }

    void Loaded() override
    {
        TComponent::Loaded();
        ++loadedCount;
        buddyAtLoaded = buddy_;
        gLoaded.push_back(std::string(Name().str()));
    }
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == buddy_)
            buddy_ = nullptr;
    }

protected:
    void DefineProperties(TFiler* filer) override
    {
        TComponent::DefineProperties(filer);
        filer->DefineBinaryProperty(
            "Blob",
            [this](TStream* s) {
                blob.resize(static_cast<std::size_t>(s->Size()));
                s->ReadBuffer(blob.data(), s->Size());
            },
            [this](TStream* s) { s->WriteBuffer(blob.data(), static_cast<int>(blob.size())); }, !blob.empty());
        filer->DefineProperty(
            "Extra",
            [this](TReader* r) {
                r->ReadListBegin();
                while (!r->EndOfList())
                    extra.push_back(r->ReadInteger());
                r->ReadListEnd();
            },
            [this](TWriter* w) {
                w->WriteListBegin();
                for (int v : extra)
                    w->WriteInteger(v);
                w->WriteListEnd();
            },
            !extra.empty());
    }

private:
    int width_ = 10;
    int color_ = 0;
    TFilerShape shape_ = fsSquare;
    TSet<TFilerShape> shapes_;
    bool enabled_ = true;
    double ratio_ = 0;
    char mark_ = ' ';
    AnsiString caption_;
    TFont* font_;
    TStringList* items_;
    TCollection* bands_;
    TWidget* buddy_ = nullptr;
    TNotifyEvent onClick_;
};

// A form: writes the components it owns as its children, and publishes handlers.
class TTestForm : public TWidget {
    VENDARO_CLASS(TTestForm, TWidget)
public:
    explicit TTestForm(TComponent* owner) : TWidget(owner) {}
    void GetChildren(TGetChildProc proc, TComponent* root) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            proc(Components(i));
    }
    void WidgetClick(TObject* sender) { clicked = sender; }
    void Unrelated(int) {}
    TObject* clicked = nullptr;
    static void Publish(TClassBuilder<TTestForm>& c)
    {
        c.Method("WidgetClick", &TTestForm::WidgetClick);
        c.Method("Unrelated", &TTestForm::Unrelated);
    }
};

// A container whose children belong to the form but hang below the panel: they are created
// with the owner GetChildOwner names and take the parent GetChildParent names.
class TPanelBox : public TWidget {
    VENDARO_CLASS(TPanelBox, TWidget)
public:
    explicit TPanelBox(TComponent* owner) : TWidget(owner) {}
    TComponent* GetChildOwner() override { return Owner(); }
};

class TChildWidget : public TWidget {
    VENDARO_CLASS(TChildWidget, TWidget)
public:
    explicit TChildWidget(TComponent* owner) : TWidget(owner) {}
    void ReadState(TReader* reader) override
    {
        parentAtRead = reader->Parent();
        TWidget::ReadState(reader);
    }
    TComponent* parentAtRead = nullptr;
};

// Floats with and without a declared default: a Single's default is matched in its own
// precision, whatever double the getter widens it to.
class TGauge : public TComponent {
    VENDARO_CLASS(TGauge, TComponent)
public:
    explicit TGauge(TComponent* owner) : TComponent(owner) {}
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    double Scale() const { return scale_; }
    void SetScale(double v) { scale_ = v; }
    float Weight() const { return weight_; }
    void SetWeight(float v) { weight_ = v; }
    static void Publish(TClassBuilder<TGauge>& c)
    {
        c.Property("Ratio", &TGauge::Ratio, &TGauge::SetRatio);
        c.Property("Scale", &TGauge::Scale, &TGauge::SetScale).Default(1.5);
        c.Property("Weight", &TGauge::Weight, &TGauge::SetWeight).Default(0.6);
    }

private:
    double ratio_ = 0;
    double scale_ = 1.5;
    float weight_ = 0.6f;
};

class FilerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterClasses({TWidget::StaticClass(), TTestForm::StaticClass(), TPanelBox::StaticClass(),
                         TChildWidget::StaticClass(), TGauge::StaticClass()});
        gLoaded.clear();
    }
    void TearDown() override
    {
        UnRegisterClass(TWidget::StaticClass());
        UnRegisterClass(TTestForm::StaticClass());
        UnRegisterClass(TPanelBox::StaticClass());
        UnRegisterClass(TChildWidget::StaticClass());
        UnRegisterClass(TGauge::StaticClass());
    }

    static TOwned<TTestForm> Read(const AnsiString& text)
    {
        TStringStream s(text);
        return TOwned<TTestForm>(static_cast<TTestForm*>(s.ReadComponent(nullptr)));
    }
    static AnsiString Write(TComponent* root)
    {
        TStringStream s;
        s.WriteComponent(root);
        return s.DataString();
    }
};

const char* const kForm =
    "object Form1: TTestForm\r\n"
    "  Width = 300\r\n"
    "  Caption = 'It''s '#233't'#13#10'two'\r\n"
    "  Bands = <>\r\n"
    "  OnClick = WidgetClick\r\n"
    "  object Button1: TWidget\r\n"
    "    Color = clRed\r\n"
    "    Shape = fsStar\r\n"
    "    Shapes = [fsSquare, fsStar]\r\n"
    "    Enabled = False\r\n"
    "    Ratio = 0.25\r\n"
    "    Mark = 'x'\r\n"
    "    Font.Name = 'Arial'\r\n"
    "    Font.Size = 12\r\n"
    "    Items.Strings = (\r\n"
    "      'one'\r\n"
    "      'two')\r\n"
    "    Bands = <\r\n"
    "      item\r\n"
    "        Height = 5\r\n"
    "        Title = 'top'\r\n"
    "      end\r\n"
    "      item\r\n"
    "      end>\r\n"
    "    Buddy = Edit1\r\n"
    "    OnClick = WidgetClick\r\n"
    "    Blob = {\r\n"
    "      00FF10}\r\n"
    "    Extra = (\r\n"
    "      1\r\n"
    "      -2)\r\n"
    "  end\r\n"
    "  object Edit1: TWidget\r\n"
    "    Width = 32\r\n"
    "    Bands = <>\r\n"
    "    Buddy = Form1\r\n"
    "  end\r\n"
    "end\r\n";

} // namespace

TEST_F(FilerTest, ReadsEveryKindOfValue)
{
    TOwned<TTestForm> form = Read(kForm);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Name(), "Form1");
    EXPECT_EQ(form->Width(), 300);
    EXPECT_EQ(form->Caption(), AnsiString("It's \xE9t\r\ntwo"));
    ASSERT_EQ(form->ComponentCount(), 2);

    auto* button = dynamic_cast<TWidget*>(form->FindComponent("Button1"));
    auto* edit = dynamic_cast<TWidget*>(form->FindComponent("Edit1"));
    ASSERT_NE(button, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(button->Owner(), form.get());
    EXPECT_EQ(button->Color(), 0xFF);
    EXPECT_EQ(button->Shape(), fsStar);
    EXPECT_EQ(button->Shapes(), (TSet<TFilerShape>{fsSquare, fsStar}));
    EXPECT_FALSE(button->Enabled());
    EXPECT_EQ(button->Ratio(), 0.25);
    EXPECT_EQ(button->Mark(), 'x');
    EXPECT_EQ(button->Font()->FontName(), "Arial");
    EXPECT_EQ(button->Font()->Size(), 12);
    EXPECT_EQ(button->Items()->CommaText(), "one,two");
    ASSERT_EQ(button->Bands()->Count(), 2);
    EXPECT_EQ(static_cast<TBand*>(button->Bands()->Items(0))->Height(), 5);
    EXPECT_EQ(static_cast<TBand*>(button->Bands()->Items(0))->Title(), "top");
    EXPECT_EQ(button->blob, (std::vector<char>{0, '\xFF', 0x10}));
    EXPECT_EQ(button->extra, (std::vector<int>{1, -2}));
    EXPECT_EQ(edit->Width(), 32);
    EXPECT_EQ(edit->Bands()->Count(), 0);
    EXPECT_EQ(button->Width(), 10);
}

TEST_F(FilerTest, ReferencesAreFixedBeforeLoadedAndEventsBindByName)
{
    TOwned<TTestForm> form = Read(kForm);
    auto* button = static_cast<TWidget*>(form->FindComponent("Button1"));
    auto* edit = static_cast<TWidget*>(form->FindComponent("Edit1"));
    // Button1 names Edit1 before Edit1 exists.
    EXPECT_EQ(button->Buddy(), edit);
    EXPECT_EQ(edit->Buddy(), form.get());
    EXPECT_EQ(button->buddyAtLoaded, edit);
    EXPECT_EQ(button->loadedCount, 1);
    EXPECT_EQ(form->loadedCount, 1);
    EXPECT_EQ(gLoaded, (std::vector<std::string>{"Form1", "Button1", "Edit1"}));
    for (TComponent* c : {static_cast<TComponent*>(form.get()), static_cast<TComponent*>(button)}) {
        EXPECT_FALSE(c->ComponentState().Contains(csLoading));
        EXPECT_FALSE(c->ComponentState().Contains(csReading));
    }

    button->OnClick()(button);
    EXPECT_EQ(form->clicked, button);
    EXPECT_TRUE(button->OnClick() == TNotifyEvent(form.get(), &TTestForm::WidgetClick));
}

TEST_F(FilerTest, WriterIsTheReadersInverse)
{
    TOwned<TTestForm> form = Read(kForm);
    AnsiString written = Write(form.get());
    EXPECT_EQ(written, AnsiString(kForm));

    TOwned<TTestForm> again = Read(written);
    EXPECT_EQ(Write(again.get()), written);
}

TEST_F(FilerTest, DefaultsAreNotWritten)
{
    TOwned<TTestForm> form(new TTestForm(nullptr));
    form->SetName("Plain");
    new TWidget(form.get());
    EXPECT_EQ(Write(form.get()), AnsiString("object Plain: TTestForm\r\n"
                                            "  Bands = <>\r\n"
                                            "  object TWidget\r\n"
                                            "    Bands = <>\r\n"
                                            "  end\r\n"
                                            "end\r\n"));
}

TEST_F(FilerTest, FloatsAreLeftOutOnlyAtTheirDefault)
{
    struct Case {
        double ratio, scale;
        float weight;
        const char* body;
    };
    const Case cases[] = {
        {0, 1.5, 0.6f, ""},
        {0, 0, 0, "  Scale = 0.0\r\n  Weight = 0.0\r\n"},
        {-0.0, -0.0, -0.0f, "  Scale = -0.0\r\n  Weight = -0.0\r\n"},
        {1.5, 0.6, 1.5f, "  Ratio = 1.5\r\n  Scale = 0.6\r\n  Weight = 1.5\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        TOwned<TGauge> gauge(new TGauge(nullptr));
        gauge->SetName("Gauge");
        gauge->SetRatio(c.ratio);
        gauge->SetScale(c.scale);
        gauge->SetWeight(c.weight);
        AnsiString written = Write(gauge.get());
        EXPECT_EQ(written, AnsiString("object Gauge: TGauge\r\n") + c.body + "end\r\n");

        TStringStream s(written);
        TOwned<TGauge> back(static_cast<TGauge*>(s.ReadComponent(nullptr)));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->Ratio(), c.ratio);
        EXPECT_EQ(back->Scale(), c.scale);
        EXPECT_EQ(back->Weight(), c.weight);
    }
}

TEST_F(FilerTest, ChildrenTakeTheOwnerAndParentTheirContainerNames)
{
    TOwned<TTestForm> form = Read("object F: TTestForm\n"
                                  "  object Panel: TPanelBox\n"
                                  "    object Inner: TChildWidget\n"
                                  "    end\n"
                                  "  end\n"
                                  "  object Direct: TChildWidget\n"
                                  "  end\n"
                                  "end\n");
    auto* panel = form->FindComponent("Panel");
    auto* inner = dynamic_cast<TChildWidget*>(form->FindComponent("Inner"));
    auto* direct = dynamic_cast<TChildWidget*>(form->FindComponent("Direct"));
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(inner, nullptr);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(inner->Owner(), form.get());
    EXPECT_EQ(inner->parentAtRead, panel);
    EXPECT_EQ(direct->parentAtRead, form.get());
    EXPECT_EQ(panel->ComponentCount(), 0);
}

namespace {

// Sub-objects published without setters: filled in place when read, and still written.
class TFixedParts : public TComponent {
    VENDARO_CLASS(TFixedParts, TComponent)
public:
    explicit TFixedParts(TComponent* owner) : TComponent(owner), font_(new TFont()), bands_(new TCollection(TBand::StaticClass())) {}
    ~TFixedParts() override
    {
        font_->Free();
        bands_->Free();
    }
    TFont* Font() const { return font_; }
    TCollection* Bands() const { return bands_; }
    int Version() const { return 2; }
    static void Publish(TClassBuilder<TFixedParts>& c)
    {
        c.Property("Font", &TFixedParts::Font);
        c.Property("Bands", &TFixedParts::Bands);
        c.Property("Version", &TFixedParts::Version);
    }

private:
    TFont* font_;
    TCollection* bands_;
};

} // namespace

TEST_F(FilerTest, ReadOnlySubObjectsAreReadInPlaceAndWritten)
{
    const char* text = "object Parts: TFixedParts\r\n"
                       "  Font.Name = 'Tahoma'\r\n"
                       "  Bands = <\r\n"
                       "    item\r\n"
                       "      Height = 3\r\n"
                       "    end>\r\n"
                       "end\r\n";
    RegisterClass(TFixedParts::StaticClass());
    TStringStream in(text);
    TOwned<TComponent> parts(in.ReadComponent(nullptr));
    auto* fixed = dynamic_cast<TFixedParts*>(parts.get());
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->Font()->FontName(), "Tahoma");
    EXPECT_EQ(fixed->Bands()->Count(), 1);
    EXPECT_EQ(Write(fixed), AnsiString(text));

    TStringStream bad("object Parts: TFixedParts\n  Version = 3\nend\n");
    EXPECT_THROW(bad.ReadComponent(nullptr), EReadError);
    UnRegisterClass(TFixedParts::StaticClass());
}

TEST_F(FilerTest, ReadComponentFillsAGivenComponent)
{
    TOwned<TTestForm> form(new TTestForm(nullptr));
    TWidget* given = new TWidget(form.get());
    TStringStream s("object Given: TWidget\n  Width = 7\nend\n");
    TReader reader(&s);
    reader.SetRoot(form.get());
    EXPECT_EQ(reader.ReadComponent(given), given);
    EXPECT_EQ(given->Name(), "Given");
    EXPECT_EQ(given->Width(), 7);
    EXPECT_EQ(form->ComponentCount(), 1);
}

TEST_F(FilerTest, ComponentReadAloneIsLoadedWithItsChildren)
{
    TOwned<TTestForm> form(new TTestForm(nullptr));
    form->SetName("Form1");
    TWidget* edit = new TWidget(form.get());
    edit->SetName("Edit1");
    TStringStream s("object Box: TPanelBox\n  Buddy = Edit1\n  object Inner: TWidget\n    Buddy = Box\n  end\nend\n");
    TReader reader(&s);
    reader.SetRoot(form.get());
    reader.SetOwner(form.get());
    auto* box = static_cast<TWidget*>(reader.ReadComponent(nullptr));
    ASSERT_NE(box, nullptr);
    auto* inner = static_cast<TWidget*>(form->FindComponent("Inner"));
    ASSERT_NE(inner, nullptr);
    // References are fixed before Loaded, which runs once on each, the component first.
    EXPECT_EQ(box->Buddy(), edit);
    EXPECT_EQ(inner->Buddy(), box);
    EXPECT_EQ(box->buddyAtLoaded, edit);
    EXPECT_EQ(gLoaded, (std::vector<std::string>{"Box", "Inner"}));
    for (TComponent* c : {static_cast<TComponent*>(box), static_cast<TComponent*>(inner)}) {
        EXPECT_FALSE(c->ComponentState().Contains(csLoading)) << c->Name().str();
        EXPECT_FALSE(c->ComponentState().Contains(csReading)) << c->Name().str();
    }

    // With no root or owner given, into a component of its own.
    TOwned<TWidget> solo(new TWidget(nullptr));
    TStringStream alone("object Solo: TWidget\n  Width = 3\nend\n");
    TReader soloReader(&alone);
    EXPECT_EQ(soloReader.ReadComponent(solo.get()), solo.get());
    EXPECT_EQ(solo->Width(), 3);
    EXPECT_EQ(solo->loadedCount, 1);
    EXPECT_FALSE(solo->ComponentState().Contains(csLoading));

    // A read that fails leaves no component of it loading, and calls no Loaded.
    TOwned<TTestForm> host(new TTestForm(nullptr));
    TWidget* given = new TWidget(host.get());
    TStringStream bad("object Given: TWidget\n  object Child: TWidget\n    Width = 'x'\n  end\nend\n");
    TReader badReader(&bad);
    badReader.SetRoot(host.get());
    EXPECT_THROW(badReader.ReadComponent(given), EReadError);
    EXPECT_FALSE(given->ComponentState().Contains(csLoading));
    EXPECT_EQ(given->loadedCount, 0);
    for (int i = 0; i < host->ComponentCount(); ++i)
        EXPECT_FALSE(host->Components(i)->ComponentState().Contains(csLoading)) << host->Components(i)->Name().str();
}

TEST_F(FilerTest, ReadsTheDescriptionCompiledIntoTheProgram)
{
    std::string text = "object MainForm: TTestForm\n  Width = 640\nend\n";
    RegisterResource(nullptr, RT_RCDATA, "TTESTFORM", std::vector<BYTE>(text.begin(), text.end()));
    TOwned<TTestForm> form(new TTestForm(nullptr));
    EXPECT_EQ(ReadComponentRes("TTestForm", form.get()), form.get());
    EXPECT_EQ(form->Name(), "MainForm");
    EXPECT_EQ(form->Width(), 640);
    EXPECT_THROW(ReadComponentRes("TOtherForm", form.get()), EResNotFound);
    RemoveModuleResources(nullptr);
}

TEST_F(FilerTest, ReadsIntoAnExistingRoot)
{
    TOwned<TTestForm> form(new TTestForm(nullptr));
    TStringStream s("object Main: TTestForm\n  Tag = 4\n  object Child: TWidget\n  end\nend\n");
    EXPECT_EQ(s.ReadComponent(form.get()), form.get());
    EXPECT_EQ(form->Name(), "Main");
    EXPECT_EQ(form->Tag(), 4);
    EXPECT_NE(form->FindComponent("Child"), nullptr);
}

TEST_F(FilerTest, MalformedDescriptionsRaiseAClearErrorAndLeakNothing)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"object F: TTestForm\n  Width = 'x'\nend", "line 2: integer expected"},
        {"object F: TTestForm\n  Nope = 1\nend", "line 2: Property Nope does not exist"},
        {"object F: TTestForm\n  object B: TUnknown\n  end\nend", "line 2: Class TUnknown not found"},
        {"object F: TTestForm\n  object B: TWidget\n    Shape = fsOval\n  end\nend",
         "line 3: Invalid property value fsOval for Shape"},
        {"object F: TTestForm\n  Caption = 'open\nend", "line 2: unterminated string"},
        {"object F: TTestForm\n  OnClick = Missing\nend", "line 2: Method Missing not found"},
        {"object F: TTestForm\n  OnClick = Unrelated\nend", "line 2: Method Unrelated does not fit event OnClick"},
        {"object F: TTestForm\n  Width = 99999999999\nend", "line 2: integer out of range"},
        {"object F: TTestForm\n  Shapes = [fsStar\nend", "line 3: ',' or ']' expected"},
        {"object F: TTestForm\n  object B: TWidget\n    Blob = {0F1}\n  end\nend", "line 3: odd count"},
        {"object F: TTestForm\n  object A: TWidget\n  end\n  object A: TWidget\n  end\nend",
         "line 4: A component named A already exists"},
        {"object F: TTestForm\n  Width = 1\n", "'end' expected"},
        {"object F: TTestForm\nend\nextra", "line 3: text after the final 'end'"},
        {"F: TTestForm\nend", "line 1: 'object' expected"},
        {"object F: TTestForm\n  Caption = #300\nend", "line 2: character code out of range"},
    };
    for (const Case& c : cases) {
        try {
            Read(c.text);
            ADD_FAILURE() << "no error for: " << c.text;
        } catch (const EFilerError& e) {
            EXPECT_NE(e.Message().str().find(c.message), std::string::npos) << e.Message().str();
            EXPECT_EQ(e.Message().str().rfind("Error reading form description", 0), 0u) << e.Message().str();
        }
    }
}

TEST_F(FilerTest, FailureIntoAnExistingRootKeepsTheRootUsable)
{
    TOwned<TTestForm> form(new TTestForm(nullptr));
    TStringStream s("object F: TTestForm\n  object A: TWidget\n  end\n  object B: TWidget\n    Bad = 1\n  end\nend");
    EXPECT_THROW(s.ReadComponent(form.get()), EReadError);
    EXPECT_NE(form->FindComponent("A"), nullptr);
    EXPECT_EQ(form->FindComponent("B"), nullptr);
    EXPECT_FALSE(form->ComponentState().Contains(csLoading));
}

TEST_F(FilerTest, NumbersInEveryNotation)
{
    struct Case {
        const char* text;
        double value;
        TValueType type;
    };
    const Case cases[] = {
        {"42", 42, vaInt32},       {"-5", -5, vaInt32},       {"$20", 32, vaInt32},
        {"$FFFFFFFF", -1, vaInt32}, {"1.5", 1.5, vaExtended},  {"-2.5E3", -2500, vaExtended},
        {"1E-2", 0.01, vaExtended}, {"+0.5", 0.5, vaExtended},
    };
    for (const Case& c : cases) {
        TStringStream s(c.text);
        TReader r(&s);
        EXPECT_EQ(r.NextValue(), c.type) << c.text;
        if (c.type == vaInt32)
            EXPECT_EQ(r.ReadInteger(), static_cast<int>(c.value)) << c.text;
        else
            EXPECT_EQ(r.ReadFloat(), c.value) << c.text;
    }
}

TEST_F(FilerTest, MalformedFloatsRaiseWithTheLine)
{
    const char* const texts[] = {"1e999", "-1e999", "-", "+", "$", "-$10", "$1FFFFFFFFFFFFFFFF", "+-1"};
    for (const char* text : texts) {
        TStringStream s(AnsiString("\n\n") + text);
        TReader r(&s);
        try {
            r.ReadFloat();
            ADD_FAILURE() << text << " was read";
        } catch (const EReadError& e) {
            EXPECT_NE(Pos("line 3", e.Message()), 0) << e.Message().str();
        }
    }
    // Hexadecimal constants read as the integers they are; what is too small to tell
    // from 0 reads as 0.
    const std::pair<const char*, double> good[] = {{"$10", 16}, {"$7FFFFFFFFFFFFFFF", 9223372036854775807.0},
                                                   {"1e-999", 0}, {"-1e-999", -0.0}};
    for (const auto& [text, value] : good) {
        TStringStream s(text);
        TReader r(&s);
        EXPECT_EQ(r.ReadFloat(), value) << text;
    }
}

TEST_F(FilerTest, FloatsRoundTripExactly)
{
    // Whole numbers too: they stay floats (not integers, which -0 and 2^64 are not).
    const double values[] = {0.1, -1.0 / 3.0, 1e300, 5e-324, 123456789.125, -0.0, 1500, -7, 18446744073709551616.0};
    for (double v : values) {
        TStringStream s;
        {
            TWriter w(&s);
            w.WriteFloat(v);
        }
        s.SetPosition(0);
        TReader r(&s);
        EXPECT_EQ(r.NextValue(), vaExtended) << s.DataString().str();
        const double read = r.ReadFloat();
        EXPECT_EQ(read, v) << s.DataString().str();
        EXPECT_EQ(std::signbit(read), std::signbit(v)) << s.DataString().str();
    }
}

TEST_F(FilerTest, FloatTextKeepsItsShortForm)
{
    const std::pair<double, const char*> cases[] = {{0.25, "0.25"}, {1500, "1500.0"}, {-0.0, "-0.0"}, {1e300, "1e+300"}};
    for (const auto& [value, text] : cases) {
        TStringStream s;
        {
            TWriter w(&s);
            w.WriteFloat(value);
        }
        EXPECT_EQ(s.DataString(), text);
    }
}

TEST_F(FilerTest, BinaryBytesLeftInABlockAreNotReadLater)
{
    TStringStream s;
    {
        TWriter w(&s);
        w.WriteListBegin();
        w.Write("\x01\x02", 2);
        w.WriteInteger(-7);
        w.Write("\x03", 1);
        w.WriteListEnd();
    }
    s.SetPosition(0);
    TReader r(&s);
    r.ReadListBegin();
    char byte = 0;
    r.Read(&byte, 1);
    EXPECT_EQ(byte, '\x01');
    EXPECT_EQ(r.ReadInteger(), -7);
    // The block after the integer, not the byte the first block still held.
    r.Read(&byte, 1);
    EXPECT_EQ(byte, '\x03');
    EXPECT_THROW(r.Read(&byte, 1), EReadError);
}

TEST_F(FilerTest, ValueReadersAndWritersRoundTrip)
{
    TStringStream s;
    {
        TWriter w(&s);
        w.WriteListBegin();
        w.WriteInteger(-7);
        w.WriteString(AnsiString("a\0'b", 4));
        w.WriteIdent("alIdent");
        w.WriteBoolean(true);
        w.WriteFloat(1.0 / 3.0);
        w.WriteChar('\x01');
        w.Write("\x01\x02", 2);
        w.Write("\x03", 1);
        w.WriteListEnd();
    }
    s.SetPosition(0);
    TReader r(&s);
    r.ReadListBegin();
    EXPECT_EQ(r.NextValue(), vaInt32);
    EXPECT_EQ(r.ReadInteger(), -7);
    EXPECT_EQ(r.ReadString(), AnsiString("a\0'b", 4));
    EXPECT_EQ(r.NextValue(), vaIdent);
    EXPECT_EQ(r.ReadIdent(), "alIdent");
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_EQ(r.ReadFloat(), 1.0 / 3.0);
    EXPECT_EQ(r.ReadChar(), '\x01');
    char bytes[3] = {};
    r.Read(bytes, 3);
    EXPECT_EQ(std::string(bytes, 3), "\x01\x02\x03");
    EXPECT_TRUE(r.EndOfList());
    r.ReadListEnd();
}

namespace {

// An integer property that takes only some values, a setter that would drop the others,
// and a binary block whose reader refuses what it cannot use.
class TRangedPart : public TComponent {
    VENDARO_CLASS(TRangedPart, TComponent)
public:
    explicit TRangedPart(TComponent* owner) : TComponent(owner) {}
    int Size() const { return size_; }
    void SetSize(int v)
    {
        if (v >= 1)
            size_ = v;
        ++sets;
    }
    int sets = 0;
    std::vector<char> block;

    static void Publish(TClassBuilder<TRangedPart>& c)
    {
        c.Property("Size", &TRangedPart::Size, &TRangedPart::SetSize).Default(16).ReadRange(1, 1000);
    }

protected:
    void DefineProperties(TFiler* filer) override
    {
        TComponent::DefineProperties(filer);
        filer->DefineBinaryProperty(
            "Block",
            [this](TStream* s) {
                if (s->Size() != 2)
                    throw EReadError(SReadError);
                block.resize(2);
                s->ReadBuffer(block.data(), 2);
            },
            [this](TStream* s) { s->WriteBuffer(block.data(), static_cast<int>(block.size())); }, !block.empty());
    }

private:
    int size_ = 16;
};

} // namespace

TEST_F(FilerTest, ValuesOutsideAPropertysRangeAreRefusedWithTheLine)
{
    RegisterClass(TRangedPart::StaticClass());
    struct Case {
        const char* value;
        const char* message; // empty: read
        int size;
    };
    const Case cases[] = {
        {"1", "", 1},
        {"1000", "", 1000},
        {"0", "line 3: Invalid property value 0 for Size", 0},
        {"-5", "line 3: Invalid property value -5 for Size", 0},
        {"1001", "line 3: Invalid property value 1001 for Size", 0},
        {"-2147483648", "line 3: Invalid property value -2147483648 for Size", 0},
    };
    for (const Case& c : cases) {
        const std::string text = std::string("object F: TTestForm\n  object P: TRangedPart\n    Size = ") + c.value +
                                 "\n  end\nend";
        try {
            TOwned<TTestForm> form = Read(text.c_str());
            EXPECT_EQ(*c.message, '\0') << "read: " << c.value;
            auto* part = static_cast<TRangedPart*>(form->FindComponent("P"));
            ASSERT_NE(part, nullptr);
            EXPECT_EQ(part->Size(), c.size);
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message().str(), std::string("Error reading form description at ") + c.message) << c.value;
        }
    }
    UnRegisterClass(TRangedPart::StaticClass());
}

TEST_F(FilerTest, ARefusedBinaryBlockNamesItsPropertyAndTheLineItStartsOn)
{
    RegisterClass(TRangedPart::StaticClass());
    try {
        Read("object F: TTestForm\n  object P: TRangedPart\n    Block = {\n      0102\n      03}\n  end\nend");
        ADD_FAILURE() << "read";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message().str(),
                  "Error reading form description at line 3: Invalid property value for Block: Stream read error");
    }
    TOwned<TTestForm> form = Read("object F: TTestForm\n  object P: TRangedPart\n    Block = {0102}\n  end\nend");
    EXPECT_EQ(static_cast<TRangedPart*>(form->FindComponent("P"))->block, (std::vector<char>{1, 2}));
    UnRegisterClass(TRangedPart::StaticClass());
}

TEST_F(FilerTest, APropertyGivenTwiceIsSetTwiceAndTheLastValueWins)
{
    // The class library reads the same way; the description keeps meaning what it says
    // because each value is one the object takes.
    RegisterClass(TRangedPart::StaticClass());
    TOwned<TTestForm> form = Read("object F: TTestForm\n  object P: TRangedPart\n    Size = 3\n    Size = 7\n  end\n"
                                  "  object W: TWidget\n    Caption = 'a'\n    Caption = 'b'\n  end\nend");
    auto* part = static_cast<TRangedPart*>(form->FindComponent("P"));
    EXPECT_EQ(part->Size(), 7);
    EXPECT_EQ(part->sets, 2);
    EXPECT_EQ(static_cast<TWidget*>(form->FindComponent("W"))->Caption(), "b");
    UnRegisterClass(TRangedPart::StaticClass());
}
