// The button in form descriptions: its defaults, a round trip of every published property,
// the global-container list as "Internal" and the legacy "Style".
#include "tests/obl/controls/buttons/ButtonFixture.h"

#include "platform/classlib/Menus.h"
#include "tests/support/FormText.h"

#include <algorithm>
#include <map>
#include <string>

namespace {

class TButtonHost : public TForm {
    VENDARO_CLASS(TButtonHost, TForm)
public:
    explicit TButtonHost(TComponent* owner) : TForm(owner) {}
    void ButtonEnter(TObject*) {}
    void ButtonExit(TObject*) {}
    void ButtonDropDown(TObject*) {}
    void ButtonClick(TObject*) {}
    static void Publish(TClassBuilder<TButtonHost>& c)
    {
        c.Method("ButtonEnter", &TButtonHost::ButtonEnter);
        c.Method("ButtonExit", &TButtonHost::ButtonExit);
        c.Method("ButtonDropDown", &TButtonHost::ButtonDropDown);
        c.Method("ButtonClick", &TButtonHost::ButtonClick);
    }
};

std::string BitmapText(TBitmap* b)
{
    std::string text = std::to_string(b->Width()) + "x" + std::to_string(b->Height());
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x) text += " " + std::to_string(b->Canvas()->Pixels(x, y));
    return text;
}

// Every published property's value as text; sub-objects by their own properties,
// components and methods by name.
void Describe(TObject* object, const std::string& prefix, std::map<std::string, std::string>& out)
{
    for (PPropInfo p : GetPropList(object->ClassType())) {
        const std::string name = prefix + p->Name.c_str();
        switch (p->Kind()) {
        case tkClass: {
            TObject* value = GetObjectProp(object, p);
            if (!value)
                out[name] = "nil";
            else if (auto* component = dynamic_cast<TComponent*>(value))
                out[name] = component->Name().c_str();
            else if (auto* bitmap = dynamic_cast<TBitmap*>(value))
                out[name] = BitmapText(bitmap);
            else
                Describe(value, name + ".", out);
            break;
        }
        case tkMethod: {
            const TMethod m = GetMethodProp(object, p);
            const TPublishedMethod* method = m.Data ? m.Data->ClassType()->FindMethod(m.Code) : nullptr;
            out[name] = method ? method->Name.c_str() : "nil";
            break;
        }
        case tkLString:
        case tkString: out[name] = GetStrProp(object, p).c_str(); break;
        case tkFloat: out[name] = std::to_string(GetFloatProp(object, p)); break;
        default: out[name] = std::to_string(GetOrdProp(object, p)); break;
        }
    }
}

std::map<std::string, std::string> Described(TObject* object)
{
    std::map<std::string, std::string> out;
    Describe(object, "", out);
    return out;
}

class Streaming : public ButtonFixture {
protected:
    void SetUp() override
    {
        ButtonFixture::SetUp();
        RegisterClasses({TButtonHost::StaticClass(), TPopupMenu::StaticClass(), TOBLBitmapList::StaticClass()});
        host = new TButtonHost(nullptr);
        host->SetName("Host");
    }
    void TearDown() override
    {
        delete host;
        ButtonFixture::TearDown();
    }
    TOBLButton* HostButton(const char* name)
    {
        auto* b = new TOBLButton(host);
        b->SetName(name);
        b->SetParent(host);
        return b;
    }
    TButtonHost* ReadBack(const std::string& text)
    {
        auto* copy = new TButtonHost(nullptr);
        ReadFormTextInto(copy, text);
        copies.emplace_back(copy);
        return copy;
    }

    TButtonHost* host = nullptr;
    std::vector<TOwned<TButtonHost>> copies;
};

