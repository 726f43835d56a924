// Unit oblcont: named collections of resources (bitmaps, image strips, string lists, raw
// data, waves) kept in non-visual containers: the change link a control registers to hear
// of a container's changes, the container base that keeps those links, the stored item
// base and the list of items with the stored forms of containers and items; the image-list
// interface every picture source of the controls answers, with its four lists (bitmaps,
// image strips, the class library's image lists, pictures of any format); the string,
// generic and wave lists; and the global container OBLContainer with the control that
// stores its lists in a form description.
//
// File form: the kind's signature (a length byte 8 and eight characters), int32 item
// count N, N int32 absolute positions of the item records (absent when N is 0), then
// the N item records. Stream form: int32 N and the records. An item record is a flags
// byte (0x01 compressed, 0x02 a string8 description follows, 0x04 an int32 ident
// follows, 0x08 payload present, 0x10/0x20/0x40 pixel format), the fields the flags
// announce, then the item class's payload. Integers are little-endian.
#pragma once

#include "obl/core/base/OBLCustomComponent.h"
#include "obl/core/base/Oblprocs.h"
#include "obl/core/app/oblclass.h"
#include "platform/classlib/Classes.h"
#include "platform/classlib/Graphics.h"
#include "platform/classlib/ImgList.h"
#include "platform/classlib/ResourceStrings.h"

#include <cstdint>
#include <vector>

class TOBLBaseContainer;
class TOBLCustomContainer;

// The binary property under which an item stores its record in a form description.
inline constexpr const char* IDS_INTERNAL = "Internal";

// Texts of the image lists' errors (entries of the library's string table).
VENDARO_RESOURCESTRING(_IDS_INVALIDIMAGESIZE, "Invalid image size")
VENDARO_RESOURCESTRING(_IDS_TOOMANYIMAGES, "Too many images")
VENDARO_RESOURCESTRING(_IDS_LISTINDEXOUTOFBOUNDS, "List index out of bounds (%d)")

// Bits of the item header's flags byte.
inline constexpr BYTE OBLIF_COMPRESSED = 0x01;
inline constexpr BYTE OBLIF_DESCRIPTION = 0x02;
inline constexpr BYTE OBLIF_IDENT = 0x04;
inline constexpr BYTE OBLIF_DATA = 0x08;

VENDARO_ENUM(TOBLContainerSource, sdComponent, sdFile, sdAppResource, sdLibResource, sdPath)

// Container file extensions, by kind up to icRTF.
inline constexpr const char* OBLICEXTENSION[6] = {"iml", "bml", "wvl", "sll", "gll", "rtl"};

// The header bit of a pixel format (none for spfDefault).
BYTE OBLPixelFormatFlag(TOBLSavePixelFormat Format);
// The pixel format of a flags byte: the first of the bits 0x10, 0x20, 0x40 set.
TOBLSavePixelFormat OBLPixelFormatFromFlags(BYTE Flags);
// The bitmap field code of a pixel format: -1, 2, 16 or 256.
int OBLPixelFormatCode(TOBLSavePixelFormat Format);

// The eight characters of a kind's file signature; empty for icInvalid.
AnsiString OBLICGetSignature(TOBLListItemClassType Kind);
// The container extension; WithDot puts "." before a non-empty one.
AnsiString OBLICGetSuffix(TOBLListItemClassType Kind, bool WithDot);
// The extension of a single item's own file.
AnsiString OBLICGetItemSuffix(TOBLListItemClassType Kind, bool WithDot);

// An observer of one container. OnChange hears every change of the container, with the
// container as sender.
class TOBLChangeLink : public TObject {
    VENDARO_CLASS(TOBLChangeLink, TObject)
public:
    TOBLChangeLink() = default;
    // Leaves every container the link is still registered with, so none keeps a
    // pointer to a freed link.
    ~TOBLChangeLink() override;

    virtual void Change();

    // The container the link was last registered with; nil when it is registered with none.
    TOBLBaseContainer* Sender() const { return sender_; }
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }

private:
    friend class TOBLBaseContainer;
    void Joined(TOBLBaseContainer* container);
    void Left(TOBLBaseContainer* container);

    TOBLBaseContainer* sender_ = nullptr;
    // One entry per registration, oldest first (a link may be registered more than once).
    std::vector<TOBLBaseContainer*> registrations_;
    TNotifyEvent onChange_;
};

// A component that tells its change links of every change, then fires its own OnChange
// (subject to the update bracket).
class TOBLBaseContainer : public TOBLCustomComponent {
    VENDARO_CLASS(TOBLBaseContainer, TOBLCustomComponent)
public:
    explicit TOBLBaseContainer(TComponent* AOwner);
    ~TOBLBaseContainer() override;

    // No duplicate check: a link registered twice is notified twice.
    void RegisterChanges(TOBLChangeLink* Link);
    // Removes the first registration of Link.
    void UnRegisterChanges(TOBLChangeLink* Link);
    // The links are notified also inside an update bracket.
    void Change() override;

