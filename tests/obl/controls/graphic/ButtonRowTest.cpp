// The embedded buttons: each item keeps one speed button on its owner control, numbered by
// the item's place; clicks reach the item's event and then the owner; the settings travel
// through a form description with the owner.
#include "GraphicFixture.h"

#include "obl/controls/graphic/oblsbtn.h"

#include <functional>
#include <map>

namespace {

// An owner control that publishes its buttons and records what the collection tells it.
class TButtonRow : public TCustomControl, public TOBLSpecialButtonsHost {
    VENDARO_CLASS(TButtonRow, TCustomControl)
public:
    explicit TButtonRow(TComponent* owner, bool notify = true)
        : TCustomControl(owner), buttons_(new TOBLSpecialButtons(this, notify))
    {
    }

    TOBLSpecialButtons* Buttons() const { return buttons_.get(); }
    void SetButtons(TOBLSpecialButtons* value) { buttons_->Assign(value); }
    // Frees the collection, and so its buttons, before the control.
    void DropButtons() { buttons_.reset(); }

    void SpecialButtonsChanged() override
    {
        ++changes;
        // Every item has its button on this control by now: the buttons are its children.
        told.push_back({ControlCount(), buttons_->Count()});
    }
    void SpecialButtonClicked(TObject* btn, int index) override
    {
        calls.push_back("owner " + std::to_string(index) + (btn == buttons_->GetItem(index)->Btn() ? " btn" : " ?"));
    }

    static void Publish(TClassBuilder<TButtonRow>& c) { c.Property("Buttons", &TButtonRow::Buttons, &TButtonRow::SetButtons); }

    int changes = 0;
    // Per change: the children and the items there were.
    std::vector<std::pair<int, int>> told;
    std::vector<std::string> calls;

private:
    TOwned<TOBLSpecialButtons> buttons_;
};

// A form with a published handler for the items' OnClick.
class TRowForm : public TForm {
    VENDARO_CLASS(TRowForm, TForm)
public:
    explicit TRowForm(TComponent* owner) : TForm(owner) {}
    void ItemClick(TObject* sender, int index) { clicks.push_back(index); }
    static void Publish(TClassBuilder<TRowForm>& c) { c.Method("ItemClick", &TRowForm::ItemClick); }

    std::vector<int> clicks;
};

// Records the items' OnClick, with the sender's kind.
class TItemLog : public TObject {
    VENDARO_CLASS(TItemLog, TObject)
public:
    void ItemClick(TObject* sender, int index)
    {
        calls.push_back("item " + std::to_string(index) + (dynamic_cast<TOBLSpecialButton*>(sender) ? " item" : " ?"));
    }
    std::vector<std::string> calls;
};

// Counts the buttons freed, by free notification.
class TFreeCounter : public TComponent {
    VENDARO_CLASS(TFreeCounter, TComponent)
public:
    explicit TFreeCounter(TComponent* owner = nullptr) : TComponent(owner) {}
    void Watch(TComponent* c) { c->FreeNotification(this); }
    std::map<TComponent*, int> freed;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == opRemove)
            ++freed[c];
    }
};

class SpecialButtonsTest : public GraphicFixture {
protected:
    TButtonRow* NewRow(int count, bool notify = true)
    {
        auto* row = new TButtonRow(form_, notify);
        row->SetParent(form_);
        row->SetBounds(10, 10, 200, 40);
        for (int i = 0; i < count; ++i) {
            TOBLSpecialButton* item = row->Buttons()->Add();
            item->SetCaption(AnsiString(("B" + std::to_string(i)).c_str()));
            item->Btn()->SetBounds(i * 30, 5, 28, 24);
        }
        Pump();
        return row;
    }
    static std::vector<std::string> Order(TOBLSpecialButtons* buttons)
    {
        std::vector<std::string> out;
        for (int i = 0; i < buttons->Count(); ++i) {
            TOBLSpeedButton* btn = buttons->GetItem(i)->Btn();
            out.push_back(std::string(btn->Caption().c_str()) + "@" + std::to_string(btn->Tag()));
        }
        return out;
    }
    TItemLog items;
};

