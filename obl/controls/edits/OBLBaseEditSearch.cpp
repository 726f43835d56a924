// Search and replace of the edit engine: a character-by-character scan up or down from the
// top, the bottom or the cursor, asking before it wraps around; a match becomes the
// selection.
#include "obl/controls/edits/OBLBaseEdit.h"

#include "obl/core/base/Oblconst.h"
#include "platform/classlib/Dialogs.h"
#include "platform/classlib/Forms.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/user/Dialogs.h"

#include <algorithm>

bool TOBLBaseEdit::Search(const AnsiString& SearchText, TOBLSearchStart Start, bool CaseSensitive, bool WholeWord,
                          TOBLSearchDirection Direction)
{
    int from = Start == stTop ? 1 : Start == stBottom ? text_.Length() : cursorPos_;
    // Upwards from the cursor, a selection that begins at the cursor lies behind the search
    // already. An upward match leaves the cursor just before it, which for a match at the
    // very start can only be position 1, the match itself: the next search goes on before
    // it, to the top and the wrap question, rather than finding the same match again.
    if (Start == stCursor && Direction == sdUp && selLength_ > 0 && selStart_ == cursorPos_) from = cursorPos_ - 1;
    return SearchFrom(from, SearchText, CaseSensitive, WholeWord, Direction);
}

// The characters examined last form a window as long as the search text; it is compared
// after each step. Wrapping around empties it, so no match spans the two ends.
bool TOBLBaseEdit::SearchFrom(int P, const AnsiString& SearchText, bool CaseSensitive, bool WholeWord,
                              TOBLSearchDirection Direction)
{
    // An empty search text matches nowhere: no scan, no wrap question.
    if (text_.IsEmpty() || SearchText.IsEmpty()) return false;
    const AnsiString needle = CaseSensitive ? SearchText : UpperCase(SearchText);
    const int length = text_.Length();
    const int size = needle.Length();
    const bool down = Direction == sdDown;
    // Upwards the first character examined is the last one there is.
    if (!down) P = std::min(P, length);
    int examined = 0;
    for (;;) {
        if (P < 1 || P > length) {
            if (!AskWrapAround(Direction)) return false;
            P = down ? 1 : length;
            examined = 0;
            continue;
        }
        ++examined;
        const int first = down ? P - size + 1 : P;
        P += down ? 1 : -1;
        if (examined < size || !MatchesAt(first, needle, CaseSensitive, WholeWord)) continue;
        // Downwards the cursor ends after the match, upwards before it, so that a search
        // from the cursor goes on past it.
        SetCursorPos(first);
        SetCursorPos(P);
        SetSelStart(first);
        SetSelLength(size);
        return true;
    }
}

bool TOBLBaseEdit::MatchesAt(int Start, const AnsiString& Needle, bool CaseSensitive, bool WholeWord) const
{
    const AnsiString window = ::Copy(text_, Start, Needle.Length());
    if ((CaseSensitive ? window : UpperCase(window)) != Needle) return false;
    if (!WholeWord) return true;
    const int before = Start - 1;
    const int after = Start + Needle.Length();
    return (before < 1 || IsDelimiter(text_[before])) && (after > text_.Length() || IsDelimiter(text_[after]));
}

bool TOBLBaseEdit::AskWrapAround(TOBLSearchDirection Direction)
{
    if (!askWrap_ || !Application) return false;
    const AnsiString question = LoadResString(Direction == sdUp ? _IDS_SEARCHMSG1 : _IDS_SEARCHMSG2);
    return Application->MessageBox(question, LoadResString(_IDS_SEARCH), MB_YESNO) == IDYES;
}

bool TOBLBaseEdit::SearchAndReplace(const AnsiString& SearchText, const AnsiString& ReplaceText,
                                    TOBLSearchStart Start, bool CaseSensitive, bool WholeWord,
                                    TOBLSearchDirection Direction, bool Confirm, bool ReplaceAll)
{
    const AnsiString question = LoadResString(_IDS_REPLACE) + "?";
    bool result = false;
    bool ask = Confirm;
    bool found = Search(SearchText, Start, CaseSensitive, WholeWord, Direction);
    while (found) {
        const int matchStart = selStart_;
        bool replace = true;
        if (ask) {
            const TMsgDlgButtons buttons =
                ReplaceAll ? TMsgDlgButtons{mbYes, mbNo, mbCancel} : TMsgDlgButtons{mbYes, mbNo, mbCancel, mbAll};
            const int answer = MessageDlg(question, mtConfirmation, buttons, 0);
            if (answer == mrCancel) return false;
            if (answer == mrAll) {
                // This match and every following one, without asking again: "All" means
                // all, and asking on at each match would make the answer mean nothing.
                ReplaceAll = true;
                ask = false;
            } else if (answer != mrYes) {
                replace = false;
            }
        }
        if (replace && AllowedOperation(ReplaceText)) {
            SetSelText(ReplaceText);
            result = true;
        }
        if (!ReplaceAll) break;
        SetSelLength(0);
        // Upwards the search goes on before the match, past what replaced it: a
        // replacement that holds the search text is not found again and again.
        const int from = Direction == sdUp ? matchStart - 1 : cursorPos_;
        found = SearchFrom(from, SearchText, CaseSensitive, WholeWord, Direction);
    }
    return result;
}