    int LinkCount() const { return links_ ? links_->Count() : 0; }
    TOBLChangeLink* Links(int Index) const { return static_cast<TOBLChangeLink*>(links_->Items(Index)); }

private:
    TOwned<TList> links_;
};

// One stored item of a container; its container owns it as a component owner.
class TOBLListItem : public TOBLCustomComponent {
    VENDARO_CLASS(TOBLListItem, TOBLCustomComponent)
public:
    explicit TOBLListItem(TComponent* AOwner);

    // Drops the payload (lazily loaded data is then fetched again).
    virtual void FreeData() {}
    // True when the item holds no payload.
    virtual bool GetEmpty() { return false; }
    // The item's stream form (header and payload).
    virtual void ReadData(TStream* Stream) {}
    virtual void WriteData(TStream* Stream) {}
    // The flags byte of the item header.
    virtual BYTE WriteFlag();

    // Fires the item's own OnChange, then tells the owning container through Update.
    void Change() override;
    // Appends the item to the container it is read into.
    void ReadState(TReader* Reader) override;

    // Position in the owning container's list; -1 when not owned by a container.
    int GetIndex() const;
    // Copies Compressed, Description and Ident.
    void AssignStd(TOBLListItem* Source);

    // The item header: flags from WriteFlag, then the fields they announce.
    void WriteStd(TStream* Stream);
    // Reads a header (a truncated one raises EReadError) and returns its flags byte.
    BYTE ReadStd(TStream* Stream);

    void LoadFromStream(TStream* Stream) { ReadData(Stream); }
    void SaveToStream(TStream* Stream) { WriteData(Stream); }

    const AnsiString& Description() const { return description_; }
    void SetDescription(const AnsiString& Value) { description_ = Value; }
    WORD Ident() const { return ident_; }
    void SetIdent(WORD Value) { ident_ = Value; }
    bool Compressed() const { return compressed_; }
    void SetCompressed(bool Value) { compressed_ = Value; }

protected:
    // The record is the binary property "Internal", always written.
    void DefineProperties(TFiler* Filer) override;

private:
    AnsiString description_;
    WORD ident_ = 0;
    bool compressed_ = false;
};

// An ordered list of items of one class. Items are made through ItemClass, which each
// concrete list sets; the list stores its items as child components in a form
// description.
class TOBLCustomContainer : public TOBLBaseContainer {
    VENDARO_CLASS(TOBLCustomContainer, TOBLBaseContainer)
public:
    explicit TOBLCustomContainer(TComponent* AOwner);
    ~TOBLCustomContainer() override;

    virtual int GetCount() { return items_.Count(); }
    virtual bool GetEmpty() { return items_.Count() == 0; }
    // EListError for an index out of range.
    virtual TOBLListItem* GetItem(int Index);
    // The container's stream form; the file form has an offset table. Reading replaces
    // the items inside an update bracket; items read whole before a failure stay, also
    // when the count promises more records than the stream holds (EReadError after them).
    // A negative count, or an offset table the file cannot hold, raises EReadError before
    // any item is made.
    virtual void ReadData(TStream* Stream, bool WithOffsets);
    virtual void WriteData(TStream* Stream, bool WithOffsets);

    // Signature and file form. Loading a file of another signature raises Exception
    // and changes nothing.
    void SaveToFile(const AnsiString& FileName);
    void LoadFromFile(const AnsiString& FileName);
    void SaveToStream(TStream* Stream) { WriteData(Stream, false); }
    void LoadFromStream(TStream* Stream) { ReadData(Stream, false); }

    // The first item of that Description (case-sensitive), or nil.
    TOBLListItem* GetItemByName(const AnsiString& Name);
    int IndexOf(TOBLListItem* Item) const;
    // Nil makes a new item of ItemClass owned by the container. Returns the new index.
    int Add(TOBLListItem* Item);
    void Insert(int Index, TOBLListItem* Item);
    // Appends a copy of every item of Source, with one Change at the end.
    void AddList(TOBLCustomContainer* Source);
    void Delete(int Index);
    void Clear();
    void Move(int CurIndex, int NewIndex);
    // Fires the container's OnChange with Item as sender; the links are not told.
    void Update(TOBLListItem* Item);

    // Copies the items and DefaultCompressed of a container of this class.
    void Assign(TPersistent* Source) override;
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    TComponent* GetChildOwner() override { return this; }
    // Drops an item that is freed from outside the list.
    void Notification(TComponent* AComponent, TOperation Operation) override;

    bool DefaultCompressed() const { return defaultCompressed_; }
    void SetDefaultCompressed(bool Value) { defaultCompressed_ = Value; }
    TOBLPathPrefix Prefix() const { return prefix_; }
    void SetPrefix(TOBLPathPrefix Value);
    TOBLContainerSource Source() const { return source_; }
    // Unless loading, drops every item's data so that it is fetched from the new source.
    void SetSource(TOBLContainerSource Value);
    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& Value) { fileName_ = Value; }
    TClass ItemClass() const { return itemClass_; }
    TOBLListItemClassType Kind() const { return kind_; }

    static void Publish(TClassBuilder<TOBLCustomContainer>& c);

