// The edit engine driven as a user would: a small single-line descendant that draws its
// text and selection with the canvas and answers positions from the canvas text widths,
// on a shown form of a clean window system, with keyboard, mouse and context-menu helpers.
#pragma once

#include "obl/controls/edits/OBLBaseEdit.h"
#include "platform/classlib/Clipbrd.h"
#include "platform/win/user/Clipboard.h"
#include "tests/obl/controls/graphic/GraphicFixture.h"
#include "tests/support/ContextMenu.h"
#include "tests/support/KeyboardInput.h"

#include <functional>
#include <string>
#include <vector>

class TTestEdit : public TOBLBaseEdit {
    VENDARO_CLASS(TTestEdit, TOBLBaseEdit)
public:
    explicit TTestEdit(TComponent* owner) : TOBLBaseEdit(owner) {}

    // The client X of the gap before position P (1-based).
    int XOf(int P)
    {
        Canvas()->Font()->Assign(Font());
        return TextRect().left + Canvas()->TextWidth(::Copy(Text(), 1, P - 1)) - ScrollOffset();
    }
    int draws = 0;
    using TOBLBaseEdit::SelectionHidden;

protected:
    SHORT CalcMouseCol(SHORT) override { return 0; }
    SHORT CalcMouseRow(SHORT) override { return 0; }
    int CalcMousePos(DWORD Point) override
    {
        const int x = static_cast<SHORT>(LOWORD(Point));
        const int length = Text().Length();
        for (int f = 1; f <= length; ++f)
            if (XOf(f + 1) - Canvas()->TextWidth(::Copy(Text(), f, 1)) / 2 >= x)
                return f;
        return length + 1;
    }
    void SetCaret() override
    {
        if (Focused())
            SetOBLCaretPos(XOf(CursorPos()), TextRect().top);
    }
    void SetNewText() override { DrawText(-1); }
    void GetNewText() override {}
    void DrawText(int) override
    {
        ++draws;
        if (!HandleAllocated())
            return;
        // Drawing over a shown caret would leave its inverted pixels behind.
        const bool caretShown = Caret()->Shown();
        Caret()->Disable();
        PaintLine(Canvas());
        if (caretShown)
            Caret()->Enable();
    }

private:
    void PaintLine(TCanvas* c)
    {
        c->Font()->Assign(Font());
        c->Brush()->SetColor(Color());
        c->FillRect(PaintRect());
        const TRect r = TextRect();
        c->TextOut(r.left, r.top, Text());
        if (SelLength() == 0 || SelectionHidden())
            return;
        const int x1 = XOf(SelStart()), x2 = XOf(SelStart() + SelLength());
        c->Brush()->SetColor(HighlightBack());
        c->Font()->SetColor(HighlightText());
        c->TextRect(Rect(x1, r.top, x2, r.bottom), x1, r.top, ::Copy(Text(), SelStart(), SelLength()));
    }
};

// One step of a user's script.
using EditStep = std::function<void()>;

class EditInputFixture : public GraphicFixture, protected KeyboardUser {
protected:
    void SetUp() override
    {
        GraphicFixture::SetUp();
        UserResetClipboard();
        edit_ = NewEdit(10, 10);
    }
    void TearDown() override
    {
        UserSetPopupMenuResponder(nullptr);
        GraphicFixture::TearDown();
    }

    TTestEdit* NewEdit(int left, int top)
    {
        auto* edit = Add<TTestEdit>(left, top);
        edit->SetBounds(left, top, 200, 21);
        edit->HandleNeeded();
        Pump();
        return edit;
    }
    void Focus(TTestEdit* edit = nullptr)
    {
        (edit ? edit : edit_)->SetFocus();
        Pump();
    }

    // Mouse, at the gap before a text position of the edit.
    int Y() const { return edit_->TextRect().top + 3; }
    void ClickAt(int position) { GraphicFixture::ClickAt(edit_, edit_->XOf(position), Y()); }
    void PressAt(int position) { Press(edit_, edit_->XOf(position), Y()); }
    void MoveToPos(int position) { MoveTo(edit_, edit_->XOf(position), Y()); }
    void ReleaseAt(int position) { Release(edit_, edit_->XOf(position), Y()); }
    void ShiftClickAt(int position)
    {
        UserInjectKey(VK_SHIFT, true);
        ClickAt(position);
        UserInjectKey(VK_SHIFT, false);
        Pump();
    }
    void DoubleClickAt(int position)
    {
        ClickAt(position);
        ClickAt(position);
    }

    // The edit's own context menu: what it offers, and the item with the caption chosen.
    std::vector<MenuEntry> ContextMenu(const std::string& choose = {}, TWinControl* target = nullptr)
    {
        return RightClickMenu(ScreenPoint(target ? target : edit_, 20, Y()), choose);
    }

    std::string Text() const { return edit_->Text().str(); }
    static std::string ClipboardText() { return UserClipboardText().str(); }

    TTestEdit* edit_ = nullptr;
};
