// The engine's state at creation, its change events, the update counter, its layout, its
// measuring and drawing with and without a window, and its properties in a form
// description.
#include "EngineFixture.h"

#include "tests/support/FormText.h"

namespace {

// Records the engine's events in order.
class TEditEvents : public TObject {
    VENDARO_CLASS(TEditEvents, TObject)
public:
    void Attach(TOBLBaseEdit* edit)
    {
        edit->SetOnChange(TNotifyEvent(this, &TEditEvents::Change));
        edit->SetOnModified(TNotifyEvent(this, &TEditEvents::Modified));
        edit->SetOnTextChangedAt(TOBLTextChangeEvent(this, &TEditEvents::ChangedAt));
        edit->SetOnCursorPosChanged(TNotifyEvent(this, &TEditEvents::Cursor));
    }
    void Change(TObject*) { log.push_back("change"); }
    void Modified(TObject*) { log.push_back("modified"); }
    void ChangedAt(TObject*, int at) { log.push_back("at " + std::to_string(at)); }
    void Cursor(TObject*) { log.push_back("cursor"); }
    std::vector<std::string> log;
};

class ModelTest : public EngineFixture {};

TEST_F(ModelTest, CreatedEmptyWithItsDefaults)
{
    TEngineEdit* edit = NewEdit();
    EXPECT_EQ(edit->Height(), 21);
    EXPECT_EQ(edit->Bevel()->Mode(), bmWindows);
    EXPECT_EQ(edit->Cursor(), crIBeam);
    EXPECT_EQ(edit->Color(), clWhite);
    EXPECT_TRUE(edit->TabStop());
    EXPECT_FALSE(edit->ControlStyle().Contains(csAcceptsControls));
    EXPECT_EQ(edit->Caret()->GetPos(1), 1);
    EXPECT_EQ(edit->Str(), "");
    EXPECT_EQ(edit->CursorPos(), 1);
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->MaxLength(), 0);
    EXPECT_EQ(edit->Alignment(), taLeftJustify);
    EXPECT_EQ(edit->CharCase(), ecNormal);
    EXPECT_TRUE(edit->HideSelection());
    EXPECT_FALSE(edit->ReadOnly());
    EXPECT_FALSE(edit->Modified());
    EXPECT_EQ(edit->HighlightBack(), clHighlight);
    EXPECT_EQ(edit->HighlightText(), clHighlightText);
    EXPECT_EQ(edit->Delimiters().count(), 1u);
    EXPECT_TRUE(edit->IsDelimiter(' '));
}

TEST_F(ModelTest, AChangeFiresItsEventsOnce)
{
    TEngineEdit* edit = NewEdit("abcdef");
    TEditEvents events;
    events.Attach(edit);
    edit->Select(3, 2);
    edit->Type("X");
    EXPECT_EQ(events.log, (std::vector<std::string>{"modified", "at 3", "change", "cursor"}));
    EXPECT_TRUE(edit->Modified());
    events.log.clear();
    edit->Type("Y");
    EXPECT_EQ(events.log, (std::vector<std::string>{"at 4", "change", "cursor"}));
}

TEST_F(ModelTest, SetTextOfTheSameTextDoesNothing)
{
    TEngineEdit* edit = NewEdit("abc");
    edit->SetCursorPos(3);
    TEditEvents events;
    events.Attach(edit);
    const int newTexts = edit->newTexts;
    edit->SetText("abc");
    EXPECT_TRUE(events.log.empty());
    EXPECT_EQ(edit->newTexts, newTexts);
    EXPECT_EQ(edit->CursorPos(), 3);
}

TEST_F(ModelTest, SetTextMovesTheCursorHomeAndIsNoEdit)
{
    TEngineEdit* edit = NewEdit("abc");
    edit->SetCursorPos(3);
    TEditEvents events;
    events.Attach(edit);
    const int newTexts = edit->newTexts;
    edit->SetText("wxyz");
    EXPECT_EQ(edit->CursorPos(), 1);
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_FALSE(edit->Modified());
    EXPECT_EQ(edit->newTexts, newTexts + 1);
    EXPECT_EQ(events.log, std::vector<std::string>{"cursor"});
}

TEST_F(ModelTest, SetTextIsCutToMaxLength)
{
    TEngineEdit* edit = NewEdit();
    edit->SetMaxLength(3);
    edit->SetText("abcdef");
    EXPECT_EQ(edit->Str(), "abc");
    // Lowering the limit does not cut the text.
    edit->SetMaxLength(1);
    EXPECT_EQ(edit->Str(), "abc");
}