protected:
    void SetItemClass(TClass Value) { itemClass_ = Value; }
    void SetKind(TOBLListItemClassType Value) { kind_ = Value; }

protected:
    // The stored items themselves (lists whose entries live elsewhere keep none).
    int StoredCount() const { return items_.Count(); }
    TOBLListItem* StoredItem(int Index) const { return static_cast<TOBLListItem*>(items_.Items(Index)); }

private:
    TOBLListItem* CreateItem();
    void ReadItem(TStream* Stream);
    void Track(TOBLListItem* Item);

    bool defaultCompressed_ = false;
    TList items_;
    TOBLPathPrefix prefix_ = ppProgram;
    TOBLContainerSource source_ = sdComponent;
    AnsiString fileName_;
    TClass itemClass_ = nullptr;
    TOBLListItemClassType kind_ = icInvalid;
};

// The kind of a container file by its signature (icInvalid when none matches); Count is
// the int32 after the signature (-1 when the file holds none of it). For a known kind,
// List (when given) receives the offset table; a count the file cannot hold raises
// EReadError.
TOBLListItemClassType OBLListGetFileType(const AnsiString& FileName, int& Count, TList* List);
// Reads the item whose record starts at the offset List holds at Index; false without a
// list. EListError for an index outside the list, EReadError for an offset outside the
// stream.
bool OBLListGetItemFromStream(TStream* Stream, TList* List, int Index, TOBLListItem* Item);
// Reads item Index of a container file. Without a list a kind other than Kind raises
// Exception, an index outside the file's table EListError, and EReadError a damaged table
// around Index: a first entry other than where the table ends, entry Index not above entry
// Index - 1, or a record at entry Index that does not end where entry Index + 1 starts (the
// last record: at the end of the file). Only those entries are read and only that record
// parsed, whatever the file's size. A given list is trusted to hold the file's table.
bool OBLListGetItemFromFile(const AnsiString& FileName, TOBLListItemClassType Kind, TList* List,
                            TOBLListItem* Item, int Index);

// ---------------------------------------------------------------------------------------
// Image lists. A control addresses a picture by its list index (the entry) and image index
// (the picture inside the entry).

class TOBLWave;

// The one image source type of the library's controls.
class TOBLCustomImageList : public TOBLCustomContainer {
    VENDARO_CLASS(TOBLCustomImageList, TOBLCustomContainer)
public:
    explicit TOBLCustomImageList(TComponent* AOwner);

    // Whether the list has an entry at ListIndex. Only such an index may be handed to the
    // operations below: the bitmap list raises its item list's error for a negative one.
    bool HasEntry(int ListIndex) { return ListIndex >= 0 && ListIndex < GetCount(); }

    // Every list answers these; the base raises EAbstractError.
    // The canvas of the entry's bitmap, or nil.
    virtual TCanvas* BmpCanvas(int ListIndex);
    // The picture's rectangle within the entry's bitmap.
    virtual TRect ItemRect(int ListIndex, int ImageIndex);
    // Which 0: picture width, 1: height; anything else or an entry past the end: 0.
    virtual int Dimensions(int ListIndex, BYTE Which);
    virtual int ItemCount(int ListIndex);
    virtual bool IsValidItem(int ListIndex, int ImageIndex);
    // Copies the picture into Bitmap; nothing for nil.
    virtual void GetBitmapItem(int ListIndex, int ImageIndex, TBitmap* Bitmap);
    virtual bool Masked(int ListIndex);
    virtual HPALETTE Palette(int ListIndex);
    virtual TColor TransparentColor(int ListIndex, int ImageIndex);
    virtual TColor GetColorAtPoint(const TPoint& Point, int ListIndex, int ImageIndex);
    // Unscaled, top-left corner at (X, Y).
    virtual void Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex);
    // With the drawing flags of OBLBmpDraw; answers the rectangle drawn.
    virtual TRect DrawExt(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ListIndex, int ImageIndex);
    virtual void ClipDraw(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ClipOffset, TColor TransColor,
                          int ListIndex, int ImageIndex);

    int ListIndex() const { return listIndex_; }
    // A value not below the count raises EInvalidGraphicOperation "List index out of
    // bounds (%d)"; a negative one is accepted.
    void SetIndex(int Value);
    TOBLSavePixelFormat DefaultPixelFormat() const { return defaultPixelFormat_; }
    void SetDefaultPixelFormat(TOBLSavePixelFormat Value) { defaultPixelFormat_ = Value; }

    // Copies the items and both defaults of a list of this class.
    void Assign(TPersistent* Source) override;

protected:
    void SetListIndex(int Value) { listIndex_ = Value; }

private:
    int listIndex_ = 0;
    TOBLSavePixelFormat defaultPixelFormat_ = spfDefault;
};

// Entries with one picture each, where controls ignore the image index: bitmap and
// graphic lists.
bool OBLIsSingleItemImageList(TOBLCustomImageList* ImageList);
// Entries that are the class library's image lists: the connector.
bool OBLIsCollectionImageList(TOBLCustomImageList* ImageList);

