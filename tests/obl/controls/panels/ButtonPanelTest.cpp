// The button panel: its grid of buttons and its own size for every cell size (zero ones
// included), clicks found by their place, the order of the item's and the panel's events,
// and the panel in a form description.
#include "PanelFixture.h"

#include "obl/controls/panels/OBLButtonPanel.h"

namespace {

// Records the clicks of the items and of the panel, in order.
class TClickLog : public TObject {
    VENDARO_CLASS(TClickLog, TObject)
public:
    void ItemClick(TObject* sender, int index) { events.push_back("item " + std::to_string(index)); }
    void ButtonClick(TObject* sender, TObject* button, int index)
    {
        auto* panel = dynamic_cast<TOBLButtonPanel*>(sender);
        const bool known = panel && index < panel->Buttons()->Count() && panel->Buttons()->GetItem(index)->Btn() == button;
        events.push_back("panel " + std::to_string(index) + (known ? "" : " ?"));
    }
    std::vector<std::string> events;
};

// A form with published handlers for the panel's and the items' events.
class TPanelForm : public TForm {
    VENDARO_CLASS(TPanelForm, TForm)
public:
    explicit TPanelForm(TComponent* owner) : TForm(owner) {}
    void PanelButtonClick(TObject*, TObject*, int) {}
    void FirstClick(TObject*, int) {}
    static void Publish(TClassBuilder<TPanelForm>& c)
    {
        c.Method("PanelButtonClick", &TPanelForm::PanelButtonClick);
        c.Method("FirstClick", &TPanelForm::FirstClick);
    }
};

class ButtonPanelTest : public PanelFixture {
protected:
    // A panel at (10, 10), 100 wide before it fits itself, with the buttons.
    TOBLButtonPanel* NewPanel(int buttons, int width = 20, int height = 20, TOBLBevelMode mode = bmCustom)
    {
        auto* p = AddWindowed<TOBLButtonPanel>(10, 10);
        p->Bevel()->SetMode(mode);
        // Two pixels a side in the custom kind.
        p->Bevel()->SetBevelStyleOuter(bvRaised);
        p->Bevel()->SetBevelStyleInner(bvLowered);
        p->SetBtnSize(1, width);
        p->SetBtnSize(0, height);
        for (int i = 0; i < buttons; ++i) {
            const int index = p->AddButton();
            p->Buttons()->GetItem(index)->SetCaption(AnsiString(std::to_string(index).c_str()));
        }
        // The width chooses the columns.
        p->SetBounds(10, 10, 100, 40);
        Pump();
        return p;
    }
    std::vector<std::vector<int>> ButtonBounds(TOBLButtonPanel* p)
    {
        std::vector<std::vector<int>> out;
        for (int i = 0; i < p->Buttons()->Count(); ++i) out.push_back(V(p->Buttons()->GetItem(i)->Btn()->BoundsRect()));
        return out;
    }
    // Clicks the panel's client point and answers what the log heard.
    std::vector<std::string> ClickPanel(TOBLButtonPanel* p, int x, int y)
    {
        log.events.clear();
        ClickAt(p, x, y);
        MoveAway();
        return log.events;
    }