TEST_F(ModelTest, AReadOnlyEditIgnoresEveryChange)
{
    TEngineEdit* edit = NewEdit("abc");
    edit->SetReadOnly(true);
    TEditEvents events;
    events.Attach(edit);
    edit->SelectAll();
    edit->Type("x");
    edit->ClearSelection();
    edit->Insert(1, "y");
    EXPECT_EQ(edit->Str(), "abc");
    EXPECT_FALSE(edit->Modified());
    EXPECT_FALSE(edit->CanUndo());
    EXPECT_TRUE(events.log.empty());
}

TEST_F(ModelTest, SetModifiedTellsOnlyAChange)
{
    TEngineEdit* edit = NewEdit();
    TEditEvents events;
    events.Attach(edit);
    edit->SetModified(false);
    edit->SetModified(true);
    edit->SetModified(true);
    EXPECT_EQ(events.log, std::vector<std::string>{"modified"});
}

TEST_F(ModelTest, ABalancedUpdateNeverRedraws)
{
    TEngineEdit* edit = NewEdit("abc");
    const int draws = edit->draws;
    edit->BeginUpdate();
    edit->SetCursorPos(2);
    edit->Type("x");
    edit->EndUpdate();
    EXPECT_EQ(edit->draws, draws);
    EXPECT_FALSE(edit->Updating());
    // An EndUpdate without its BeginUpdate redraws.
    edit->EndUpdate();
    EXPECT_EQ(edit->draws, draws + 1);
}

TEST_F(ModelTest, WithoutAWindowNothingIsDrawnOrMade)
{
    TEngineEdit edit(nullptr);
    edit.SetText("hello world");
    edit.SelectAll();
    edit.Type("a");
    edit.EndUpdate();
    edit.SetAlignment(taCenter);
    edit.SetSelLength(1);
    EXPECT_GT(edit.RowHeight("Qp"), 0);
    EXPECT_GT(edit.RowWidth("Qp"), 0);
    EXPECT_EQ(edit.draws, 0);
    EXPECT_EQ(edit.carets, 0);
    EXPECT_FALSE(edit.HandleAllocated());
    EXPECT_EQ(edit.Str(), "a");
}

TEST_F(ModelTest, LayoutInsideTheBevel)
{
    // Without a window yet: no WM_SIZE has laid the edit out.
    auto* edit = new TEngineEdit(form_);
    edit->SetWidth(160);
    EXPECT_EQ(V(edit->PaintRect()), (std::vector<int>{-1, -1, -1, -1}));
    edit->Bevel()->SetMode(bmEdge);
    const int ext = edit->BevelExt();
    ASSERT_GT(ext, 0);
    edit->SetupRects();
    const TRect client = edit->ClientRect();
    EXPECT_EQ(V(edit->InnerRect()), (std::vector<int>{ext, ext, client.right - ext, client.bottom - ext}));
    EXPECT_EQ(V(edit->PaintRect()), V(edit->InnerRect()));
    EXPECT_EQ(V(edit->TextRect()), (std::vector<int>{ext + 1, ext + 1, client.right - ext - 1, client.bottom - ext - 1}));
}

TEST_F(ModelTest, NoLayoutWhileUpdating)
{
    // Without a window yet: no WM_SIZE has laid the edit out.
    auto* edit = new TEngineEdit(form_);
    edit->SetWidth(160);
    edit->BeginUpdate();
    edit->SetupRects();
    EXPECT_EQ(V(edit->PaintRect()), (std::vector<int>{-1, -1, -1, -1}));
    edit->EndUpdate();
    // Making the background lays out whatever the counter says.
    edit->BeginUpdate();
    edit->CreateBack();
    EXPECT_EQ(V(edit->PaintRect()), V(edit->InnerRect()));
    ASSERT_NE(edit->BackBuffer(), nullptr);
    EXPECT_EQ(edit->BackBuffer()->Width(), edit->Width());
    EXPECT_EQ(edit->BackBuffer()->Height(), edit->Height());
    edit->EndUpdate();
}

TEST_F(ModelTest, RowHeightAddsTheShadowOfShadowedStyles)
{
    TEngineEdit* edit = NewEdit();
    const int plain = edit->RowHeight("Qp");
    edit->Font3D()->SetDepth(1, 3);
    for (TOBLThreeDStyle style : {tdShadow, tdSunkenShadow, tdRaisedShadow}) {
        edit->Font3D()->SetStyle(style);
        EXPECT_EQ(edit->RowHeight("Qp"), plain + 3);
    }
    edit->Font3D()->SetStyle(tdSunken);
    EXPECT_EQ(edit->RowHeight("Qp"), plain);
}

TEST_F(ModelTest, RowWidthGrowsWithTheText)
{
    TEngineEdit* edit = NewEdit();
    EXPECT_EQ(edit->RowWidth(""), 0);
    EXPECT_LT(edit->RowWidth("ab"), edit->RowWidth("abcd"));
}