TEST_F(Streaming, AFreshButtonHasItsDefaultsAndWritesOnlyPlaceOrderAndVisible)
{
    TOBLButton* b = HostButton("Fresh");
    const std::map<std::string, std::string> expected = {
        {"About", ""},           {"HideHint", "1"},          {"UseCaption", "1"},      {"ImageList", "nil"},
        {"ImageIndex", "0"},     {"ListIndex", "0"},         {"MultiLine", "0"},       {"NumGlyphs", "1"},
        {"RepeatedClick", "0"},  {"RepeatingInterval", "100"}, {"RepeatingDelay", "500"}, {"ExtStyle", "0"},
        {"Visible", "1"},        {"Width", "75"},            {"Height", "25"},         {"DropDownMenu", "nil"},
        {"DropDownIndent", "0"}, {"DropDownRight", "0"},     {"ParentFont", "1"},      {"ParentColor", "1"},
        {"ParentShowHint", "1"}, {"Enabled", "1"},           {"TabStop", "1"},         {"Cancel", "0"},
        {"Default", "0"},        {"ModalResult", "0"},       {"Glyph", "0x0"},         {"OnMouseEnter", "nil"},
        {"OnMouseExit", "nil"},  {"OnDropDown", "nil"},      {"ButtonLayout.Alignment", "4"},
        {"ButtonLayout.Arrow", "0"}, {"FontFX.Angle", "0"},  {"FontFX.Style", "0"},
    };
    const std::map<std::string, std::string> actual = Described(b);
    for (const auto& [name, value] : expected) {
        ASSERT_TRUE(actual.count(name)) << name << " is published";
        EXPECT_EQ(actual.at(name), value) << name;
    }
    EXPECT_EQ(b->GetState(), bsUp);
    EXPECT_EQ(b->GlyphKind(), gkCustom);
    EXPECT_FALSE(b->Active());

    const std::string text = WriteFormText(host);
    const std::string expectedText = "  object Fresh: TOBLButton\r\n"
                                     "    Left = 0\r\n"
                                     "    Top = 0\r\n"
                                     "    Width = 75\r\n"
                                     "    Height = 25\r\n"
                                     "    Visible = True\r\n"
                                     "    TabOrder = 0\r\n"
                                     "  end\r\n";
    EXPECT_NE(text.find(expectedText), std::string::npos) << text;
}

TEST_F(Streaming, EveryPublishedPropertyComesBackAsItWasWritten)
{
    auto* menu = new TPopupMenu(host);
    menu->SetName("Menu1");
    auto* list = new TOBLBitmapList(host);
    list->SetName("BitmapList1");
    TBitmap strip;
    strip.SetSize(32, 16);
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Rect(0, 0, 32, 16));
    strip.Canvas()->SetPixels(3, 4, clBlue);

    TOBLButton* a = HostButton("WithGlyph");
    a->SetBounds(5, 6, 111, 33);
    a->SetCaption("&Uno");
    a->SetGlyph(&strip);
    a->SetHideHint(false);
    a->SetUseCaption(false);
    a->SetMultiLine(true);
    a->SetRepeatedClick(true);
    a->SetRepeatingInterval(150);
    a->SetRepeatingDelay(300);
    a->SetExtStyle(ubsFlat);
    a->SetVisible(false);
    a->SetEnabled(false);
    a->SetDefault(true);
    a->SetCancel(true);
    a->SetModalResult(mrOk);
    a->SetTabStop(false);
    a->SetShowHint(true);
    a->SetColor(clYellow);
    a->Font()->SetName("Arial");
    a->Font()->SetHeight(-13);
    a->ButtonLayout()->SetAlignment(agTopLeft);
    a->ButtonLayout()->SetArrow(true);
    a->ButtonLayout()->SetSpacing(5);
    a->FontFX()->SetStyle(tdRaised);
    a->FontFX()->SetAngle(90);
    a->SetDropDownMenu(menu);
    a->SetDropDownIndent(4);
    a->SetDropDownRight(true);
    a->SetOnMouseEnter(TNotifyEvent(host, &TButtonHost::ButtonEnter));
    a->SetOnMouseExit(TNotifyEvent(host, &TButtonHost::ButtonExit));
    a->SetOnDropDown(TNotifyEvent(host, &TButtonHost::ButtonDropDown));
    a->SetOnClick(TNotifyEvent(host, &TButtonHost::ButtonClick));
    ASSERT_EQ(a->NumGlyphs(), 2);

    TOBLButton* b = HostButton("WithList");
    b->SetImageList(list);
    b->SetImageIndex(3);
    b->SetListIndex(2);
    b->SetNumGlyphs(3);

    const std::string text = WriteFormText(host);
    EXPECT_EQ(text.find("About"), std::string::npos) << "About is never stored";
    EXPECT_EQ(text.find("Glyph.Data", text.find("WithList")), std::string::npos) << "a list's glyph is not stored";
    TButtonHost* copy = ReadBack(text);
    for (const char* name : {"WithGlyph", "WithList"}) {
        auto* original = static_cast<TOBLButton*>(host->FindComponent(name));
        auto* read = dynamic_cast<TOBLButton*>(copy->FindComponent(name));
        ASSERT_NE(read, nullptr) << name;
        EXPECT_EQ(Described(read), Described(original)) << name;
    }
    EXPECT_EQ(WriteFormText(copy), text);
}

