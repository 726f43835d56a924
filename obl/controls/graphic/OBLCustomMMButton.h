// Unit OBLCustomMMButton: the multimedia button, a windowless button whose whole face is a
// picture of an image list, one picture per button state, composed off-screen with the
// glyph and caption and put on the parent's canvas opaque or with a see-through colour.
// Its hit test can follow the picture's see-through pixels.
#pragma once

#include "obl/controls/graphic/OBLBaseGraphicButton.h"
#include "obl/controls/graphic/Oblbtn.h"
#include "obl/core/draw/OBLButtonBase.h"

#include <array>
#include <optional>

class TOBLCustomMMButton : public TOBLBaseGraphicButton {
    VENDARO_CLASS(TOBLCustomMMButton, TOBLBaseGraphicButton)
public:
    static constexpr int FaceCount = 9;
    using TFaceTable = std::array<TOBLButtonFaceIndex, FaceCount>;

    explicit TOBLCustomMMButton(TComponent* AOwner);
    ~TOBLCustomMMButton() override;

    // The marker design-time editors hang the face editor on; it carries nothing.
    TOBLButtonFace* ButtonFace() const { return buttonFace_; }
    TOBLCustomImageList* ButtonFaceImageList() const { return buttonFaceImageList_; }
    void SetButtonFaceImageList(TOBLCustomImageList* Value);
    bool IsButtonFaceImageListStored() const;
    TOBLButtonFaceIndex GetButtonFaceIndex(TOBLButtonState State) const { return faces_[Slot(State)]; }
    void SetButtonFaceIndex(TOBLButtonState State, TOBLButtonFaceIndex Face);
    const TFaceTable& GetButtonFaceIndices() const { return faces_; }
    void SetButtonFaceIndices(const TFaceTable& Faces);
    int CaptionDown() const { return captionDown_; }
    void SetCaptionDown(int Value) { captionDown_ = Value; }
    TColor TransColor() const { return transColor_; }
    // The see-through colour of the list's first face; nothing without a list.
    void SetTransCol(TOBLCustomImageList* List);
    bool ForceTransparent() const { return forceTransparent_; }
    void SetForceTransparent(bool Value);
    bool QuickDraw() const { return quickDraw_; }
    void SetQuickDraw(bool Value);
    TOBLBitmapStyle ButtonFaceStyle() const { return buttonFaceStyle_; }
    void SetStyle(TOBLBitmapStyle Value);
    // Where the last face was drawn (empty when none was).
    const TRect& FaceRect() const { return faceRect_; }

    bool ButtonFaceIMLEmpty(TOBLButtonState State);
    // The face painted in the state: its own, or the up or down face when it has none.
    std::optional<TOBLButtonFaceIndex> DrawnFace(TOBLButtonState State);
    bool GetEmpty() override { return !buttonFaceImageList_; }
    HPALETTE GetPalette() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    static void Publish(TClassBuilder<TOBLCustomMMButton>& c);

protected:
    virtual void GetButtonFaceIMLChange(TObject* Sender) { GetChange(Sender); }
    void Paint() override;
    bool IsCustom() override { return !ImageList(); }
    bool VerifyTransparency(int X, int Y) override;
    bool PaintsEveryState() override { return true; }
    void DefineProperties(TFiler* Filer) override;

private:
    static std::size_t Slot(TOBLButtonState State) { return static_cast<std::size_t>(State); }
    // The face list when it has an entry at ListIndex, else nil.
    TOBLCustomImageList* ListWith(int ListIndex) const;
    void ListChanged(TObject* Sender) { GetButtonFaceIMLChange(Sender); }
    bool AutoSized(const std::optional<TOBLButtonFaceIndex>& Face);
    WORD DrawFlags() const;
    void Output(TBitmap* Image, bool Prepared, const std::optional<TOBLButtonFaceIndex>& Face, TColor Key);
    void ReadIndices(TStream* Stream);
    void WriteIndices(TStream* Stream);
    void ReadLegacyIndices(TReader* Reader);
    void ReadLegacyIndicesNew(TStream* Stream);

    TOBLButtonFace* buttonFace_ = nullptr;
    TOBLCustomImageList* buttonFaceImageList_ = nullptr;
    TOwned<TOBLChangeLink> link_;
    TFaceTable faces_{};
    int captionDown_ = 1;
    TColor transColor_ = static_cast<TColor>(0xFFFFFF);
    bool forceTransparent_ = true;
    bool quickDraw_ = false;
    TOBLBitmapStyle buttonFaceStyle_ = sbNone;
    TRect faceRect_{};
};