TEST_F(ModelTest, Font3DChangesReachOnChange)
{
    TEngineEdit* edit = NewEdit();
    TEditEvents events;
    events.Attach(edit);
    edit->Font3D()->SetStyle(tdRaised);
    EXPECT_EQ(events.log, std::vector<std::string>{"change"});
}

TEST_F(ModelTest, GetSelTextBufWritesNoMoreThanItsSize)
{
    TEngineEdit* edit = NewEdit("abcdef");
    edit->Select(2, 4);
    char buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(edit->GetSelTextBuf(buffer, 3), 2);
    EXPECT_EQ(std::string(buffer, 4), std::string("bc\0#", 4));
    EXPECT_EQ(edit->GetSelTextBuf(buffer, 8), 4);
    EXPECT_STREQ(buffer, "bcde");
    EXPECT_EQ(edit->GetSelTextBuf(buffer, 0), 0);
    EXPECT_EQ(edit->GetSelTextBuf(nullptr, 8), 0);
}

TEST_F(ModelTest, CurrentWordAndWordCount)
{
    TEngineEdit* edit = NewEdit("  one two  three ");
    EXPECT_EQ(edit->CountWords(), 3);
    edit->SetCursorPos(8);
    EXPECT_EQ(edit->GetCurrentWord().str(), "two");
    edit->SetCursorPos(2);
    EXPECT_EQ(edit->GetCurrentWord().str(), "");
}

TEST_F(ModelTest, TheControlsTextIsTheEditsText)
{
    TEngineEdit* edit = NewEdit();
    edit->SetTextProperty("abc");
    EXPECT_EQ(edit->Str(), "abc");
    EXPECT_EQ(edit->Caption().str(), "abc");
}

// Counts the changes of its edit.
class TEngineHost : public TForm {
    VENDARO_CLASS(TEngineHost, TForm)
public:
    explicit TEngineHost(TComponent* owner) : TForm(owner) {}
    void EditChange(TObject*) { ++changes; }
    static void Publish(TClassBuilder<TEngineHost>& c) { c.Method("EditChange", &TEngineHost::EditChange); }
    int changes = 0;
};

class ModelStreamingTest : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        RegisterClass(TForm::StaticClass());
        RegisterClass(TEngineEdit::StaticClass());
        RegisterClass(TEngineHost::StaticClass());
        form_->SetName("Host");
    }
    void TearDown() override
    {
        UnRegisterClass(TEngineHost::StaticClass());
        UnRegisterClass(TEngineEdit::StaticClass());
        EngineFixture::TearDown();
    }
};

TEST_F(ModelStreamingTest, DefaultsStayOutAndChangesComeBack)
{
    TEngineEdit* edit = NewEdit();
    edit->SetName("Edit");
    const std::string all = WriteFormText(form_);
    const std::string plain = all.substr(all.find("object Edit"));
    for (const char* name : {"HighlightBack", "HighlightText", "FocusOnMouseAbove", "    Color ="})
        EXPECT_EQ(plain.find(name), std::string::npos) << name << "\n" << plain;
    edit->SetHighlightBack(clRed);
    edit->SetHighlightText(clYellow);
    edit->SetBoolean(6, true);
    edit->SetColor(clAqua);
    edit->Caret()->SetStyle(csBlock);
    const std::string text = WriteFormText(form_);
    form_->SetName("Old");
    TOwned<TComponent> copy(ReadFormText(text));
    auto* back = dynamic_cast<TEngineEdit*>(copy->FindComponent("Edit"));
    ASSERT_NE(back, nullptr) << text;
    EXPECT_EQ(back->HighlightBack(), clRed);
    EXPECT_EQ(back->HighlightText(), clYellow);
    EXPECT_TRUE(back->FocusOnMouseAbove());
    EXPECT_EQ(back->Color(), clAqua);
    EXPECT_EQ(back->Caret()->Style(), csBlock);
    EXPECT_EQ(back->Bevel()->Mode(), bmWindows);
}

TEST_F(ModelStreamingTest, SettingsReadFromTheDescriptionAreNoChange)
{
    TStringStream in{AnsiString("object Reader: TEngineHost\n"
                                "  object Edit: TEngineEdit\n"
                                "    OnChange = EditChange\n"
                                "    Bevel.Mode = bmEdge\n"
                                "  end\n"
                                "end\n")};
    TOwned<TComponent> read(in.ReadComponent(nullptr));
    auto* host = dynamic_cast<TEngineHost*>(read.get());
    ASSERT_NE(host, nullptr);
    auto* edit = dynamic_cast<TEngineEdit*>(host->FindComponent("Edit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Bevel()->Mode(), bmEdge);
    EXPECT_EQ(host->changes, 0);
    edit->Bevel()->SetMode(bmCustom);
    EXPECT_EQ(host->changes, 1);
}

} // namespace