TEST_F(SpecialButtonsTest, AnItemCreatesItsSpeedButtonOnTheOwner)
{
    TButtonRow* row = NewRow(2);
    TOBLSpecialButton* item = row->Buttons()->GetItem(1);
    TOBLSpeedButton* btn = item->Btn();
    ASSERT_NE(btn, nullptr);
    EXPECT_EQ(btn->ClassType(), TOBLSpeedButton::StaticClass());
    EXPECT_EQ(btn->Owner(), row);
    EXPECT_EQ(btn->Parent(), row);
    EXPECT_EQ(btn->Tag(), 1);
    EXPECT_EQ(btn->Color(), clBtnFace);
    EXPECT_EQ(btn->Cursor(), crArrow);
    EXPECT_TRUE(btn->Enabled());
    EXPECT_EQ(item->Cursor(), crArrow);
    EXPECT_EQ(item->GroupIndex(), 0);
    EXPECT_TRUE(item->Enabled());
    EXPECT_TRUE(item->GetParentFont());
    EXPECT_EQ(btn->Caption(), "B1");
    EXPECT_EQ(row->Buttons()->OwnerControl(), row);
}

TEST_F(SpecialButtonsTest, SettingsPassToTheButton)
{
    TButtonRow* row = NewRow(1);
    TOBLSpecialButton* item = row->Buttons()->GetItem(0);
    item->SetHint("Cerca");
    item->SetEnabled(false);
    item->SetCursor(crIBeam);
    item->SetInteger(3);
    item->Font()->SetColor(clRed);
    item->FontFX()->SetAngle(90);
    item->Layout()->SetSpacing(9);
    TOBLSpeedButton* btn = item->Btn();
    EXPECT_EQ(btn->Hint(), "Cerca");
    EXPECT_FALSE(btn->Enabled());
    EXPECT_EQ(btn->Cursor(), crIBeam);
    EXPECT_EQ(btn->GroupIndex(), 3);
    EXPECT_EQ(btn->Font()->Color(), clRed);
    EXPECT_EQ(btn->FontFX()->Angle(), 90);
    EXPECT_EQ(btn->ButtonLayout()->Spacing(), 9);
}

TEST_F(SpecialButtonsTest, ReorderingRemovingAndInsertingRenumberTheTags)
{
    TButtonRow* row = NewRow(4);
    TOBLSpecialButtons* buttons = row->Buttons();
    buttons->GetItem(3)->SetIndex(0);
    EXPECT_EQ(Order(buttons), (std::vector<std::string>{"B3@0", "B0@1", "B1@2", "B2@3"}));
    buttons->Delete(1);
    EXPECT_EQ(Order(buttons), (std::vector<std::string>{"B3@0", "B1@1", "B2@2"}));
    buttons->Insert(1)->SetCaption("N");
    EXPECT_EQ(Order(buttons), (std::vector<std::string>{"B3@0", "N@1", "B1@2", "B2@3"}));
    buttons->BeginUpdate();
    buttons->GetItem(0)->SetIndex(3);
    buttons->EndUpdate();
    EXPECT_EQ(Order(buttons), (std::vector<std::string>{"N@0", "B1@1", "B2@2", "B3@3"}));
}

TEST_F(SpecialButtonsTest, HoweverAnItemIsMadeTheOwnerHearsOfItOnceItIsWhole)
{
    TButtonRow* source = NewRow(3);
    struct Way {
        const char* name;
        std::function<void(TOBLSpecialButtons*)> make;
        int items;
    };
    const Way ways[] = {
        {"Add", [](TOBLSpecialButtons* b) { b->Add(); }, 3},
        {"Insert", [](TOBLSpecialButtons* b) { b->Insert(0); }, 3},
        {"the item's constructor", [](TOBLSpecialButtons* b) { new TOBLSpecialButton(b); }, 3},
        {"the item's constructor inside an update",
         [](TOBLSpecialButtons* b) {
             b->BeginUpdate();
             new TOBLSpecialButton(b);
             new TOBLSpecialButton(b);
             b->EndUpdate();
         },
         4},
        {"the collection's Assign", [&](TOBLSpecialButtons* b) { b->Assign(source->Buttons()); }, 3},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        TButtonRow* row = NewRow(2);
        row->told.clear();
        way.make(row->Buttons());
        ASSERT_EQ(row->Buttons()->Count(), way.items);
        ASSERT_FALSE(row->told.empty()) << "the owner is told";
        for (const auto& [children, items] : row->told)
            EXPECT_EQ(children, items) << "told while an item had no button";
        EXPECT_EQ(row->told.back(), (std::pair<int, int>{way.items, way.items}));
        for (int i = 0; i < way.items; ++i)
            EXPECT_EQ(row->Buttons()->GetItem(i)->Btn()->Tag(), i);
        row->Free();
    }
}