// One bitmap, fetched from the container's source on first use when the container loads
// lazily (Ident is then the item's number in the source).
class TOBLBitmapListItem : public TOBLListItem {
    VENDARO_CLASS(TOBLBitmapListItem, TOBLListItem)
public:
    explicit TOBLBitmapListItem(TComponent* AOwner);
    ~TOBLBitmapListItem() override;

    // The bitmap, loaded first where the container's source says so. The object stays the
    // same for the item's whole life, so callers may keep it.
    TBitmap* GetBitmap();
    void SetBitmap(TBitmap* Value);
    // The bitmap without loading.
    TBitmap* StoredBitmap() const { return bitmap_.get(); }
    TOBLSavePixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TOBLSavePixelFormat Value) { pixelFormat_ = Value; }

    bool GetEmpty() override;
    // Empties the bitmap (the object itself stays).
    void FreeData() override;
    void Assign(TPersistent* Source) override;
    BYTE WriteFlag() override;
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

    static void Publish(TClassBuilder<TOBLBitmapListItem>& c);

private:
    void LoadFromSource(TOBLCustomContainer* Container);
    AnsiString ItemFileName(TOBLCustomContainer* Container) const;

    TOwned<TBitmap> bitmap_;
    TOBLSavePixelFormat pixelFormat_ = spfDefault;
};

class TOBLBitmapList : public TOBLCustomImageList {
    VENDARO_CLASS(TOBLBitmapList, TOBLCustomImageList)
public:
    explicit TOBLBitmapList(TComponent* AOwner);

    TOBLBitmapListItem* Items(int Index) { return static_cast<TOBLBitmapListItem*>(GetItem(Index)); }
    TOBLBitmapListItem* ItemByName(const AnsiString& Name)
    {
        return static_cast<TOBLBitmapListItem*>(GetItemByName(Name));
    }
    // The bitmap of the entry at ListIndex.
    TBitmap* Bitmap() { return Items(ListIndex())->GetBitmap(); }

    // The queries that use the bitmap load a lazily fetched entry and raise the loading
    // error; ItemCount and IsValidItem look at the bitmap as it is, without loading. Past
    // the end the queries answer their fallback; a negative list index raises EListError.
    TCanvas* BmpCanvas(int ListIndex) override;
    TRect ItemRect(int ListIndex, int ImageIndex) override;
    int Dimensions(int ListIndex, BYTE Which) override;
    int ItemCount(int ListIndex) override;
    bool IsValidItem(int ListIndex, int ImageIndex) override;
    void GetBitmapItem(int ListIndex, int ImageIndex, TBitmap* Bitmap) override;
    bool Masked(int ListIndex) override { return false; }
    HPALETTE Palette(int ListIndex) override;
    TColor TransparentColor(int ListIndex, int ImageIndex) override;
    TColor GetColorAtPoint(const TPoint& Point, int ListIndex, int ImageIndex) override;
    void Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex) override;
    TRect DrawExt(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ListIndex, int ImageIndex) override;
    void ClipDraw(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ClipOffset, TColor TransColor, int ListIndex,
                  int ImageIndex) override;

    static void Publish(TClassBuilder<TOBLBitmapList>& c);

private:
    // The entry; nil past the end, EListError for a negative index.
    TOBLBitmapListItem* Entry(int ListIndex);
    // The entry's bitmap, fetched when the list loads lazily; nil past the end.
    TBitmap* Query(int ListIndex);
};

// Loads the bitmap resource ResID of a loaded library module into Bitmap. False, with the
// bitmap as it was, when the module has no such resource; a resource that is no bitmap
// raises the bitmap's error.
bool OBLBmpLoad(HMODULE Module, int ResID, TBitmap* Bitmap);
// Loads the library (LoadLibraryA), asks OBLBmpLoad and frees the library again. False
// when the library cannot be loaded (the bitmap stays as it was) or holds no such bitmap.
bool OBLBmpLoadFromFile(const AnsiString& FileName, int ResID, TBitmap* Bitmap);

// Pictures of one size side by side in one strip bitmap, with an optional monochrome mask
// strip of the same layout (black opaque, white transparent). The strip grows AllocBy
// pictures at a time and is at most 32,768 pixels wide.
class TOBLImageListItem : public TOBLListItem {
    VENDARO_CLASS(TOBLImageListItem, TOBLListItem)
public:
    explicit TOBLImageListItem(TComponent* AOwner);
    // Without owner; a size below 1 raises EInvalidGraphicOperation "Invalid image size".
    TOBLImageListItem(int AWidth, int AHeight);
    ~TOBLImageListItem() override;

    int GetCount() const { return static_cast<int>(entries_.size()); }
    bool GetEmpty() override { return entries_.empty(); }

