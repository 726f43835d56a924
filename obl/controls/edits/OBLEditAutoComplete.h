// Unit OBLEditAutoComplete: auto-completion for the single-line edit. After each change of
// the edit's text it completes the typed prefix in place from a list of strings (the
// completed tail selected, so typing on replaces it) and/or shows a drop-down of the
// matching strings under the edit, driven by the arrow keys, Enter and Escape while the
// edit keeps the focus. It can add the edit's text to the list on leaving or on Enter,
// through an event that may veto or redirect the addition.
//
// The strings are those of one string item of a string-list container. One component may
// serve several edits; the drop-down belongs to one edit at a time.
#pragma once

#include "obl/controls/edits/OBLCustomEdit.h"
#include "obl/core/base/OBLComponent.h"
#include "obl/core/containers/oblcont.h"
#include "platform/classlib/StdCtrls.h"

VENDARO_ENUM(TOBLAutoCompleteSource, asStringList)
using TOBLAutoCompleteSources = TSet<TOBLAutoCompleteSource>;
VENDARO_ENUM(TOBLAutoCompleteMode, amText, amPopup)
using TOBLAutoCompleteModes = TSet<TOBLAutoCompleteMode>;
VENDARO_ENUM(TOBLAutoCompleteAddOn, aaControlExit, aaControlReturn)
using TOBLAutoCompleteAddOns = TSet<TOBLAutoCompleteAddOn>;

// (Sender, editControl, var addText, var add, var addTo): asked before a text is added.
using TOBLAutoCompleteAddEvent =
    TEvent<TObject*, TOBLBaseEdit*, AnsiString&, bool&, TOBLAutoCompleteSource&>;

class TOBLEditAutoComplete : public TOBLComponent, public TOBLEditAutoCompleteLink {
    VENDARO_CLASS(TOBLEditAutoComplete, TOBLComponent)
public:
    explicit TOBLEditAutoComplete(TComponent* AOwner);
    ~TOBLEditAutoComplete() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    TOBLStringList* StringList() const { return stringList_; }
    // Followed until it goes.
    void SetStringList(TOBLStringList* L);
    int StringListIndex() const { return stringListIndex_; }
    // Lowered to the container's last item; kept as it is while the component is read,
    // because the container reference is fixed only after reading.
    void SetStrListIndex(int I);
    int MaxPopupRows() const { return maxPopupRows_; }
    void SetMaxPopupRows(int Value) { maxPopupRows_ = Value; }
    TOBLAutoCompleteSources Sources() const { return sources_; }
    void SetSources(TOBLAutoCompleteSources Value) { sources_ = Value; }
    TOBLAutoCompleteModes Mode() const { return mode_; }
    void SetMode(TOBLAutoCompleteModes Value) { mode_ = Value; }
    TOBLAutoCompleteAddOns AddUnknownOn() const { return addUnknownOn_; }
    void SetAddUnknownOn(TOBLAutoCompleteAddOns Value) { addUnknownOn_ = Value; }
    TOBLAutoCompleteAddEvent OnAdd() const { return onAdd_; }
    void SetOnAdd(TOBLAutoCompleteAddEvent Value) { onAdd_ = Value; }

    // The edit's text before the latest completion.
    const AnsiString& TypedText() const { return typedText_; }
    // The edit whose drop-down is open, and the drop-down (none while closed).
    TOBLBaseEdit* Control() const { return control_; }
    TListBox* ListBox() const { return popupShown_ ? listBox_ : nullptr; }

    // After each change of the edit's text: the completion put into the edit, its tail
    // selected.
    void AutoCompleteText(TOBLBaseEdit* Edit, const AnsiString& Text) override;
    // Result: Text completed from the first matching string; the drop-down of the strings
    // that match Text itself.
    void CompleteText(TOBLBaseEdit* Edit, const AnsiString& Text, AnsiString& Result);
    // The drop-down of the strings that begin with Prefix.
    void Popup(TOBLBaseEdit* Edit, const AnsiString& Prefix);
    // Shows Strings under the edit; none closes the edit's drop-down, and so does a single
    // one equal to the edit's text.
    void CreatePopup(TOBLBaseEdit* Edit, TStrings* Strings);
    // Closes the drop-down and gives the edit its window procedure back.
    void CancelPopup();
    // The edit's messages while its drop-down is open.
    virtual void ControlWndProc(TMessage& Message);
    // Offers Text for adding to the strings; an empty text is never offered.
    void Add(TOBLBaseEdit* Edit, const AnsiString& Text) override;

    // What the linked edits ask.
    bool CompletesInPlace() override { return enabled_ && mode_.Contains(amText); }
    bool AddsOnReturn() override { return addUnknownOn_.Contains(aaControlReturn); }
    bool AddsOnExit() override { return addUnknownOn_.Contains(aaControlExit); }

    void Notification(TComponent* AComponent, TOperation Operation) override;

    static void Publish(TClassBuilder<TOBLEditAutoComplete>& c);

private:
    // The strings of item StringListIndex; none without a container or for an index
    // outside it.
    TStrings* Strings() const;
    // True when S begins with Prefix (case-sensitive); never for an empty prefix.
    static bool Matches(const AnsiString& S, const AnsiString& Prefix);
    // The edit's window procedure replaced by the component's (once per open drop-down).
    void Subclass(TOBLBaseEdit* Edit);
    // The drop-down as a top-level window under the edit, shown without taking the focus.
    void PlacePopup(TOBLBaseEdit* Edit, int Height);
    // The keys and the focus loss of the edit while the drop-down is open.
    void PopupKeyUp(TOBLBaseEdit* Edit, WPARAM Key);
    void PopupChar(TOBLBaseEdit* Edit, WPARAM Key);
    // The edit's text := S, the cursor at the end and everything selected.
    static void PutText(TOBLBaseEdit* Edit, const AnsiString& S);
    void ItemToEdit(TOBLBaseEdit* Edit, int Index);

    bool enabled_ = true;
    AnsiString typedText_;
    TOBLStringList* stringList_ = nullptr;
    int maxPopupRows_ = 8;
    int stringListIndex_ = 0;
    TOBLAutoCompleteSources sources_{asStringList};
    TOBLAutoCompleteModes mode_;
    TOBLAutoCompleteAddOns addUnknownOn_;
    TOBLAutoCompleteAddEvent onAdd_;
    TOBLBaseEdit* control_ = nullptr;
    // Made on the first drop-down and kept, hidden, between drop-downs: closing one can
    // happen inside the list box's own handling (a click on it takes the focus from the
    // edit) or inside the window-procedure instance itself.
    TListBox* listBox_ = nullptr;
    bool popupShown_ = false;
    WNDPROC instance_ = nullptr;
    WNDPROC previousWndProc_ = nullptr;
};
