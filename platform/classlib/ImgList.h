// Image lists: pictures of one size kept in order, each with an optional mask, drawn
// transparently or greyed, with change links through which their users hear of changes.
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/classlib/Graphics.h"

#include <vector>

class TCustomImageList;

// Registered with an image list, it calls OnChange (with the list) whenever the list
// changes; freeing the link unregisters it.
class TChangeLink : public TObject {
    VENDARO_CLASS(TChangeLink, TObject)
public:
    TChangeLink() = default;
    ~TChangeLink() override;

    TCustomImageList* Sender() const { return sender_; }
    void SetSender(TCustomImageList* value) { sender_ = value; }
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }
    virtual void Change();

private:
    TCustomImageList* sender_ = nullptr;
    TNotifyEvent onChange_;
};

VENDARO_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent)
VENDARO_ENUM(TImageType, itImage, itMask)

class TCustomImageList : public TComponent {
    VENDARO_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* owner);
    TCustomImageList(TComponent* owner, int width, int height);
    ~TCustomImageList() override;
    // Unregisters every change link before the free notifications go out.
    void BeforeDestruction() override;

    // From another image list: size, settings and copies of its images.
    void Assign(TPersistent* source) override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new size removes every image.
    void SetWidth(int value);
    void SetHeight(int value);
    int Count() const { return static_cast<int>(images_.size()); }
    // A masked list draws its images through their masks; an unmasked one draws them whole.
    bool Masked() const { return masked_; }
    void SetMasked(bool value);
    int AllocBy() const { return allocBy_; }
    void SetAllocBy(int value) { allocBy_ = value; }
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor value);
    TColor BlendColor() const { return blendColor_; }
    void SetBlendColor(TColor value) { blendColor_ = value; }
    TDrawingStyle DrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TDrawingStyle value);
    TImageType ImageType() const { return imageType_; }
    void SetImageType(TImageType value);
    bool ShareImages() const { return shareImages_; }
    void SetShareImages(bool value) { shareImages_ = value; }

    // Adds the image, cut into Width-wide pictures (a narrower image makes one picture);
    // the mask is white where the pictures are transparent (none: opaque). Returns the
    // index of the first picture, -1 for a nil or empty image.
    int Add(TBitmap* image, TBitmap* mask);
    // The same with the mask made from the colour.
    int AddMasked(TBitmap* image, TColor maskColor);
    // An index out of range raises EInvalidOperation "Invalid image list index".
    void Delete(int index);
    void Clear();

    // Sizes the bitmap to Width x Height (keeping its top-left pixels) and draws the
    // picture onto it; an index out of range draws nothing.
    void GetBitmap(int index, TBitmap* image);
    // Draws the picture at (x, y); disabled, it is drawn embossed in the button highlight
    // and shadow colours. An index out of range draws nothing.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }

    static void Publish(TClassBuilder<TCustomImageList>& c);

protected:
    // Tells the change links, in the order they registered, then OnChange.
    virtual void Change();
    virtual void DoDraw(int index, TCanvas* canvas, int x, int y, bool enabled);

private:
    struct Picture {
        TOwned<TBitmap> image;
        TOwned<TBitmap> mask;   // white where transparent; always as big as the image
    };

    Picture NewPicture() const;
    void DrawEnabled(const Picture& picture, HDC dest, int x, int y);
    void DrawDisabled(const Picture& picture, TCanvas* canvas, int x, int y);
    void UnregisterAll();

    int width_ = 16;
    int height_ = 16;
    bool masked_ = true;
    int allocBy_ = 4;
    TColor bkColor_ = clNone;
    TColor blendColor_ = clNone;
    TDrawingStyle drawingStyle_ = dsNormal;
    TImageType imageType_ = itImage;
    bool shareImages_ = false;
    std::vector<Picture> images_;
    std::vector<TChangeLink*> links_;
    TNotifyEvent onChange_;
};

class TImageList : public TCustomImageList {
    VENDARO_CLASS(TImageList, TCustomImageList)
public:
    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
    TImageList(TComponent* owner, int width, int height) : TCustomImageList(owner, width, height) {}
};

inline constexpr const char* SInvalidImageListIndex = "Invalid image list index";

// Registers the image list class with the class registry, so form descriptions can name it.
void RegisterImageListClasses();
