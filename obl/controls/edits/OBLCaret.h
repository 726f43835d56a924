// Unit OBLCaret: the caret of the own-drawn edit: its shape (a line of the text's height,
// a block, an underline or overline bar, a bitmap, or a block at the bottom), its blink
// rate, and the system caret it creates, shows, hides and destroys on its owner's window.
//
// The window system keeps one caret per thread, owned by the focused window, and one blink
// time for every program. So this object acts on the system caret only while its owner's
// window holds it, changes the blink time only when its rate differs and only while its
// caret is there, and puts back the blink time it found as soon as it hides or destroys
// the caret.
#pragma once

#include "obl/core/base/OBLObject.h"
#include "obl/core/containers/oblcont.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/Graphics.h"

VENDARO_ENUM(TOBLCaretStyles, csDefault, csBlock, csUnder, csOver, csBitmap, csUnderBlock)
VENDARO_ENUM(TOBLCaretBitmap, cbBmpSize, cbTile, cbStretch)

class TOBLCaretListWatcher;

class TOBLCaret : public TOBLObject {
    VENDARO_CLASS(TOBLCaret, TOBLObject)
public:
    // Owner: the control whose window carries the caret (nil: the caret never acts).
    explicit TOBLCaret(TWinControl* Owner = nullptr);
    ~TOBLCaret() override;

    // From another caret: BlinkRate, Width, Height and Style; nothing from other sources.
    void Assign(TPersistent* Source) override;

    // The two values kept for the owner (index 0 or 1; other indexes read 0, write nothing).
    int GetPos(int Index) const;
    void SetPos(int Index, int Value);
    // 0 Width, 1 Height, 2 ImageIndex, 3 ListIndex, 4 the text height; negative values are
    // ignored. Shape changes take effect at the next BuildCaret.
    void SetWord(int Index, int Value);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int ImageIndex() const { return imageIndex_; }
    int ListIndex() const { return listIndex_; }
    int TextHeight() const { return textHeight_; }
    int BlinkRate() const { return blinkRate_; }
    void SetBlinkRate(int Value);
    TOBLCaretStyles Style() const { return style_; }
    void SetStyle(TOBLCaretStyles Value);
    TOBLCaretBitmap CaretBmpMode() const { return bmpMode_; }
    void SetCaretBmpMode(TOBLCaretBitmap Value);
    TBitmap* Bitmap() const { return bitmap_.get(); }
    // Takes a copy of B (Assign).
    void SetBitmap(TBitmap* B);
    TOBLCustomImageList* ImageList() const { return imageList_; }
    // Follows the list until it is freed, which clears the property.
    void SetImageList(TOBLCustomImageList* Value);
    // The list is one placed on a form (stored as a reference), not a global one.
    bool HasControl() const;
    // Copies image ImageIndex of list ListIndex of ImageList into Bitmap.
    void GetIMLChange(TObject* Sender);

    // Enable acts only while allowed (the owner edit switches it).
    bool Allowed() const { return allowed_; }
    void SetAllowed(bool Value) { allowed_ = Value; }
    // Enable has built the caret once.
    bool Built() const { return built_; }
    // Enable shows the caret and no Disable has hidden it since.
    bool Shown() const { return shown_; }

    // Creates the system caret of Style on the owner's window (creating the window when
    // it has none yet).
    void BuildCaret();
    // Shows the caret (building it the first time) with BlinkRate; nothing at design time,
    // when not allowed, or when already shown, so that shows and hides stay paired.
    void Enable();
    // Hides the caret shown by Enable and puts back the blink time.
    void Disable();
    // Destroys the system caret when the owner's window holds it; another window's caret
    // is left alone.
    void DestroyCaret();

    static void Publish(TClassBuilder<TOBLCaret>& c);

protected:
    // "Internal" for a list of the global container.
    void DefineProperties(TFiler* Filer) override;

private:
    // The owner's window holds the thread's caret.
    bool OwnsCaret() const;
    void CreateBitmapCaret(HWND Window);
    void ApplyBlinkRate();
    void RestoreBlinkTime();

    int pos_[2] = {0, 0};
    TOwned<TBitmap> workBitmap_;
    TOwned<TBitmap> bitmap_;
    TOBLCustomImageList* imageList_ = nullptr;
    WORD textHeight_ = 0;
    WORD width_ = 2;
    WORD height_ = 10;
    WORD imageIndex_ = 0;
    WORD listIndex_ = 0;
    WORD blinkRate_;
    TOBLCaretStyles style_ = csDefault;
    TWinControl* owner_;
    bool allowed_ = true;
    bool built_ = false;
    bool shown_ = false;
    TOBLCaretBitmap bmpMode_ = cbBmpSize;
    TOwned<TOBLCaretListWatcher> watcher_;
};