    // Both nil: reserves an empty cell. Answers the new index, or -1 for an image (or,
    // when masked, a mask) that is nil.
    int Add(TBitmap* Image, TBitmap* Mask);
    int AddMasked(TBitmap* Image, TColor TransparentColor);
    // At the end when Index is not below the count.
    void Insert(int Index, TBitmap* Image, TBitmap* Mask);
    void InsertMasked(int Index, TBitmap* Image, TColor TransparentColor);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void ReplaceMasked(int Index, TBitmap* Image, TColor TransparentColor);
    // Nothing for an index above the last.
    void Delete(int Index);
    void Move(int CurIndex, int NewIndex);
    // Without notification.
    void Clear();
    void FreeData() override { Clear(); }
    // Appends (or inserts at Index, keeping their order) the pictures of an item of the
    // same size.
    void AddImages(TOBLImageListItem* Source);
    void InsertImages(int Index, TOBLImageListItem* Source);

    // Copies picture Index into Bitmap, sized Width x Height; nothing for nil.
    void GetBitmap(int Index, TBitmap* Bitmap);
    void GetMaskBitmap(int Index, TBitmap* Bitmap);
    TBitmap* GetImageBitmap() const { return strip_.get(); }
    TBitmap* GetImageMaskBitmap() const { return mask_.get(); }
    TRect GetImageRect(int Index) const;
    // The strip pixel at the picture's bottom-left corner.
    TColor TransparentColor(int Index);
    TColor GetColorAtPoint(const TPoint& Point, int Index);
    void Draw(TCanvas* Canvas, int X, int Y, int Index);
    TRect DrawExt(TCanvas* Canvas, const TRect& Dest, WORD Flags, int Index);
    void ClipDraw(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ClipOffset, TColor TransColor, int Index);

    // False for nil; true for the item's height and a width that is a whole multiple of
    // Width; otherwise raises "Invalid image size".
    bool CheckImage(TBitmap* Bitmap);
    // Replaces everything by the Count pictures of one bitmap.
    void ConvertBmpToIML(TBitmap* Bitmap, int Count, bool AMasked);
    bool LoadFromBitmap(const AnsiString& FileName, int Count, bool AMasked);
    // The single-item file: "OBLIML30", int32 1, int32 17, the item record.
    void SaveToFile(const AnsiString& FileName);
    void LoadFromFile(const AnsiString& FileName);

    void Assign(TPersistent* Source) override;
    BYTE WriteFlag() override;
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Index 0 Width, 1 Height; a new value from 1 to 32768 (the widest strip stored) empties
    // the item, any other is dropped.
    void SetInteger(int Index, int Value);
    void SetWidth(int Value) { SetInteger(0, Value); }
    void SetHeight(int Value) { SetInteger(1, Value); }
    int AllocBy() const { return allocBy_; }
    // A step below 1 counts as 1.
    void SetAllocBy(int Value) { allocBy_ = Value < 1 ? 1 : Value; }
    bool Masked() const { return masked_; }
    void SetMaskedState(bool Value);
    TOBLSavePixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TOBLSavePixelFormat Value) { pixelFormat_ = Value; }
    int UsedWidth() const { return usedWidth_; }

    static void Publish(TClassBuilder<TOBLImageListItem>& c);

protected:
    // "Internal", and the read-only legacy "Bitmap" (count, strip, mask).
    void DefineProperties(TFiler* Filer) override;

private:
    int PrepareSpace();
    void ClearStrips();
    void SetStripWidth(int Value);
    void CheckIndex(int Index) const;
    bool ImagesFit(TBitmap* Image, TBitmap* Mask);
    void ReadStrips(TStream* Stream, int Count);
    void ReadStream(TStream* Stream);
    void RebuildEntries(int Count);
    void AppendImages(TOBLImageListItem* Source);

    int width_ = 16;
    int height_ = 16;
    int allocBy_ = 4;
    bool masked_ = false;
    int usedWidth_ = 0;
    TOBLSavePixelFormat pixelFormat_ = spfDefault;
    TOwned<TBitmap> strip_;
    TOwned<TBitmap> mask_;
    // The x offset of each picture in the strip.
    std::vector<std::int16_t> entries_;
};

class TOBLImageList : public TOBLCustomImageList {
    VENDARO_CLASS(TOBLImageList, TOBLCustomImageList)
public:
    explicit TOBLImageList(TComponent* AOwner);

    TOBLImageListItem* Items(int Index) { return static_cast<TOBLImageListItem*>(GetItem(Index)); }
    TOBLImageListItem* ItemByName(const AnsiString& Name)
    {
        return static_cast<TOBLImageListItem*>(GetItemByName(Name));
    }
    TOBLImageListItem* Current() { return Items(ListIndex()); }

    TCanvas* BmpCanvas(int ListIndex) override;
    TRect ItemRect(int ListIndex, int ImageIndex) override;
    int Dimensions(int ListIndex, BYTE Which) override;
    int ItemCount(int ListIndex) override;
    bool IsValidItem(int ListIndex, int ImageIndex) override;
    void GetBitmapItem(int ListIndex, int ImageIndex, TBitmap* Bitmap) override;
    bool Masked(int ListIndex) override;
    HPALETTE Palette(int ListIndex) override;
    TColor TransparentColor(int ListIndex, int ImageIndex) override;
    TColor GetColorAtPoint(const TPoint& Point, int ListIndex, int ImageIndex) override;
    void Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex) override;
    TRect DrawExt(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ListIndex, int ImageIndex) override;
    void ClipDraw(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ClipOffset, TColor TransColor, int ListIndex,
                  int ImageIndex) override;

    void Assign(TPersistent* Source) override;

    static void Publish(TClassBuilder<TOBLImageList>& c);

