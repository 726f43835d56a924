// The single-line edit on a shown form of a clean window system, with a fixed font, keyboard
// helpers that go through the program's message loop, and measurements of the line as the
// edit draws it.
#pragma once

#include "obl/controls/edits/OBLCustomEdit.h"
#include "platform/classlib/Clipbrd.h"
#include "platform/win/user/Clipboard.h"
#include "tests/obl/controls/graphic/GraphicFixture.h"
#include "tests/support/KeyboardInput.h"

#include <string>

class CustomEditFixture : public GraphicFixture, protected KeyboardUser {
protected:
    void SetUp() override
    {
        GraphicFixture::SetUp();
        UserResetClipboard();
        OBLApplication->SetEditMode(TOBLEditModes{emInsert});
    }

    TOBLCustomEdit* NewEdit(int left, int top, const char* text = "", int width = 120)
    {
        auto* edit = Add<TOBLCustomEdit>(left, top);
        edit->Font()->SetName("MS Sans Serif");
        edit->Font()->SetHeight(-11);
        edit->SetBounds(left, top, width, 21);
        edit->HandleNeeded();
        edit->SetText(text);
        edit->SetHighlightBack(clMaroon);
        edit->SetHighlightText(clYellow);
        Pump();
        return edit;
    }
    void Focus(TOBLCustomEdit* edit)
    {
        edit->SetFocus();
        Pump();
    }

    // Pixel width of S in the edit's font, as the edit measures it.
    static int WidthOf(TOBLCustomEdit* edit, const char* s)
    {
        TBitmap scratch;
        scratch.Canvas()->Font()->Assign(edit->Font());
        return scratch.Canvas()->TextWidth(s);
    }
    // Whether the form shows the highlight colour at a client point of the edit.
    bool Highlighted(TOBLCustomEdit* edit, int x, int y) { return PixelOf(edit, x, y) == Rgb(clMaroon); }
    // The first and one past the last client X of the highlight on row Y (-1 when none).
    std::pair<int, int> HighlightSpan(TOBLCustomEdit* edit, int y)
    {
        int first = -1, last = -1;
        for (int x = 0; x < edit->ClientWidth(); ++x)
            if (Highlighted(edit, x, y)) {
                if (first < 0) first = x;
                last = x + 1;
            }
        return {first, last};
    }
    static TPoint CaretPos()
    {
        POINT p{};
        GetCaretPos(&p);
        return Point(p.x, p.y);
    }
    static std::string ClipboardText() { return UserClipboardText().str(); }
};