    TClickLog log;
};

TEST_F(ButtonPanelTest, TheGridAndThePanelsSizeFollowTheCells)
{
    struct Case {
        const char* name;
        int buttons, width, height;
        TOBLBevelMode mode;
        std::vector<int> panel;  // width, height
        std::vector<std::vector<int>> bounds;
    };
    // The custom bevel takes 2 pixels a side; the Windows one is the 2-pixel client edge.
    const Case cases[] = {
        {"7 in a row of 3", 7, 30, 20, bmCustom, {94, 64},
         {{2, 2, 32, 22}, {32, 2, 62, 22}, {62, 2, 92, 22}, {2, 22, 32, 42}, {32, 22, 62, 42}, {62, 22, 92, 42},
          {2, 42, 32, 62}}},
        {"fewer than a row", 2, 30, 20, bmCustom, {64, 24}, {{2, 2, 32, 22}, {32, 2, 62, 22}}},
        {"no buttons: one cell", 0, 30, 20, bmCustom, {34, 24}, {}},
        {"wider than the panel", 2, 150, 10, bmCustom, {154, 24}, {{2, 2, 152, 12}, {2, 12, 152, 22}}},
        {"a window border", 3, 30, 20, bmWindows, {94, 24}, {{0, 0, 30, 20}, {30, 0, 60, 20}, {60, 0, 90, 20}}},
        {"zero width", 3, 0, 20, bmCustom, {4, 4}, {{2, 2, 2, 2}, {2, 2, 2, 2}, {2, 2, 2, 2}}},
        {"zero height", 3, 30, 0, bmCustom, {4, 4}, {{2, 2, 2, 2}, {2, 2, 2, 2}, {2, 2, 2, 2}}},
        {"negative width", 1, -5, 20, bmCustom, {4, 4}, {{2, 2, 2, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOBLButtonPanel* p = NewPanel(c.buttons, c.width, c.height, c.mode);
        EXPECT_EQ((std::vector<int>{p->Width(), p->Height()}), c.panel);
        EXPECT_EQ(ButtonBounds(p), c.bounds);
        FreeObject(p);
    }
}

TEST_F(ButtonPanelTest, AClickIsFoundByItsPlaceForEveryCellSize)
{
    struct Case {
        const char* name;
        int width, height;
        std::vector<std::pair<TPoint, std::string>> clicks;
    };
    const Case cases[] = {
        {"30 x 20", 30, 20,
         {{Point(3, 3), "panel 0"}, {Point(45, 10), "panel 1"}, {Point(91, 21), "panel 2"}, {Point(2, 22), "panel 3"},
          {Point(40, 30), ""}}},
        {"45 x 12", 45, 12,
         {{Point(46, 3), "panel 0"}, {Point(47, 3), "panel 1"}, {Point(47, 13), "panel 1"}, {Point(47, 14), "panel 3"},
          {Point(1, 1), ""}}},
        {"zero width", 0, 20, {{Point(2, 2), ""}, {Point(1, 1), ""}}},
        {"zero height", 30, 0, {{Point(2, 2), ""}, {Point(3, 1), ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOBLButtonPanel* p = NewPanel(4, c.width, c.height);
        p->SetOnButtonClick(TOBLBtnClickEvent(&log, &TClickLog::ButtonClick));
        p->SetBorders();
        for (const auto& [point, heard] : c.clicks) {
            SCOPED_TRACE(std::to_string(point.x) + "," + std::to_string(point.y));
            EXPECT_EQ(ClickPanel(p, point.x, point.y), heard.empty() ? std::vector<std::string>{}
                                                                     : std::vector<std::string>{heard});
        }
        FreeObject(p);
    }
}

TEST_F(ButtonPanelTest, TheItemsEventComesBeforeThePanelsAndIndexesFollowRemovals)
{
    TOBLButtonPanel* p = NewPanel(3, 30, 20);
    for (int i = 0; i < 3; ++i) p->Buttons()->GetItem(i)->SetOnClick(TOBLOnCustomBtnClick(&log, &TClickLog::ItemClick));
    // Without the panel's event the item's alone.
    EXPECT_EQ(ClickPanel(p, 45, 10), std::vector<std::string>{"item 1"});
    p->SetOnButtonClick(TOBLBtnClickEvent(&log, &TClickLog::ButtonClick));
    p->SetBorders();
    EXPECT_EQ(ClickPanel(p, 45, 10), (std::vector<std::string>{"item 1", "panel 1"}));
    // The first button goes: the others move up a cell and answer to their new index.
    p->Buttons()->Delete(0);
    EXPECT_EQ(ClickPanel(p, 5, 10), (std::vector<std::string>{"item 0", "panel 0"}));
    EXPECT_EQ(ClickPanel(p, 45, 10), (std::vector<std::string>{"item 1", "panel 1"}));
    // A button inserted in front renumbers the rest.
    p->InsertButton(0);
    EXPECT_EQ(ClickPanel(p, 5, 10), std::vector<std::string>{"panel 0"});
    EXPECT_EQ(ClickPanel(p, 45, 10), (std::vector<std::string>{"item 1", "panel 1"}));
}

TEST_F(ButtonPanelTest, TheButtonStyleReachesButtonsAddedLater)
{
    TOBLButtonPanel* p = NewPanel(2);
    p->SetBtnStyle(ubsFlat);
    p->AddButton();
    p->InsertButton(0);
    for (int i = 0; i < p->Buttons()->Count(); ++i) EXPECT_EQ(p->Buttons()->GetItem(i)->Btn()->Style(), ubsFlat) << i;
    EXPECT_FALSE(p->GetEmpty());
    p->Buttons()->Clear();
    EXPECT_TRUE(p->GetEmpty());
}

TEST_F(ButtonPanelTest, ThePanelTravelsThroughAFormDescriptionWithoutAWindow)
{
    RegisterClasses({TPanelForm::StaticClass(), TOBLButtonPanel::StaticClass()});
    TOwned<TPanelForm> host(new TPanelForm(nullptr));
    host->SetName("Host");
    auto* p = new TOBLButtonPanel(host.get());
    p->SetName("Tools");
    p->SetParent(host.get());
    p->SetBounds(4, 5, 100, 40);
    p->Bevel()->SetBevelStyleOuter(bvRaised);
    p->Bevel()->SetBevelStyleInner(bvLowered);
    p->SetBtnSize(1, 25);
    p->SetBtnSize(0, 18);
    p->SetBtnStyle(ubsWin31);
    // The window colour is not the panel's default, the button face is.
    p->SetColor(clWindow);
    p->FillObject()->SetFillStyle(sfBrush);
    p->FillObject()->Brush()->SetColor(clYellow);
    p->SetOnButtonClick(TOBLBtnClickEvent(host.get(), &TPanelForm::PanelButtonClick));
    p->AddButton();
    p->Buttons()->GetItem(0)->SetCaption("Primo");
    p->Buttons()->GetItem(0)->SetOnClick(TOBLOnCustomBtnClick(host.get(), &TPanelForm::FirstClick));
    p->AddButton();
    p->Buttons()->GetItem(1)->SetHint("Secondo");

    TStringStream out;
    out.WriteComponent(host.get());
    const std::string text = out.DataString().c_str();
    for (const char* line : {"ButtonHeight = 18", "ButtonWidth = 25", "ButtonStyle = ubsWin31", "Color = clWindow",
                             "OnButtonClick = PanelButtonClick", "OnClick = FirstClick", "Caption = 'Primo'"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    EXPECT_EQ(text.find("TOBLSpeedButton"), std::string::npos) << text;

    TOwned<TPanelForm> copy(new TPanelForm(nullptr));
    TStringStream in(AnsiString(text.c_str()));
    in.ReadComponent(copy.get());
    auto* read = dynamic_cast<TOBLButtonPanel*>(copy->FindComponent("Tools"));
    ASSERT_NE(read, nullptr);
    EXPECT_FALSE(read->HandleAllocated());
    EXPECT_FALSE(copy->HandleAllocated());
    ASSERT_EQ(read->Buttons()->Count(), 2);
    EXPECT_EQ(read->Buttons()->GetItem(0)->Btn()->Caption(), "Primo");
    EXPECT_EQ(read->Buttons()->GetItem(1)->Btn()->Hint(), "Secondo");
    EXPECT_EQ(read->Buttons()->GetItem(1)->Btn()->Style(), ubsWin31);
    EXPECT_EQ(read->FillObject()->Brush()->Color(), clYellow);
    EXPECT_EQ(read->Color(), clWindow);
    // Laid out once read: one column of 25 x 18 cells inside the bevel, as written.
    EXPECT_EQ(V(read->BoundsRect()), (std::vector<int>{4, 5, 4 + 29, 5 + 40}));
    EXPECT_EQ(V(read->Buttons()->GetItem(1)->Btn()->BoundsRect()), (std::vector<int>{2, 20, 27, 38}));

    TStringStream again;
    again.WriteComponent(copy.get());
    EXPECT_EQ(std::string(again.DataString().c_str()), text);
    UnRegisterClass(TOBLButtonPanel::StaticClass());
    UnRegisterClass(TPanelForm::StaticClass());
}

} // namespace