private:
    bool InRange(int ListIndex) { return ListIndex >= 0 && ListIndex < GetCount(); }
};

// ---------------------------------------------------------------------------------------
// Lists whose entries the library does not store: the class library's image lists, and
// pictures of any graphic format. Their container item list stays empty; GetItem answers
// one shared proxy item carrying the entry's name.

class TOBLImageListConnector;
class TOBLGraphicList;

class TOBLBorImageListItem : public TCollectionItem {
    VENDARO_CLASS(TOBLBorImageListItem, TCollectionItem)
public:
    explicit TOBLBorImageListItem(TCollection* ACollection);
    ~TOBLBorImageListItem() override;

    TCustomImageList* ImageList() const { return imageList_; }
    void SetImageList(TCustomImageList* Value);
    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& Value);
    int GetIndexValue() const { return Index(); }
    void SetIndexValue(int Value) { SetIndex(Value); }
    TOBLImageListConnector* GetConnector() const;

    static void Publish(TClassBuilder<TOBLBorImageListItem>& c);

protected:
    AnsiString GetDisplayName() override;

private:
    void ImageListChange(TObject* Sender);

    TCustomImageList* imageList_ = nullptr;
    TOwned<TChangeLink> link_;
    AnsiString name_;
};

class TOBLBorImageListItems : public TCollection {
    VENDARO_CLASS(TOBLBorImageListItems, TCollection)
public:
    explicit TOBLBorImageListItems(TOBLImageListConnector* AConnector);
    TOBLBorImageListItem* Items(int Index) const { return static_cast<TOBLBorImageListItem*>(TCollection::Items(Index)); }
    TOBLBorImageListItem* Add() { return static_cast<TOBLBorImageListItem*>(TCollection::Add()); }
    TOBLImageListConnector* Connector() const { return connector_; }

protected:
    void Update(TCollectionItem* Item) override;
    TPersistent* GetOwner() override;

private:
    TOBLImageListConnector* connector_;
};

class TOBLGraphicListItem : public TCollectionItem {
    VENDARO_CLASS(TOBLGraphicListItem, TCollectionItem)
public:
    explicit TOBLGraphicListItem(TCollection* ACollection);
    ~TOBLGraphicListItem() override;

    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* Value) { picture_->Assign(Value); }
    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& Value);
    int GetIndexValue() const { return Index(); }
    void SetIndexValue(int Value) { SetIndex(Value); }
    TOBLGraphicList* GetGraphicList() const;
    void Assign(TPersistent* Source) override;

    static void Publish(TClassBuilder<TOBLGraphicListItem>& c);

protected:
    AnsiString GetDisplayName() override;

private:
    void ImageListChange(TObject* Sender);

    TOwned<TPicture> picture_;
    AnsiString name_;
};

class TOBLGraphicListItems : public TCollection {
    VENDARO_CLASS(TOBLGraphicListItems, TCollection)
public:
    explicit TOBLGraphicListItems(TOBLGraphicList* AList);
    TOBLGraphicListItem* Items(int Index) const { return static_cast<TOBLGraphicListItem*>(TCollection::Items(Index)); }
    TOBLGraphicListItem* Add() { return static_cast<TOBLGraphicListItem*>(TCollection::Add()); }
    TOBLGraphicList* GraphicList() const { return list_; }

protected:
    void Update(TCollectionItem* Item) override;
    TPersistent* GetOwner() override;

private:
    TOBLGraphicList* list_;
};

// Entries naming the class library's image lists. An entry without an image list holds
// no picture.
class TOBLImageListConnector : public TOBLCustomImageList {
    VENDARO_CLASS(TOBLImageListConnector, TOBLCustomImageList)
public:
    explicit TOBLImageListConnector(TComponent* AOwner);
    ~TOBLImageListConnector() override;

    TOBLBorImageListItems* ImageLists() const { return imageLists_.get(); }
    void SetImageLists(TOBLBorImageListItems* Value) { imageLists_->Assign(Value); }

    int GetCount() override { return imageLists_->Count(); }
    bool GetEmpty() override { return imageLists_->Count() == 0; }
    TOBLListItem* GetItem(int Index) override;
    // Tells the links of a change, except while the connector is being freed.
    void Change() override;

    TCanvas* BmpCanvas(int ListIndex) override { return nullptr; }
    TRect ItemRect(int ListIndex, int ImageIndex) override;
    int Dimensions(int ListIndex, BYTE Which) override;
    int ItemCount(int ListIndex) override;
    bool IsValidItem(int ListIndex, int ImageIndex) override;
    void GetBitmapItem(int ListIndex, int ImageIndex, TBitmap* Bitmap) override;
    bool Masked(int ListIndex) override;
    HPALETTE Palette(int ListIndex) override { return nullptr; }
    TColor TransparentColor(int ListIndex, int ImageIndex) override;
    TColor GetColorAtPoint(const TPoint& Point, int ListIndex, int ImageIndex) override { return 0xFFFFFF; }
    void Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex) override;
    TRect DrawExt(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ListIndex, int ImageIndex) override;
    void ClipDraw(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ClipOffset, TColor TransColor, int ListIndex,
                  int ImageIndex) override;

    void Notification(TComponent* AComponent, TOperation Operation) override;

    static void Publish(TClassBuilder<TOBLImageListConnector>& c);

