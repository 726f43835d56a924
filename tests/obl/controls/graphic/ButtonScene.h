// Buttons of every kind held in a chosen state, and the face pictures of a multimedia
// button, shared by the pixel tests and the screenshot.
#pragma once

#include "obl/controls/graphic/OBLCustomMMButton.h"
#include "obl/controls/graphic/OBLSpeedButton.h"

#include <array>

// Opens the state machine to the tests.
template <class T>
class TStateButton : public T {
public:
    explicit TStateButton(TComponent* owner) : T(owner) {}

    // Puts the button in the state the way its input would.
    void Force(TOBLButtonState state)
    {
        switch (state) {
        case bsDisabledUp: this->SetEnabled(false); break;
        case bsOptionSet:
            this->SetGroupIndex(groupCounter++);
            this->SetPressed(true);
            break;
        case bsMouseOver:
        case bsDropDownOpen:
            // Both come with the mouse over the button.
            this->SetMouseOver(true);
            this->StateChange(state);
            break;
        default: this->StateChange(state);
        }
    }

private:
    static inline int groupCounter = 100;
};

// The states of the tables, in column order.
inline constexpr std::array<TOBLButtonState, 6> kSceneStates = {bsUp,      bsMouseOver, bsDown,
                                                                 bsDisabledUp, bsOptionSet, bsDropDownOpen};
inline const char* const kSceneStateNames[] = {"up", "hot", "down", "disabled", "option set", "drop-down open"};

// One picture per state: a bar of the state's colour on a white (see-through) ground,
// 1 pixel of white all round.
inline TColor FaceColor(TOBLButtonState state)
{
    switch (state) {
    case bsUp: return static_cast<TColor>(RGB(70, 110, 180));
    case bsMouseOver: return static_cast<TColor>(RGB(90, 180, 90));
    case bsDown: return static_cast<TColor>(RGB(20, 40, 110));
    case bsDisabledUp: return static_cast<TColor>(RGB(160, 160, 160));
    case bsOptionSet: return static_cast<TColor>(RGB(230, 140, 30));
    case bsDropDownOpen: return static_cast<TColor>(RGB(140, 60, 160));
    default: return static_cast<TColor>(RGB(0, 0, 0));
    }
}

constexpr int kFaceWidth = 48, kFaceHeight = 24;

// A new entry of the list, owned by it, of pictures of the size.
inline TOBLImageListItem* NewEntry(TOBLImageList* list, int width, int height)
{
    TOBLImageListItem* item = list->Items(list->Add(nullptr));
    item->SetWidth(width);
    item->SetHeight(height);
    return item;
}

// A face list: entry 0 holds one picture per state of kSceneStates, in that order.
inline TOBLImageList* FaceList(TComponent* owner)
{
    auto* list = new TOBLImageList(owner);
    NewEntry(list, kFaceWidth, kFaceHeight);
    for (TOBLButtonState state : kSceneStates) {
        TBitmap picture;
        picture.SetPixelFormat(pf24bit);
        picture.SetSize(kFaceWidth, kFaceHeight);
        picture.Canvas()->Brush()->SetColor(clWhite);
        picture.Canvas()->FillRect(Rect(0, 0, kFaceWidth, kFaceHeight));
        picture.Canvas()->Brush()->SetColor(FaceColor(state));
        picture.Canvas()->FillRect(Rect(4, 1, kFaceWidth - 4, kFaceHeight - 1));
        picture.Canvas()->FillRect(Rect(1, 5, kFaceWidth - 1, kFaceHeight - 5));
        list->Items(0)->AddMasked(&picture, clWhite);
    }
    return list;
}

// Every state of the scene gets its picture of the face list.
inline void UseFaces(TOBLCustomMMButton* button, TOBLImageList* list)
{
    button->SetButtonFaceImageList(list);
    for (std::size_t i = 0; i < kSceneStates.size(); ++i)
        button->SetButtonFaceIndex(kSceneStates[i], OBLFaceIndex(0, static_cast<int>(i)));
}

// A small glyph: a dark green square in a black frame (pixels 1 to 8 of both axes) on the
// fuchsia see-through colour. The disabled image embosses the black pixels only.
inline void SmallGlyph(TBitmap* bitmap)
{
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(10, 10);
    bitmap->Canvas()->Brush()->SetColor(clFuchsia);
    bitmap->Canvas()->FillRect(Rect(0, 0, 10, 10));
    bitmap->Canvas()->Brush()->SetColor(clBlack);
    bitmap->Canvas()->FillRect(Rect(1, 1, 9, 9));
    bitmap->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(0, 100, 0)));
    bitmap->Canvas()->FillRect(Rect(2, 2, 8, 8));
}
