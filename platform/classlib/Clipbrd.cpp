// The clipboard object.
#include "platform/classlib/Clipbrd.h"

#include <string>

namespace {

TClipboard*& Instance()
{
    static TClipboard* clipboard = nullptr;
    return clipboard;
}

} // namespace

TClipboard* Clipboard()
{
    if (!Instance())
        Instance() = new TClipboard;
    return Instance();
}

void ClipbrdFinalization()
{
    TClipboard* doomed = Instance();
    Instance() = nullptr;
    FreeObject(doomed);
}

TClipboard::~TClipboard()
{
    if (openCount_ > 0)
        CloseClipboard();
}

void TClipboard::Open()
{
    if (openCount_++ == 0) {
        OpenClipboard(nullptr);
        emptied_ = false;
    }
}

void TClipboard::Close()
{
    if (openCount_ == 0)
        return;
    if (--openCount_ == 0)
        CloseClipboard();
}

void TClipboard::Clear()
{
    Open();
    EmptyClipboard();
    emptied_ = true;
    Close();
}

bool TClipboard::HasFormat(UINT format) const { return IsClipboardFormatAvailable(format) != FALSE; }

AnsiString TClipboard::AsText()
{
    Open();
    AnsiString text;
    if (HANDLE data = GetClipboardData(CF_TEXT))
        text = AnsiString(static_cast<const char*>(data));
    Close();
    return text;
}

void TClipboard::SetAsText(const AnsiString& text)
{
    Open();
    if (!emptied_) {
        EmptyClipboard();
        emptied_ = true;
    }
    // The window system keeps its own copy of the text it is handed.
    std::string data(text.c_str());
    SetClipboardData(CF_TEXT, data.data());
    Close();
}