private:
    // The image list of entry L (EListError-like collection error past the end), or nil.
    TCustomImageList* EntryList(int ListIndex);

    TOwned<TOBLListItem> proxy_;
    TOwned<TOBLBorImageListItems> imageLists_;
};

// One picture of any graphic format per entry; the image index is ignored.
class TOBLGraphicList : public TOBLCustomImageList {
    VENDARO_CLASS(TOBLGraphicList, TOBLCustomImageList)
public:
    explicit TOBLGraphicList(TComponent* AOwner);
    ~TOBLGraphicList() override;

    TOBLGraphicListItems* Graphics() const { return graphics_.get(); }
    void SetGraphics(TOBLGraphicListItems* Value) { graphics_->Assign(Value); }

    int GetCount() override { return graphics_->Count(); }
    bool GetEmpty() override { return graphics_->Count() == 0; }
    TOBLListItem* GetItem(int Index) override;
    void Change() override;

    TCanvas* BmpCanvas(int ListIndex) override { return nullptr; }
    TRect ItemRect(int ListIndex, int ImageIndex) override;
    int Dimensions(int ListIndex, BYTE Which) override;
    int ItemCount(int ListIndex) override { return Valid(ListIndex) ? 1 : 0; }
    bool IsValidItem(int ListIndex, int ImageIndex) override { return Valid(ListIndex); }
    void GetBitmapItem(int ListIndex, int ImageIndex, TBitmap* Bitmap) override;
    bool Masked(int ListIndex) override { return false; }
    HPALETTE Palette(int ListIndex) override;
    TColor TransparentColor(int ListIndex, int ImageIndex) override;
    TColor GetColorAtPoint(const TPoint& Point, int ListIndex, int ImageIndex) override { return 0xFFFFFF; }
    void Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex) override;
    TRect DrawExt(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ListIndex, int ImageIndex) override;
    void ClipDraw(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ClipOffset, TColor TransColor, int ListIndex,
                  int ImageIndex) override;

    static void Publish(TClassBuilder<TOBLGraphicList>& c);

private:
    bool Valid(int ListIndex);
    TGraphic* Graphic(int ListIndex);

    TOwned<TOBLListItem> proxy_;
    TOwned<TOBLGraphicListItems> graphics_;
};

// ---------------------------------------------------------------------------------------
// String, generic and wave lists.

class TOBLStringListItem : public TOBLListItem {
    VENDARO_CLASS(TOBLStringListItem, TOBLListItem)
public:
    explicit TOBLStringListItem(TComponent* AOwner);
    ~TOBLStringListItem() override;

    TStrings* GetList() const { return list_.get(); }
    void SetList(TStrings* Value) { list_->Assign(Value); }

    // From a TStrings (lines only) or another string item.
    void Assign(TPersistent* Source) override;
    void FreeData() override { list_->Clear(); }
    bool GetEmpty() override { return list_->Count() == 0; }
    BYTE WriteFlag() override;
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

    static void Publish(TClassBuilder<TOBLStringListItem>& c);

private:
    TOwned<TStringList> list_;
};

// A block of raw bytes, with the name of the file it came from.
class TOBLGenericListItem : public TOBLListItem {
    VENDARO_CLASS(TOBLGenericListItem, TOBLListItem)
public:
    explicit TOBLGenericListItem(TComponent* AOwner);
    ~TOBLGenericListItem() override;

    TMemoryStream* Data() const { return data_.get(); }
    const AnsiString& DataFileName() const { return fileName_; }

    void Assign(TPersistent* Source) override;
    bool GetEmpty() override { return data_->Size() == 0; }
    void FreeData() override;
    // A missing file (or no name) empties the item.
    void LoadFromFile(const AnsiString& FileName);
    void SaveToFile(const AnsiString& FileName);
    // The raw data: it becomes the whole content of Stream, or is written to it. These
    // hide TOBLListItem's operations of the same names, which the container and the file
    // routines use (through the base) for the item record.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);
    void SaveToTempFile(AnsiString& FileName);

    BYTE WriteFlag() override;
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

private:
    TOwned<TMemoryStream> data_;
    AnsiString fileName_;
};

class TOBLWaveListItem : public TOBLListItem {
    VENDARO_CLASS(TOBLWaveListItem, TOBLListItem)
public:
    explicit TOBLWaveListItem(TComponent* AOwner);
    ~TOBLWaveListItem() override;

    TOBLWave* Wave() const { return wave_.get(); }
    void SetWave(TOBLWave* Value);

