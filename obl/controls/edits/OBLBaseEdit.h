// Unit OBLBaseEdit: the library's own-drawn text editor engine. It keeps the text itself,
// draws it through its descendant, moves its own caret, keeps the selection and records
// every change in an undo stack and a redo stack. Every insertion, deletion, replacement,
// cut, paste, undo and redo goes through SetSelText.
//
// Positions are 1-based character indexes; position Length+1 lies after the last
// character. A CR/LF pair is one line break: no edit leaves half of one behind.
//
// The descendant supplies the drawing of the text, the caret placement and the conversion
// of client points to text positions (the abstract operations below). Keyboard, mouse,
// clipboard, messages and the context menu live in OBLBaseEditInput.cpp, search and
// replace in OBLBaseEditSearch.cpp.
#pragma once

#include "obl/controls/edits/OBLCaret.h"
#include "obl/controls/panels/OBLCustomBevelPanel.h"
#include "obl/core/draw/OBL3DCaption.h"
#include "obl/core/formats/OBLDynLIFOBuffer.h"
#include "platform/classlib/Graphics.h"
#include "platform/classlib/StdCtrls.h"

#include <bitset>
#include <memory>

// (Sender, At): the text changed, beginning at position At.
using TOBLTextChangeEvent = TEvent<TObject*, int>;
// One bit per character code.
using TOBLCharSet = std::bitset<256>;

VENDARO_ENUM(TOBLSearchStart, stTop, stBottom, stCursor)
VENDARO_ENUM(TOBLSearchDirection, sdUp, sdDown)

// One change, as it really happened: OldText was removed at SelStart and NewText inserted
// there. Replaying it backwards (select NewLength characters at SelStart, put OldText)
// undoes it exactly. Recorded after the line-break widening and the length limit, not
// before them, since a record of the request would undo more or less than was done.
// Owned by the stack that holds it.
struct TOBLUndoRecord {
    AnsiString NewText;
    AnsiString OldText;
    int SelStart = 1;
    int SelLength = 0; // Length(OldText)
    int NewLength = 0; // Length(NewText)
    int CursorPos = 1; // CursorPos before the change
};

class TOBLBaseEdit : public TOBLCustomBevelPanel {
    VENDARO_CLASS(TOBLBaseEdit, TOBLCustomBevelPanel)
public:
    explicit TOBLBaseEdit(TComponent* AOwner);
    ~TOBLBaseEdit() override;

    // ---- Text --------------------------------------------------------------------------
    // The new text without an undo record, Modified or OnChange: cut to MaxLength, the
    // cursor at 1, nothing selected, the undo and redo history dropped. Nothing when the
    // text is the same.
    void SetText(const AnsiString& S) override;
    // The text after GetNewText.
    AnsiString GetText();
    // The text, for the control's Text and Caption.
    AnsiString GetText() const override { return text_; }
    // The text as it stands, without asking the descendant.
    const AnsiString& Text() const { return text_; }
    int GetLength() const { return text_.Length(); }
    // The selection replaced by S (the one editing operation). Replacing text by the same
    // text (nothing by nothing included) is no change: no undo record, no Modified, no
    // OnChange.
    void SetSelText(const AnsiString& S);
    // S becomes the text as one change of it, unlike SetText: one undo record, Modified and
    // OnChange as for any edit. S is cut to MaxLength; only the part that differs from the
    // text is replaced, so undoing leaves the cursor where it stood before.
    void ChangeTextTo(const AnsiString& S);
    AnsiString GetSelText() const;
    void SetSelTextBuf(const char* P);
    void ClearSelection();
    void SelectAll();
    // Count characters from Start replaced by S; the selection is put back afterwards.
    void Replace(int Start, int Count, const AnsiString& S);
    // ASCII upper or lower case for Count characters from Start.
    void Upper(int Start, int Count);
    void Lower(int Start, int Count);
    // Count characters from Start removed; S receives them.
    void Cut(int Start, int Count, AnsiString& S);
    void Insert(int Position, const AnsiString& S);
    // The text followed by S, without an undo record.
    void Add(const AnsiString& S);
    AnsiString Copy(int Start, int Count) const;
    // Pixel width of S drawn with Font3D and Font; 0 for an empty S.
    int RowWidth(const AnsiString& S);
    // The word at the cursor (delimited by Delimiters), empty on a delimiter.
    AnsiString GetCurrentWord() const;
    // Runs of non-delimiter characters in the text.
    int CountWords() const;

