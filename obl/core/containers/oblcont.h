// Unit oblcont: named collections of resources (bitmaps, image strips, string lists, raw
// data, waves) kept in non-visual containers. This part holds what every list shares:
// the change link a control registers to hear of a container's changes, the container
// base that keeps those links, the stored item base and the list of items, and the
// stored forms of containers and items.
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

#include <vector>

class TOBLBaseContainer;
class TOBLCustomContainer;

// The binary property under which an item stores its record in a form description.
inline constexpr const char* IDS_INTERNAL = "Internal";

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
    // the items inside an update bracket; items read whole before a failure stay. A count
    // the stream cannot hold raises EReadError before any item is made.
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
// Reads item Index of a container file. Without a list the file's offset table is read
// first and a kind other than Kind raises Exception; a given list is trusted to hold the
// file's table.
bool OBLListGetItemFromFile(const AnsiString& FileName, TOBLListItemClassType Kind, TList* List,
                            TOBLListItem* Item, int Index);
