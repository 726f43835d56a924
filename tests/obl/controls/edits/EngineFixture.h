// The edit engine under test: a minimal descendant that draws its text and selection on
// the engine's background and counts what the engine asks of it, on a shown form of a
// clean window system with the library's units (the shared keyboard edit mode among them).
#pragma once

#include "obl/controls/edits/OBLBaseEdit.h"
#include "tests/obl/controls/graphic/GraphicFixture.h"

#include <string>
#include <vector>

class TEngineEdit : public TOBLBaseEdit {
    VENDARO_CLASS(TEngineEdit, TOBLBaseEdit)
public:
    explicit TEngineEdit(TComponent* owner) : TOBLBaseEdit(owner) {}

    static void Publish(TClassBuilder<TEngineEdit>& c) {}

    // Each character as WM_CHAR inserts it: the only edit that overwrites.
    void Type(const std::string& chars)
    {
        for (char ch : chars) {
            typing_ = true;
            SetSelText(AnsiString(&ch, 1));
            typing_ = false;
        }
    }
    void Select(int start, int length)
    {
        SetSelStart(start);
        SetSelLength(length);
    }
    std::string Str() const { return Text().str(); }

    int draws = 0;
    int carets = 0;
    int newTexts = 0;
    using TOBLBaseEdit::CharAt;
    using TOBLBaseEdit::EmptyUndoStack;
    using TOBLBaseEdit::Updating;

protected:
    short CalcMouseCol(short) override { return 0; }
    short CalcMouseRow(short) override { return 0; }
    int CalcMousePos(DWORD) override { return 1; }
    void SetCaret() override { ++carets; }
    void SetNewText() override { ++newTexts; }
    void GetNewText() override {}
    // The line on the background, the selection in the highlight colours.
    void DrawText(int) override
    {
        ++draws;
        TCanvas* c = DrawCanvas();
        RepaintBack(PaintRect());
        c->Font()->Assign(Font());
        c->Brush()->SetStyle(bsClear);
        const TRect r = TextRect();
        c->TextOut(r.left, r.top, Text());
        if (SelLength() > 0) {
            const int x1 = r.left + c->TextWidth(Copy(1, SelStart() - 1));
            const int x2 = x1 + c->TextWidth(GetSelText());
            c->Brush()->SetColor(HighlightBack());
            c->Brush()->SetStyle(bsSolid);
            c->Font()->SetColor(HighlightText());
            c->TextRect(Rect(x1, r.top, x2, r.top + RowHeight(GetSelText())), x1, r.top, GetSelText());
        }
        if (c != Canvas()) Canvas()->CopyRect(PaintRect(), c, PaintRect());
    }
    void Paint() override
    {
        inherited::Paint();
        DrawText(-1);
    }
};

class EngineFixture : public GraphicFixture {
protected:
    TEngineEdit* NewEdit(const std::string& text = std::string())
    {
        auto* edit = Add<TEngineEdit>(10, 10);
        edit->SetWidth(160);
        edit->SetText(AnsiString(text.c_str(), static_cast<int>(text.size())));
        return edit;
    }
    // The shared keyboard state of every library edit: insert or overwrite, Shift.
    static void SetMode(TOBLEditModes mode) { OBLApplication->SetEditMode(mode); }
    static void Overwrite() { SetMode(TOBLEditModes{}); }
};
