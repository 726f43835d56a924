// Popup menus and their items, actions linked to controls, and the clipboard object.
#include "tests/platform/classlib/controls/ControlsFixture.h"

#include "platform/classlib/ActnList.h"
#include "platform/classlib/Clipbrd.h"
#include "platform/classlib/Menus.h"

namespace {

struct Handlers : TObject {
    std::vector<std::string> log;
    void Cut(TObject* sender) { log.push_back("cut " + std::string(static_cast<TComponent*>(sender)->Name().c_str())); }
    void Copy(TObject*) { log.push_back("copy"); }
    void Run(TObject* sender) { log.push_back("run " + std::string(static_cast<TComponent*>(sender)->Name().c_str())); }
    void Own(TObject*) { log.push_back("own"); }
};

TMenuItem* NewItem(TComponent* owner, const char* name, const char* caption, TNotifyEvent click = {})
{
    auto* item = new TMenuItem(owner);
    item->SetName(name);
    item->SetCaption(caption);
    item->SetOnClick(click);
    return item;
}

} // namespace

TEST_F(ControlsTest, PopupMenuRunsTheChosenItemAndSkipsSeparatorsAndHiddenItems)
{
    Handlers h;
    TOwned<TPopupMenu> menu(new TPopupMenu(nullptr));
    TMenuItem* cut = NewItem(nullptr, "Cut", "&Cut", TNotifyEvent(&h, &Handlers::Cut));
    TMenuItem* line = NewItem(nullptr, "Line", "-");
    TMenuItem* hidden = NewItem(nullptr, "Hidden", "Hidden");
    TMenuItem* copy = NewItem(nullptr, "Copy", "C&opy", TNotifyEvent(&h, &Handlers::Copy));
    hidden->SetVisible(false);
    copy->SetEnabled(false);
    for (TMenuItem* i : {cut, line, hidden, copy})
        menu->Items()->Add(i);
    EXPECT_TRUE(line->IsLine());
    EXPECT_EQ(copy->MenuIndex(), 3);
    std::vector<std::pair<std::string, UINT>> shown;
    UserSetPopupMenuResponder([&](HMENU m, POINT at) -> UINT {
        for (int i = 0; i < GetMenuItemCount(m); ++i) {
            char text[32] = {};
            GetMenuStringA(m, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            shown.emplace_back(text, GetMenuState(m, static_cast<UINT>(i), MF_BYPOSITION));
        }
        EXPECT_EQ(at.x, 30);
        EXPECT_EQ(at.y, 40);
        return GetMenuItemID(m, 0);
    });
    menu->Popup(30, 40);
    UserSetPopupMenuResponder(nullptr);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].first, "&Cut");
    EXPECT_TRUE(shown[1].second & MF_SEPARATOR);
    EXPECT_EQ(shown[2].first, "C&opy");
    EXPECT_TRUE(shown[2].second & MF_GRAYED);
    EXPECT_EQ(h.log, std::vector<std::string>({"cut Cut"}));
    EXPECT_THROW(menu->Items()->Add(cut), EMenuError);
}

TEST_F(ControlsTest, RightClickShowsTheControlsPopupMenu)
{
    TTestDialog* form = ShowDialog();
    auto* menu = new TPopupMenu(form);
    Handlers h;
    menu->Items()->Add(NewItem(form, "Run", "Run", TNotifyEvent(&h, &Handlers::Run)));
    form->ListBox1()->SetPopupMenu(menu);
    UserSetPopupMenuResponder([](HMENU m, POINT) { return GetMenuItemID(m, 0); });
    TPoint p = CenterOf(form->ListBox1());
    UserInjectClick(p.x, p.y, MouseButton::Right);
    Application->ProcessMessages();
    UserSetPopupMenuResponder(nullptr);
    EXPECT_EQ(h.log, std::vector<std::string>({"run Run"}));
    EXPECT_EQ(menu->PopupComponent(), form->ListBox1());
    menu->Free();
    EXPECT_EQ(form->ListBox1()->PopupMenu(), nullptr);
}

TEST_F(ControlsTest, ActionsDriveTheControlsLinkedToThem)
{
    TTestDialog* form = ShowDialog();
    Handlers h;
    auto* list = new TActionList(form);
    auto* action = new TAction(form);
    action->SetName("StartAction");
    action->SetActionList(list);
    action->SetCaption("&Avvia");
    action->SetOnExecute(TNotifyEvent(&h, &Handlers::Run));
    TButton* button = form->SearchButton();
    button->SetAction(action);
    EXPECT_EQ(button->Caption(), "&Avvia");
    action->SetEnabled(false);
    EXPECT_FALSE(button->Enabled());
    action->SetEnabled(true);
    button->Click();
    EXPECT_EQ(h.log, std::vector<std::string>({"run StartAction"}));
    // A handler of the control's own runs instead of the action.
    button->SetOnClick(TNotifyEvent(&h, &Handlers::Own));
    button->Click();
    EXPECT_EQ(h.log.back(), "own");
    EXPECT_EQ(list->ActionCount(), 1);
    action->Free();
    EXPECT_EQ(button->Action(), nullptr);
    EXPECT_EQ(list->ActionCount(), 0);
}

TEST_F(ControlsTest, ClipboardTextGoesThroughTheWindowSystem)
{
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    Clipboard()->SetAsText("Anagrafica Clienti");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(UserClipboardText(), "Anagrafica Clienti");
    UserSetClipboardText("dal sistema");
    EXPECT_EQ(Clipboard()->AsText(), "dal sistema");
    Clipboard()->Clear();
    EXPECT_EQ(Clipboard()->AsText(), "");
    ClipbrdFinalization();
}
