// The clipboard object: text in and out of the window system's clipboard.
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/win/user/User.h"

class TClipboard : public TPersistent {
    VENDARO_CLASS(TClipboard, TPersistent)
public:
    TClipboard() = default;
    ~TClipboard() override;

    // Nested opens are counted; the clipboard is closed with the last Close.
    void Open();
    void Close();
    void Clear();
    bool HasFormat(UINT format) const;
    // The CF_TEXT text, empty when there is none; setting replaces every format.
    AnsiString AsText();
    void SetAsText(const AnsiString& text);

private:
    int openCount_ = 0;
    bool emptied_ = false;
};

// The program's clipboard object, made on first use.
TClipboard* Clipboard();
// Frees the clipboard object (unit close-down).
void ClipbrdFinalization();