TEST_F(Streaming, AListOfTheGlobalContainerIsStoredAsInternal)
{
    TOBLButton* b = HostButton("Global");
    b->SetImageList(OBLContainer->BitmapList());
    const std::string text = WriteFormText(host);
    EXPECT_NE(text.find("Internal = 'OBLBML30'"), std::string::npos) << text;
    EXPECT_EQ(text.find("ImageList ="), std::string::npos) << text;
    TButtonHost* copy = ReadBack(text);
    EXPECT_EQ(static_cast<TOBLButton*>(copy->FindComponent("Global"))->ImageList(), OBLContainer->BitmapList());
}

TEST_F(Streaming, TheLegacyStyleIsReadAndNeverWritten)
{
    struct Case {
        const char* ident;
        TOBLUserButtonStyle style;
    };
    const Case cases[] = {{"nbsAutoDetect", ubsAutoDetect}, {"nbsWin31", ubsWin31}, {"nbsWin40", ubsWin40},
                          {"nbsOther", ubsFlat}};
    for (const Case& c : cases) {
        const std::string text = std::string("object Host: TButtonHost\n  object Old: TOBLButton\n") +
                                 "    ExtStyle = ubsFlat\n    Style = " + c.ident + "\n  end\nend\n";
        TButtonHost* copy = ReadBack(text);
        auto* old = static_cast<TOBLButton*>(copy->FindComponent("Old"));
        EXPECT_EQ(old->ExtStyle(), c.style) << c.ident;
        const std::string written = WriteFormText(copy);
        EXPECT_EQ(written.find("\n    Style ="), std::string::npos) << written;
        EXPECT_NE(written.find("object Old: TOBLButton"), std::string::npos) << written;
        if (c.style != ubsAutoDetect) {
            const AnsiString line = "    ExtStyle = " + GetEnumName(TypeInfo<TOBLUserButtonStyle>(), static_cast<int>(c.style));
            EXPECT_NE(written.find(line.c_str()), std::string::npos) << written;
        }
    }
}

TEST_F(Streaming, ANegativeSizeIsRefusedNotTurnedIntoZero)
{
    HostButton("Button1");
    const std::string text = WriteFormText(host);
    const std::size_t at = text.find("Width = ");
    ASSERT_NE(at, std::string::npos) << text;
    const int line = static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n')) + 1;
    struct Case {
        const char* property;
        const char* value;
    };
    for (const Case& c : {Case{"Width", "-2147483648"}, Case{"Height", "-1"}}) {
        std::string bad = text;
        bad.insert(at, std::string(c.property) + " = " + c.value + "\n    ");
        TOwned<TButtonHost> copy(new TButtonHost(nullptr));
        try {
            ReadFormTextInto(copy.get(), bad);
            ADD_FAILURE() << c.property << " read:\n" << bad;
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message().str(), "Error reading form description at line " + std::to_string(line) +
                                             ": Invalid property value " + c.value + " for " + c.property);
        }
    }
}

} // namespace