TEST_F(SpecialButtonsTest, EveryButtonIsFreedOnceWhoeverGoesFirst)
{
    struct Case {
        const char* name;
        void (*free)(TButtonRow* row);
    };
    const Case cases[] = {
        {"the collection first", [](TButtonRow* row) {
             row->DropButtons();
             FreeObject(row);
         }},
        {"the owner first, the collection with it", [](TButtonRow* row) { FreeObject(row); }},
        {"one button by hand, then the owner", [](TButtonRow* row) {
             FreeObject(row->Buttons()->GetItem(1)->Btn());
             EXPECT_EQ(row->Buttons()->GetItem(1)->Btn(), nullptr);
             FreeObject(row);
         }},
        {"the owner's components, then the owner", [](TButtonRow* row) {
             row->DestroyComponents();
             FreeObject(row);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TButtonRow* row = NewRow(3);
        TFreeCounter counter;
        std::vector<TComponent*> btns;
        for (int i = 0; i < 3; ++i) {
            btns.push_back(row->Buttons()->GetItem(i)->Btn());
            counter.Watch(btns.back());
        }
        c.free(row);
        for (TComponent* btn : btns)
            EXPECT_EQ(counter.freed[btn], 1);
    }
}

TEST_F(SpecialButtonsTest, ParentFontSurvivesChangesOfGlyphLayoutAndEffect)
{
    TBitmap glyph;
    glyph.SetSize(8, 8);
    struct Case {
        const char* name;
        std::function<void(TOBLSpecialButton*)> change;
        bool parentFont;
    };
    const Case cases[] = {
        {"glyph", [&](TOBLSpecialButton* item) { item->SetGlyph(&glyph); }, true},
        {"layout", [](TOBLSpecialButton* item) { item->Layout()->SetSpacing(7); }, true},
        {"caption effect", [](TOBLSpecialButton* item) { item->FontFX()->SetTracing(2); }, true},
        {"caption", [](TOBLSpecialButton* item) { item->SetCaption("X"); }, true},
        {"font", [](TOBLSpecialButton* item) { item->Font()->SetSize(14); }, false},
    };
    TButtonRow* row = NewRow(0);
    row->Font()->SetColor(clNavy);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOBLSpecialButton* item = row->Buttons()->Add();
        c.change(item);
        EXPECT_EQ(item->GetParentFont(), c.parentFont);
        EXPECT_EQ(item->Btn()->Font()->Color() == clNavy, c.parentFont);
    }
}

TEST_F(SpecialButtonsTest, AClickReachesTheItemsEventThenTheOwner)
{
    TButtonRow* row = NewRow(3);
    for (int i = 0; i < 3; ++i)
        row->Buttons()->GetItem(i)->SetOnClick(TOBLOnCustomBtnClick(&items, &TItemLog::ItemClick));
    row->Buttons()->GetItem(2)->SetIndex(0);
    row->calls.clear();
    // The button of the item now at index 1 stands at x = 0.
    ClickAt(row, 10, 15);
    std::vector<std::string> all = items.calls;
    all.insert(all.end(), row->calls.begin(), row->calls.end());
    EXPECT_EQ(all, (std::vector<std::string>{"item 1 item", "owner 1 btn"}));
    row->Buttons()->GetItem(0)->SetOnClick(nullptr);
    items.calls.clear();
    row->calls.clear();
    ClickAt(row, 70, 15);
    EXPECT_TRUE(items.calls.empty());
    EXPECT_EQ(row->calls, std::vector<std::string>{"owner 0 btn"});
}

TEST_F(SpecialButtonsTest, OnlyANotifiedOwnerHearsOfChanges)
{
    for (bool notify : {true, false}) {
        SCOPED_TRACE(notify);
        TButtonRow* row = NewRow(2, notify);
        row->changes = 0;
        row->Buttons()->GetItem(0)->Font()->SetStyle(TFontStyles{fsBold});
        row->Buttons()->GetItem(1)->SetIndex(0);
        EXPECT_EQ(row->changes, notify ? 2 : 0);
        // The tags follow the items whether the owner hears of it or not.
        EXPECT_EQ(row->Buttons()->GetItem(0)->Btn()->Tag(), 0);
    }
}

TEST_F(SpecialButtonsTest, AssignCopiesTheSettingsAndTheEvent)
{
    TButtonRow* row = NewRow(2);
    TOBLSpecialButton* from = row->Buttons()->GetItem(0);
    TOBLSpecialButton* to = row->Buttons()->GetItem(1);
    from->SetHint("H");
    from->SetEnabled(false);
    from->SetCursor(crCross);
    from->SetInteger(5);
    from->Font()->SetName("Arial");
    from->SetParentFont(false);
    from->FontFX()->SetAngle(30);
    from->Layout()->SetSpacing(6);
    from->SetOnClick(TOBLOnCustomBtnClick(&items, &TItemLog::ItemClick));
    to->Assign(from);
    EXPECT_EQ(to->Caption(), "B0");
    EXPECT_EQ(to->Hint(), "H");
    EXPECT_FALSE(to->Enabled());
    EXPECT_EQ(to->Cursor(), crCross);
    EXPECT_EQ(to->GroupIndex(), 5);
    EXPECT_EQ(to->Btn()->Font()->Name(), "Arial");
    EXPECT_FALSE(to->GetParentFont());
    EXPECT_EQ(to->Btn()->FontFX()->Angle(), 30);
    EXPECT_EQ(to->Layout()->Spacing(), 6);
    EXPECT_TRUE(to->OnClick() == from->OnClick());
    // Taking the parent's font again after the font was copied.
    from->SetParentFont(true);
    to->Assign(from);
    EXPECT_TRUE(to->GetParentFont());
}

TEST_F(SpecialButtonsTest, TheCollectionTravelsThroughAFormDescription)
{
    RegisterClasses({TRowForm::StaticClass(), TButtonRow::StaticClass()});
    TOwned<TRowForm> host(new TRowForm(nullptr));
    host->SetName("Host");
    auto* row = new TButtonRow(host.get());
    row->SetName("Row");
    row->SetParent(host.get());
    TOBLSpecialButton* first = row->Buttons()->Add();
    first->SetCaption("Apri");
    first->SetHint("Apre");
    first->SetCursor(crIBeam);
    first->SetInteger(2);
    first->FontFX()->SetTracing(3);
    first->SetOnClick(TOBLOnCustomBtnClick(host.get(), &TRowForm::ItemClick));
    TOBLSpecialButton* second = row->Buttons()->Add();
    second->SetEnabled(false);
    second->Font()->SetName("Arial");
    TBitmap glyph;
    glyph.SetSize(4, 3);
    glyph.Canvas()->SetPixels(1, 1, clRed);
    second->SetGlyph(&glyph);

    TStringStream out;
    out.WriteComponent(host.get());
    const std::string text = out.DataString().c_str();
    EXPECT_NE(text.find("Buttons = <"), std::string::npos) << text;
    EXPECT_NE(text.find("OnClick = ItemClick"), std::string::npos) << text;
    // The buttons themselves belong to the row and are not written as components.
    EXPECT_EQ(text.find("TOBLSpeedButton"), std::string::npos) << text;

    TOwned<TRowForm> copy(new TRowForm(nullptr));
    TStringStream in(AnsiString(text.c_str()));
    in.ReadComponent(copy.get());
    auto* read = dynamic_cast<TButtonRow*>(copy->FindComponent("Row"));
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->Buttons()->Count(), 2);
    TOBLSpecialButton* a = read->Buttons()->GetItem(0);
    TOBLSpecialButton* b = read->Buttons()->GetItem(1);
    EXPECT_EQ(a->Btn()->Caption(), "Apri");
    EXPECT_EQ(a->Btn()->Hint(), "Apre");
    EXPECT_EQ(a->Btn()->Cursor(), crIBeam);
    EXPECT_EQ(a->Btn()->GroupIndex(), 2);
    EXPECT_EQ(a->Btn()->FontFX()->Tracing(), 3);
    EXPECT_TRUE(a->GetParentFont());
    EXPECT_EQ(a->OnClick().Method().Data, copy.get());
    EXPECT_FALSE(b->Btn()->Enabled());
    EXPECT_FALSE(b->GetParentFont());
    EXPECT_EQ(b->Btn()->Font()->Name(), "Arial");
    EXPECT_EQ(b->Glyph()->Width(), 4);
    EXPECT_EQ(b->Glyph()->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(b->Btn()->Tag(), 1);
    EXPECT_EQ(read->ComponentCount(), 2);

    TStringStream again;
    again.WriteComponent(copy.get());
    EXPECT_EQ(std::string(again.DataString().c_str()), text);
    UnRegisterClass(TButtonRow::StaticClass());
    UnRegisterClass(TRowForm::StaticClass());
}

} // namespace