    // ---- Selection and cursor ----------------------------------------------------------
    int CursorPos() const { return cursorPos_; }
    int SelStart() const { return selStart_; }
    int SelLength() const { return selLength_; }
    int MaxLength() const { return maxLength_; }
    // 0 MaxLength (0 or less: no limit; the text is not cut), 1 SelStart (no redraw),
    // 2 SelLength (redraws when changed), 5 CursorPos (clamped, the selection rule, then
    // CursorPosChanged). SelStart and SelLength are kept inside the text.
    void SetInteger(int Index, int Value);
    void SetCursorPos(int Value) { SetInteger(5, Value); }
    void SetSelStart(int Value) { SetInteger(1, Value); }
    void SetSelLength(int Value) { SetInteger(2, Value); }
    void SetMaxLength(int Value) { SetInteger(0, Value); }

    void GotoParaStart();
    void GotoParaEnd();
    void GotoNextWord();
    void GotoPrevWord();
    void SelectRightWord();
    void SelectLeftWord();

    // ---- Undo ---------------------------------------------------------------------------
    bool CanUndo() const { return canUndo_; }
    bool CanRedo() const { return canRedo_; }
    void Undo();
    void Redo();
    // Both stacks emptied: nothing is left to undo or redo.
    void ClearUndo();

    // ---- Search and replace (OBLBaseEditSearch.cpp) --------------------------------------
    // True when a match was found; it is then the selection.
    bool Search(const AnsiString& SearchText, TOBLSearchStart Start, bool CaseSensitive, bool WholeWord,
                TOBLSearchDirection Direction);
    // True when the last decision replaced a match.
    bool SearchAndReplace(const AnsiString& SearchText, const AnsiString& ReplaceText, TOBLSearchStart Start,
                          bool CaseSensitive, bool WholeWord, TOBLSearchDirection Direction, bool Confirm,
                          bool ReplaceAll);