    void Assign(TPersistent* Source) override;
    bool GetEmpty() override;
    void FreeData() override;
    BYTE WriteFlag() override;
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

    static void Publish(TClassBuilder<TOBLWaveListItem>& c);

private:
    TOwned<TOBLWave> wave_;
};

class TOBLStringList : public TOBLCustomContainer {
    VENDARO_CLASS(TOBLStringList, TOBLCustomContainer)
public:
    explicit TOBLStringList(TComponent* AOwner);
    TOBLStringListItem* Items(int Index) { return static_cast<TOBLStringListItem*>(GetItem(Index)); }
    TOBLStringListItem* ItemByName(const AnsiString& Name)
    {
        return static_cast<TOBLStringListItem*>(GetItemByName(Name));
    }
    static void Publish(TClassBuilder<TOBLStringList>& c);
};

class TOBLGenericList : public TOBLCustomContainer {
    VENDARO_CLASS(TOBLGenericList, TOBLCustomContainer)
public:
    explicit TOBLGenericList(TComponent* AOwner);
    TOBLGenericListItem* Items(int Index) { return static_cast<TOBLGenericListItem*>(GetItem(Index)); }
    TOBLGenericListItem* ItemByName(const AnsiString& Name)
    {
        return static_cast<TOBLGenericListItem*>(GetItemByName(Name));
    }
    static void Publish(TClassBuilder<TOBLGenericList>& c);
};

class TOBLWaveList : public TOBLCustomContainer {
    VENDARO_CLASS(TOBLWaveList, TOBLCustomContainer)
public:
    explicit TOBLWaveList(TComponent* AOwner);
    TOBLWaveListItem* Items(int Index) { return static_cast<TOBLWaveListItem*>(GetItem(Index)); }
    TOBLWaveListItem* ItemByName(const AnsiString& Name)
    {
        return static_cast<TOBLWaveListItem*>(GetItemByName(Name));
    }
    static void Publish(TClassBuilder<TOBLWaveList>& c);
};

// ---------------------------------------------------------------------------------------
// The global container and the component that stores its lists in a form description.

class TOBLContainer : public TOBLBaseContainer {
    VENDARO_CLASS(TOBLContainer, TOBLBaseContainer)
public:
    explicit TOBLContainer(TComponent* AOwner);
    ~TOBLContainer() override;

    TOBLBitmapList* BitmapList() const { return bitmapList_; }
    TOBLImageList* ImageList() const { return imageList_; }
    TOBLWaveList* WaveList() const { return waveList_; }
    TOBLStringList* StringList() const { return stringList_; }
    // The lists are never replaced: the value is copied into them.
    void SetBitmapList(TOBLBitmapList* Value) { bitmapList_->Assign(Value); }
    void SetImageList(TOBLImageList* Value) { imageList_->Assign(Value); }
    void SetWaveList(TOBLWaveList* Value) { waveList_->Assign(Value); }
    void SetStringList(TOBLStringList* Value) { stringList_->Assign(Value); }

    // A list's change; while designing, a private container copies the changed list into
    // the global one first.
    void GetChange(TObject* Sender) override;

private:
    TOBLBitmapList* bitmapList_;
    TOBLImageList* imageList_;
    TOBLWaveList* waveList_;
    TOBLStringList* stringList_;
};

// The global container, from the library's start-up to its close-down.
extern TOBLContainer* OBLContainer;
void oblcontInitialization();
void oblcontFinalization();

// Stores the four lists of the global container (a private one while designing) as the
// binary properties "BitmapList", "ImageList", "WaveList" and "StringList" (stream form),
// each only when not empty.
class TOBLContainerCtrl : public TOBLCustomComponent {
    VENDARO_CLASS(TOBLContainerCtrl, TOBLCustomComponent)
public:
    explicit TOBLContainerCtrl(TComponent* AOwner);
    ~TOBLContainerCtrl() override;

    TOBLContainer* Container() const { return container_; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

    static void Publish(TClassBuilder<TOBLContainerCtrl>& c);

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    TOBLCustomContainer* List(int Which) const;
    void ReadStream(TStream* Stream);
    void WriteStream(TStream* Stream);

    TOBLContainer* container_;
    bool ownsContainer_ = false;
    // 1 bitmap list, 2 image list, 3 wave list, 4 string list, 0 none.
    BYTE currentList_ = 0;
};

// The global image lists in form descriptions: the string property "Internal" holds
// "OBLBML30" for the global container's bitmap list and "OBLIML30" for its image list.
void OBLWriteGlobalIdent(TWriter* Writer, TOBLCustomImageList* ImageList);
// Any other string answers nil.
TOBLCustomImageList* OBLReadGlobalIdent(TReader* Reader);
bool OBLIsGlobalIdent(TOBLCustomImageList* ImageList);

// Single items of container files.
bool OBLBMLGetItem(const AnsiString& FileName, int Index, TBitmap* Bitmap);
bool OBLIMLGetItem(const AnsiString& FileName, int Index, TOBLImageListItem* Item);
bool OBLWVLGetItem(const AnsiString& FileName, int Index, TOBLWave* Wave);