    // ---- Properties ----------------------------------------------------------------------
    using TOBLCustomControl::SetBoolean;
    // 0 HideSelection, 1 ReadOnly, 2 Modified (OnModified when changed), 4 AutoSelect,
    // 5 OEMConvert, 6 FocusOnMouseAbove.
    void SetBoolean(int Index, bool Value);
    bool HideSelection() const { return hideSelection_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value) { SetBoolean(1, Value); }
    bool Modified() const { return modified_; }
    void SetModified(bool Value) { SetBoolean(2, Value); }
    bool AutoSelect() const { return autoSelect_; }
    bool OEMConvert() const { return oemConvert_; }
    bool FocusOnMouseAbove() const { return focusOnMouseAbove_; }
    bool GetReadOnly() override { return readOnly_; }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment A);
    TOBL3DCaption* Font3D() const { return font3D_.get(); }
    // Copies F, then tells the control its font changed (CM_FONTCHANGED).
    void SetFont3D(TOBL3DCaption* F);
    TOBLCaret* Caret() const { return caret_.get(); }
    void SetCaretVal(TOBLCaret* C);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase C) { charCase_ = C; }
    TColor HighlightText() const { return highlightText_; }
    void SetHighlightText(TColor Value);
    TColor HighlightBack() const { return highlightBack_; }
    void SetHighlightBack(TColor Value);
    const TOBLCharSet& Delimiters() const { return delimiters_; }
    void SetDelimiters(const TOBLCharSet& Value) { delimiters_ = Value; }
    bool IsDelimiter(char C) const { return delimiters_[static_cast<unsigned char>(C)]; }

    TOBLTextChangeEvent OnTextChangedAt() const { return onTextChangedAt_; }
    void SetOnTextChangedAt(TOBLTextChangeEvent Value) { onTextChangedAt_ = Value; }
    TNotifyEvent OnCursorPosChanged() const { return onCursorPosChanged_; }
    void SetOnCursorPosChanged(TNotifyEvent Value) { onCursorPosChanged_ = Value; }
    TNotifyEvent OnModified() const { return onModified_; }
    void SetOnModified(TNotifyEvent Value) { onModified_ = Value; }
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent Value) { onChange_ = Value; }

    // The inherited notification, then OnChange (none while the edit is being read).
    void GetChange(TObject* Sender) override;
    // A balanced pair never redraws; an EndUpdate without a BeginUpdate redraws the text
    // (unless the no-redraw switch is set).
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }
    // True while the engine carries out a change of its own (a drop of dragged text, undo,
    // redo, a paste, ChangeTextTo) rather than one typed or made by the caller: what reacts
    // to typing (the completion of a descendant) stays out of it.
    bool InOwnOperation() const { return ownOperations_ > 0; }

    void Loaded() override;

    // ---- Virtual operations of the engine ------------------------------------------------
    virtual void SetupRects();
    virtual void CreateBack();
    virtual short CalcMouseCol(short Coordinate) = 0;
    virtual short CalcMouseRow(short Coordinate) = 0;
    virtual void DoAlignmentChange() {}
    // Positions and shows the caret.
    virtual void SetCaret() = 0;
    // Backspace also removes the character before a selection, along with the selection.
    virtual bool BackOneMore() { return false; }
    // After Text was assigned / before Text is read.
    virtual void SetNewText() = 0;
    virtual void GetNewText() = 0;
    // Redraws the text from Position; -1 all of it.
    virtual void DrawText(int Position) = 0;
    // The text position under a client point packed as X (low 16 bits), Y (high 16 bits).
    virtual int CalcMousePos(DWORD Point) = 0;
    // Client X where the line draws the gap after its first Count characters (EM_POSFROMCHAR):
    // here their RowWidth from TextRect's left, less the scroll; a descendant that draws
    // the line answers where it draws it.
    virtual int PosFromChar(int Count);
    // Canvas text height of S, with the shadow of the shadowed 3D styles.
    virtual int RowHeight(const AnsiString& S);
    // SetCaret, then OnCursorPosChanged.
    virtual void CursorPosChanged();
    // Redraws from the cursor and fires the change events (unless updating / loading).
    virtual void ChangedText(int At);
    virtual void BeforeChangeText() {}
    virtual void FinishedSetSelText() {}
    // May rewrite the text about to be inserted at Position.
    virtual void HandleInsertText(int Position, AnsiString& S) {}
    // Told the text about to be removed at Position.
    virtual void HandleReplaceText(int Position, const AnsiString& S) {}
    // Paints the background of Rect (on the back bitmap when buffering and it exists).
    virtual void RepaintBack(const TRect& Rect);
    // Changing the text is allowed (not read-only).
    virtual bool AllowedOperation(const AnsiString& S) { return !readOnly_; }
    virtual bool AllowCopyPaste() { return true; }
    virtual bool RedrawOnExit();
    virtual bool RedrawOnEnter() { return false; }
    virtual void ModifyTextRect() {}
    virtual void ModifyPaintRect() {}
    virtual void ModifyInnerRect();
    // Selects the word at the cursor.
    virtual void SelectCurrentWord();
    // The selection into Buffer, at most Size bytes with the terminating NUL; answers the
    // number of characters written.
    virtual int GetSelTextBuf(char* Buffer, int Size);
    // Everything selected and removed.
    virtual void Clear();

    static void Publish(TClassBuilder<TOBLBaseEdit>& c);

    // The layout rectangles and the horizontal scroll, for the descendant's drawing.
    const TRect& InnerRect() const { return innerRect_; }
    const TRect& PaintRect() const { return paintRect_; }
    const TRect& TextRect() const { return textRect_; }
    int ScrollOffset() const { return scrollOffset_; }
    bool SelectionHidden() const { return selectionHidden_; }
    TBitmap* BackBuffer() const { return backBitmap_.get(); }

    // Stops and releases the auto-scroll timer (the destructor's part of the input side;
    // defined with the destructor in OBLBaseEdit.cpp).
    void FreeTimer();

    // ======================================================================================
    // Keyboard, mouse, clipboard, messages and scrolling (OBLBaseEditInput.cpp)
    // ======================================================================================
    // The selection to and from the clipboard, when AllowCopyPaste (cutting in a read-only
    // edit copies and leaves the text).
    void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();
    // The commands of the edit's own context menu.
    void DoUndo(TObject* Sender);
    void DoCut(TObject* Sender);
    void DoCopy(TObject* Sender);
    void DoPaste(TObject* Sender);
    void DoClear(TObject* Sender);
    void DoSelectAll(TObject* Sender);
    // A tick of the held left button: the cursor follows the mouse, past the visible text
    // too, which scrolls it. A release that went to another window ends the press.
    void DoOnTimer(TObject* Sender);
    // The cursor to the last mouse point; a press strictly inside the selection starts
    // dragging it.
    void DoLeftMouseBtn();
    // The system caret at (X, Y), moved down to the text's foot for the underline styles.
    void SetOBLCaretPos(int X, int Y);
    void WndProc(TMessage& Message) override;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    // A typed character of code 32 and above, except DEL, is inserted with CharCase applied.
    void KeyPress(char& Key) override;
    // The key commands; descendants add their own.
    virtual void GetCommandKey(WORD& Key, TShiftState Shift);
    void RestoreBorderFront() override;
    void RestoreBorderBack() override;
    void DoThemeChanged() override;

private:
    // emAlt, emCtrl and emShift of the shared edit mode follow the keys, from a key
    // message's state or read from the keyboard now.
    void FollowModifierKeys(TShiftState Shift);
    void FollowModifierKeys();
    void InsertKey();
    void MoveLeft();
    void MoveRight();
    void DeleteKey();
    void BackspaceKey();
    void ControlLetter(WORD& Key);
    void ShowContextMenu(const TPoint& At);
    void StartAutoScroll();
    // The timer stopped and a drag ended (the screen cursor back); true when it was one.
    bool EndPress();
    void RestoreThemedBorder();
    void WMMouseMove(TMessage& Message);
    void WMLButtonDown(TMessage& Message);
    void WMLButtonUp(TMessage& Message);
    void WMLButtonDblClk(TMessage& Message);
    void WMRButtonUp(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMSetText(TMessage& Message);
    void WMGetText(TMessage& Message);
    void EditMessage(TMessage& Message);
    void EMSetSel(WPARAM Start, LPARAM End);
    void EMGetLine(TMessage& Message);
    void EMPosFromChar(TMessage& Message);

    DWORD lastMousePoint_ = 0; // client point of the latest mouse message, 16 + 16 bits

public:
    // ======================================================================================

protected:
    void Paint() override;

    // DrawText when the control has a window; nothing is drawn without one.
    void Redraw(int Position);
    // The canvas the background and text go to: the back bitmap's while buffering, else
    // the control's.
    TCanvas* DrawCanvas();
    // The layout rectangles from the client rectangle (SetupRects without its guards).
    void LayoutRects();
    // The character at P; NUL outside the text.
    char CharAt(int P) const { return P >= 1 && P <= text_.Length() ? text_[P] : '\0'; }
    // The back bitmap released (focus left).
    void FreeBack() { backBitmap_.reset(); }
    // The selection widened so that it splits no CR/LF pair: what a change of it removes.
    // Whoever keeps the removed text (cut, drag) widens first and then reads it.
    void WidenSelectionToLineBreaks();
    // The undo stack emptied; nothing can be undone (redo stays).
    void EmptyUndoStack();
    // Releases one undo record (the stacks' OnDestroyItem).
    void DoDestroyBufferEntry(TObject* Sender, void* Item);

    // The fields, in the engine's order. The switches are set once here; descendants read
    // them.
    TOwned<TOBLCaret> caret_;
    bool editEnabled_ = true;      // typing, paste, Delete and Backspace act
    bool freeBackOnExit_ = true;   // the back bitmap goes when focus leaves
    bool dragText_ = true;         // a press inside the selection moves the selected text
    bool askWrap_ = true;          // search asks before wrapping around (off: it never wraps)
    bool redoing_ = false;         // Redo replays a record
    bool undoing_ = false;         // Undo replays a record
    // False while nothing can be undone, also when fresh: EM_CANUNDO and "&Undo" tell the truth.
    bool canUndo_ = false;         // something can be undone
    bool canRedo_ = false;         // something can be redone
    TAlignment alignment_ = taLeftJustify;
    TOwned<TOBL3DCaption> font3D_;
    TCursor savedCursor_ = crDefault; // Screen.Cursor while dragging text
    int updateCount_ = 0;
    int autoScrollTimer_ = -1;     // auto-scroll pool timer; -1 none
    int prevCursorPos_ = 1;        // CursorPos before the latest move
    int maxLength_ = 0;            // 0 or less: no limit
    int selLength_ = 0;
    TOwned<TOBLDynLIFOBuffer> undoStack_;
    TOwned<TOBLDynLIFOBuffer> redoStack_;
    TColor highlightText_ = clHighlightText;
    TColor highlightBack_ = clHighlight;
    bool dragging_ = false;        // the selected text is being dragged
    bool focusOnMouseAbove_ = false;
    bool oemConvert_ = false;
    bool autoSelect_ = false;
    bool modified_ = false;
    bool readOnly_ = false;
    bool typing_ = false;          // a typed character is being inserted
    bool hideSelection_ = true;
    TOBLCharSet delimiters_;
    TOBLTextChangeEvent onTextChangedAt_;
    TNotifyEvent onCursorPosChanged_;
    TNotifyEvent onModified_;
    TNotifyEvent onChange_;
    TEditCharCase charCase_ = ecNormal;
    TOwned<TBitmap> backBitmap_;   // client-sized copy of the background
    AnsiString text_;
    bool selectionAllowed_ = true; // mouse and Shift selection
    bool noRedraw_ = false;        // an unbalanced EndUpdate does not redraw
    bool buffered_ = true;         // the background goes through the back bitmap
    bool mouseSelecting_ = false;  // the mouse extends the selection
    bool skipWindowText_ = false;  // WM_SETTEXT/WM_GETTEXT leave SetNewText/GetNewText out
    bool selectionHidden_ = true;  // the selection is drawn as hidden
    TRect innerRect_{};
    TRect paintRect_{-1, -1, -1, -1};
    TRect textRect_{};
    int cursorPos_ = 1;
    int selStart_ = 1;
    int scrollOffset_ = 0;         // horizontal scroll in pixels (kept by the descendant)

private:
    // One of the engine's own operations, counted for the length of a scope (an exception
    // leaving it included).
    class TOwnOperation {
    public:
        explicit TOwnOperation(TOBLBaseEdit* Edit) : edit_(Edit) { ++edit_->ownOperations_; }
        ~TOwnOperation() { --edit_->ownOperations_; }
        TOwnOperation(const TOwnOperation&) = delete;
        TOwnOperation& operator=(const TOwnOperation&) = delete;

    private:
        TOBLBaseEdit* edit_;
    };
    int ownOperations_ = 0; // depth of the engine's own operations under way

    // The selection rule, run on every cursor move.
    void ApplySelectionRule();
    // Step by step parts of SetSelText.
    void AdjustForLineBreaks();
    // Onto the redo stack while undoing, else onto the undo stack.
    void RecordChange(std::unique_ptr<TOBLUndoRecord> Record);
    bool Replaying() const { return undoing_ || redoing_; }
    // Pops the top record of Stack and replays it backwards with the flag set.
    void Replay(TOBLDynLIFOBuffer* Stack, bool& Flag);
    int ClampPos(int P) const;
    void KeepSelectionInText();
    void SetModifiedFlag(bool Value);

    // Search from position P (OBLBaseEditSearch.cpp): the match, when one is found, becomes
    // the selection.
    bool SearchFrom(int P, const AnsiString& SearchText, bool CaseSensitive, bool WholeWord,
                    TOBLSearchDirection Direction);
    // The Length(Needle) characters from Start equal Needle (upper-cased unless
    // CaseSensitive) and, for a whole word, stand between delimiters or the text's ends.
    bool MatchesAt(int Start, const AnsiString& Needle, bool CaseSensitive, bool WholeWord) const;
    // The question before wrapping around at the top or the bottom.
    bool AskWrapAround(TOBLSearchDirection Direction);
};
