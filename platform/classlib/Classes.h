// The class library's non-visual core: the class registry, lists, string lists, persistent
// objects and streams.
#pragma once

#include "platform/classlib/SysUtils.h"
#include "platform/classlib/System.h"
#include "platform/classlib/TypInfo.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <vector>

VENDARO_EXCEPTION(EStringListError, EListError);

class TFiler;
class TStream;
class TComponent;

// Texts of the class library's own errors (the shared ones are in RtlConsts.h).
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
inline constexpr const char* SSortedListError = "Operation not allowed on sorted string list";
inline constexpr const char* SClassNotFound = "Class %s not found";
inline constexpr const char* SDuplicateClass = "A class named %s already exists";

// ---------------------------------------------------------------------------------------
// Class registry: the classes a form description may name. Registering a class registers
// its ancestors too; names are case-insensitive.

void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
// The registered class of that name; EClassNotFound when there is none.
TClass FindClass(const AnsiString& name);
// The registered class of that name, or null.
TClass GetClass(const AnsiString& name);

// ---------------------------------------------------------------------------------------
// TList: a list of untyped pointers. Index errors raise EListError and change nothing.

using TListSortCompare = int (*)(void* item1, void* item2);

class TList : public TObject {
    VENDARO_CLASS(TList, TObject)
public:
    TList() = default;

    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    int Remove(void* item);
    int IndexOf(void* item) const;
    void* Items(int index) const;
    void SetItems(int index, void* item);
    void* operator[](int index) const { return Items(index); }
    void Move(int curIndex, int newIndex);
    void Exchange(int index1, int index2);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    void SetCount(int count);
    int Capacity() const { return capacity_; }
    void SetCapacity(int capacity);
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }
    void Sort(TListSortCompare compare);
    // Removes the item without any other effect; returns it, or null when absent.
    void* Extract(void* item);

private:
    void CheckIndex(int index) const;

    std::vector<void*> items_;
    int capacity_ = 0;
};

// ---------------------------------------------------------------------------------------
// TPersistent: objects that can be assigned and stored.

class TPersistent : public TObject {
    VENDARO_CLASS(TPersistent, TObject)
public:
    TPersistent() = default;

    // Copies Source into this object; the default asks Source to AssignTo this object, and
    // a pair that cannot be assigned raises EConvertError "Cannot assign a X to a Y".
    virtual void Assign(TPersistent* source);
    virtual AnsiString GetNamePath();

protected:
    virtual void AssignTo(TPersistent* dest);
    // Properties stored by the object itself rather than through its published list.
    virtual void DefineProperties(TFiler* filer) {}
    virtual TPersistent* GetOwner() { return nullptr; }
    [[noreturn]] void AssignError(TPersistent* source);

    friend class TFiler;
    friend class TReader;
    friend class TWriter;
    friend class TCollection;
};

// ---------------------------------------------------------------------------------------
// TStrings / TStringList

enum class TDuplicates : std::uint8_t { dupIgnore, dupAccept, dupError };
using enum TDuplicates;

class TStrings : public TPersistent {
    VENDARO_CLASS(TStrings, TPersistent)
public:
    TStrings() = default;

    virtual int Add(const AnsiString& s);
    virtual int AddObject(const AnsiString& s, TObject* object);
    virtual void AddStrings(TStrings* strings);
    virtual void Insert(int index, const AnsiString& s) = 0;
    void InsertObject(int index, const AnsiString& s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);

    int Count() const { return GetCount(); }
    AnsiString Strings(int index) const { return Get(index); }
    void SetStrings(int index, const AnsiString& s) { Put(index, s); }
    AnsiString operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }

    // Case-insensitive searches (AnsiCompareText).
    virtual int IndexOf(const AnsiString& s) const;
    int IndexOfName(const AnsiString& name) const;
    int IndexOfObject(TObject* object) const;
    // "name=value" lines: the text before the first "=", the text after it.
    AnsiString Names(int index) const;
    AnsiString Values(const AnsiString& name) const;
    // An empty value deletes the line; a new name is added at the end.
    void SetValues(const AnsiString& name, const AnsiString& value);

    // Every line followed by CR LF; setting splits at CR LF, CR or LF.
    virtual AnsiString Text() const;
    virtual void SetText(const AnsiString& text);
    AnsiString CommaText() const;
    void SetCommaText(const AnsiString& text);

    bool Equals(TStrings* strings) const;
    void Assign(TPersistent* source) override;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    virtual void LoadFromStream(TStream* stream);
    virtual void SaveToStream(TStream* stream) const;
    void LoadFromFile(const AnsiString& fileName);
    void SaveToFile(const AnsiString& fileName) const;

    virtual int Capacity() const { return Count(); }
    virtual void SetCapacity(int) {}

protected:
    // The lines are stored as the defined property "Strings", a list of strings.
    void DefineProperties(TFiler* filer) override;
    virtual AnsiString Get(int index) const = 0;
    virtual int GetCount() const = 0;
    virtual TObject* GetObject(int index) const { return nullptr; }
    virtual void Put(int index, const AnsiString& s);
    virtual void PutObject(int index, TObject* object) {}
    virtual void SetUpdateState(bool updating) {}
    [[noreturn]] static void Error(const char* message, int data);

private:
    int updateCount_ = 0;
};

class TStringList;
// Compares the items at two indexes of a list: <0, 0, >0.
using TStringListSortCompare = int (*)(TStringList* list, int index1, int index2);

class TStringList : public TStrings {
    VENDARO_CLASS(TStringList, TStrings)
public:
    TStringList() = default;

    int Add(const AnsiString& s) override;
    void Insert(int index, const AnsiString& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    void Move(int curIndex, int newIndex) override;
    int IndexOf(const AnsiString& s) const override;

    // Binary search of a sorted list: true when found; Index is the match, or where the
    // string would be inserted.
    virtual bool Find(const AnsiString& s, int& index) const;
    virtual void Sort();
    virtual void CustomSort(TStringListSortCompare compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates value) { duplicates_ = value; }

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }
    TNotifyEvent OnChanging() const { return onChanging_; }
    void SetOnChanging(TNotifyEvent value) { onChanging_ = value; }

    int Capacity() const override { return static_cast<int>(items_.capacity()); }
    void SetCapacity(int capacity) override;

protected:
    AnsiString Get(int index) const override;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    TObject* GetObject(int index) const override;
    void Put(int index, const AnsiString& s) override;
    void PutObject(int index, TObject* object) override;
    void SetUpdateState(bool updating) override;
    virtual void Changed();
    virtual void Changing();

private:
    struct Item {
        AnsiString text;
        TObject* object = nullptr;
    };
    void CheckIndex(int index) const;
    void InsertItem(int index, const AnsiString& s);
    void QuickSort(int l, int r, TStringListSortCompare compare);

    std::vector<Item> items_;
    bool sorted_ = false;
    TDuplicates duplicates_ = dupIgnore;
    TNotifyEvent onChange_;
    TNotifyEvent onChanging_;
};

// ---------------------------------------------------------------------------------------
// Streams. Positions and sizes are 32-bit, as the original's. Positioning past the end is
// allowed; a later write there extends the stream, the gap reading as zeros.

constexpr std::uint16_t soFromBeginning = 0;
constexpr std::uint16_t soFromCurrent = 1;
constexpr std::uint16_t soFromEnd = 2;

class TStream : public TObject {
    VENDARO_CLASS(TStream, TObject)
public:
    TStream() = default;

    // Read and Write return the count of bytes moved.
    virtual int Read(void* buffer, int count) = 0;
    virtual int Write(const void* buffer, int count) = 0;
    virtual int Seek(int offset, std::uint16_t origin) = 0;
    // Move exactly count bytes or raise EReadError / EWriteError.
    void ReadBuffer(void* buffer, int count);
    void WriteBuffer(const void* buffer, int count);
    // Copies count bytes from the source's position; a count of 0 copies the whole source
    // from its start. Returns the count copied.
    int CopyFrom(TStream* source, int count);

    // A component and everything it owns, as a text form description (see TReader).
    TComponent* ReadComponent(TComponent* instance);
    void WriteComponent(TComponent* instance);

    int Position() { return Seek(0, soFromCurrent); }
    void SetPosition(int position) { Seek(position, soFromBeginning); }
    virtual int Size();
    virtual void SetSize(int newSize) {}
};

// A stream over an open file descriptor of the host, which it does not close.
class THandleStream : public TStream {
    VENDARO_CLASS(THandleStream, TStream)
public:
    explicit THandleStream(int handle) : handle_(handle) {}

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int Seek(int offset, std::uint16_t origin) override;
    void SetSize(int newSize) override;
    int Handle() const { return handle_; }

protected:
    int handle_;
};

constexpr std::uint16_t fmCreate = 0xFFFF;
constexpr std::uint16_t fmOpenRead = 0x0000;
constexpr std::uint16_t fmOpenWrite = 0x0001;
constexpr std::uint16_t fmOpenReadWrite = 0x0002;
constexpr std::uint16_t fmShareCompat = 0x0000;
constexpr std::uint16_t fmShareExclusive = 0x0010;
constexpr std::uint16_t fmShareDenyWrite = 0x0020;
constexpr std::uint16_t fmShareDenyRead = 0x0030;
constexpr std::uint16_t fmShareDenyNone = 0x0040;

// A file named by a Windows-form path. fmCreate creates or empties the file; the share
// flags are accepted and have no effect. Failures raise EFCreateError / EFOpenError
// naming the file.
class TFileStream : public THandleStream {
    VENDARO_CLASS(TFileStream, THandleStream)
public:
    TFileStream(const AnsiString& fileName, std::uint16_t mode);
    ~TFileStream() override;
    const AnsiString& FileName() const { return fileName_; }

private:
    AnsiString fileName_;
};

// A stream over a block of memory it does not own: the base of the memory and resource
// streams.
class TCustomMemoryStream : public TStream {
    VENDARO_CLASS(TCustomMemoryStream, TStream)
public:
    TCustomMemoryStream() = default;

    int Read(void* buffer, int count) override;
    int Seek(int offset, std::uint16_t origin) override;
    int Size() override { return size_; }
    void SaveToStream(TStream* stream);
    void SaveToFile(const AnsiString& fileName);
    const void* Memory() const { return memory_; }

protected:
    void SetPointer(const char* memory, int size);
    int position_ = 0;

private:
    const char* memory_ = nullptr;
    int size_ = 0;
};

inline constexpr const char* SResNotFound = "Resource %s not found";
inline constexpr const char* SCantWriteResourceStreamError = "Can't write to a read-only resource stream";

// A read-only view of a resource compiled into a module (null: the program). A missing
// resource raises EResNotFound; writing raises EStreamError.
class TResourceStream : public TCustomMemoryStream {
    VENDARO_CLASS(TResourceStream, TCustomMemoryStream)
public:
    TResourceStream(HINSTANCE instance, const AnsiString& resName, LPCSTR resType);
    // The resource with a numeric identifier.
    TResourceStream(HINSTANCE instance, int resId, LPCSTR resType);

    int Write(const void* buffer, int count) override;

private:
    void Initialize(HINSTANCE instance, LPCSTR name, LPCSTR resType, const AnsiString& shownName);
};

// Reads the form description compiled into the program as the RT_RCDATA resource of that
// name into instance (null: a new component of the class the text names).
TComponent* ReadComponentRes(const AnsiString& resName, TComponent* instance);

class TMemoryStream : public TCustomMemoryStream {
    VENDARO_CLASS(TMemoryStream, TCustomMemoryStream)
public:
    TMemoryStream() = default;

    int Write(const void* buffer, int count) override;
    // Growing fills with zeros; a position past the new end moves to the end.
    void SetSize(int newSize) override;
    void Clear();
    // Replace the whole content with the whole of the stream (read from its start).
    void LoadFromStream(TStream* stream);
    void LoadFromFile(const AnsiString& fileName);
    void* Memory() { return data_.data(); }

private:
    void Resize(int size);

    std::vector<char> data_;
};

class TStringStream : public TStream {
    VENDARO_CLASS(TStringStream, TStream)
public:
    explicit TStringStream(const AnsiString& data = AnsiString()) : data_(data) {}

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int Seek(int offset, std::uint16_t origin) override;
    void SetSize(int newSize) override;
    // Up to count bytes from the position on.
    AnsiString ReadString(int count);
    void WriteString(const AnsiString& s);
    const AnsiString& DataString() const { return data_; }

private:
    AnsiString data_;
    int position_ = 0;
};

// ---------------------------------------------------------------------------------------
// TBits: a growable array of bits.

VENDARO_EXCEPTION(EBitsError, Exception);

class TBits : public TObject {
    VENDARO_CLASS(TBits, TObject)
public:
    TBits() = default;

    // Reading outside 0..Size-1 raises EBitsError; setting past the end grows the set.
    bool Bits(int index) const;
    void SetBits(int index, bool value);
    int Size() const { return static_cast<int>(bits_.size()); }
    void SetSize(int size);
    // Index of the first clear bit; Size when every bit is set.
    int OpenBit() const;

private:
    std::vector<bool> bits_;
};

// ---------------------------------------------------------------------------------------
// TComponent

class TReader;
class TWriter;

VENDARO_EXCEPTION(EComponentError, Exception);

enum class TComponentStateItem : std::uint8_t {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups,
    csFreeNotification, csInline, csDesignInstance
};
using enum TComponentStateItem;
using TComponentState = TSet<TComponentStateItem>;

enum class TComponentStyleItem : std::uint8_t { csInheritable, csCheckPropAvail };
using enum TComponentStyleItem;
using TComponentStyle = TSet<TComponentStyleItem>;

enum class TOperation : std::uint8_t { opInsert, opRemove };
using enum TOperation;

class TComponent;
using TGetChildProc = std::function<void(TComponent* child)>;

inline constexpr const char* SInvalidName = "''%s'' is not a valid component name";
inline constexpr const char* SDuplicateName = "A component named %s already exists";

// A component belongs to its owner, which frees it. Ending a component, by Free or by
// delete alike (see TObject), first marks it (and what it owns) destroying, tells every
// component that asked for a free notification and its owner's components (opRemove)
// while it is whole, then destroys it; its own components are freed last to first after
// its destructor body has run.
class TComponent : public TPersistent {
    VENDARO_CLASS(TComponent, TPersistent)
public:
    using ConstructorArgument = TComponent;

    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    void BeforeDestruction() override;

    TComponent* Owner() const { return owner_; }
    const AnsiString& Name() const { return name_; }
    // An identifier or empty; a name taken by another component of the owner raises
    // EComponentError.
    virtual void SetName(const AnsiString& name);
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    // Position in the owner's list; setting clamps to the list.
    int ComponentIndex() const;
    void SetComponentIndex(int index);
    TComponent* FindComponent(const AnsiString& name) const;

    TComponentState ComponentState() const { return state_; }
    TComponentStyle ComponentStyle() const { return style_; }
    // Marks (or unmarks) this component and everything it owns as being designed.
    void SetDesigning(bool value, bool setChildren = true);

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();
    void Destroying();

    // Asks to be told (Notification opRemove) when the other component goes; mutual.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    AnsiString GetNamePath() override;

    // The streaming protocol.
    virtual void GetChildren(TGetChildProc proc, TComponent* root) {}
    virtual TComponent* GetChildOwner() { return nullptr; }
    virtual TComponent* GetChildParent() { return this; }
    virtual void SetChildOrder(TComponent* child, int order) {}
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* parent) {}
    virtual void ReadState(TReader* reader);
    virtual void WriteState(TWriter* writer);
    virtual void Loaded();
    virtual void Notification(TComponent* component, TOperation operation);

    static void Publish(TClassBuilder<TComponent>& c);

protected:
    TPersistent* GetOwner() override { return owner_; }
    virtual void ValidateRename(TComponent* component, const AnsiString& curName, const AnsiString& newName);
    void SetComponentStyle(TComponentStyle style) { style_ = style; }
    void IncludeState(TComponentStateItem item) { state_.Include(item); }
    void ExcludeState(TComponentStateItem item) { state_.Exclude(item); }
    // Called on the root of a description once it is read and Loaded has run on everything
    // read with it: what waits for the whole description (a control's windows) comes now.
    virtual void ReadingFinished() {}

    friend class TReader;
    friend class TWriter;

private:
    void Attach(TComponent* component);
    void Detach(TComponent* component);
    void ForgetNotification(TComponent* component);
    void SendFreeNotifications();
    void Release();

    TComponent* owner_ = nullptr;
    AnsiString name_;
    int tag_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    TComponentState state_;
    TComponentStyle style_{csInheritable};
    bool released_ = false;
};

bool IsValidIdent(const AnsiString& ident);

// ---------------------------------------------------------------------------------------
// TCollection / TCollectionItem

class TCollection;

class TCollectionItem : public TPersistent {
    VENDARO_CLASS(TCollectionItem, TPersistent)
public:
    using ConstructorArgument = TCollection;

    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* collection);
    int ID() const { return id_; }
    int Index() const;
    // Moves the item to that position of its collection.
    virtual void SetIndex(int index);
    AnsiString DisplayName() { return GetDisplayName(); }
    virtual void SetDisplayName(const AnsiString& value);
    AnsiString GetNamePath() override;

protected:
    virtual AnsiString GetDisplayName() { return ClassName(); }
    // Tells the collection: this item changed, or (allItems) the whole collection.
    void Changed(bool allItems);
    TPersistent* GetOwner() override;

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

class TCollection : public TPersistent {
    VENDARO_CLASS(TCollection, TPersistent)
public:
    explicit TCollection(TClass itemClass);
    ~TCollection() override;

    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int Count() const { return items_.Count(); }
    TCollectionItem* Items(int index) const { return static_cast<TCollectionItem*>(items_.Items(index)); }
    void SetItems(int index, TCollectionItem* value) { Items(index)->Assign(value); }
    TCollectionItem* FindItemID(int id) const;
    TClass ItemClass() const { return itemClass_; }
    void Assign(TPersistent* source) override;
    virtual void BeginUpdate() { ++updateCount_; }
    virtual void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    AnsiString GetNamePath() override;

protected:
    // A change: of one item, or of the whole collection (null: items added, removed, moved).
    virtual void Update(TCollectionItem* item) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    TClass itemClass_;
    TList items_;
    int updateCount_ = 0;
    int nextId_ = 0;
};

// A collection that names its owner (for the name path and the streaming of its items).
class TOwnedCollection : public TCollection {
    VENDARO_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* owner, TClass itemClass) : TCollection(itemClass), owner_(owner) {}

protected:
    TPersistent* GetOwner() override { return owner_; }

private:
    TPersistent* owner_;
};

// ---------------------------------------------------------------------------------------
// The filer: form descriptions in their text form.
//
//     object Form1: TForm1
//       Caption = 'Vendaro'#13#10'5'
//       Font.Name = 'MS Sans Serif'
//       Anchors = [akLeft, akTop]
//       Items.Strings = (
//         'one'
//         'two')
//       Columns = <
//         item
//           Width = 10
//         end>
//       Data = {
//         0A0B0C}
//       OnClick = Button1Click
//       object Button1: TButton
//         Tag = 3
//       end
//     end
//
// Values: integers (decimal or $hex), floats, strings ('...' with '' for a quote, #n for
// any byte, pieces joined directly or with +), identifiers (enumeration values, True,
// False, nil, component names, method names), sets [...], lists (...), collections <...>
// and binary blocks {hex}. Published properties are written before defined ones, values
// equal to their default are not written. Malformed text raises EReadError naming the line.

enum class TValueType : std::uint8_t {
    vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
    vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64
};
using enum TValueType;

using TReaderProc = std::function<void(TReader* reader)>;
using TWriterProc = std::function<void(TWriter* writer)>;
using TStreamProc = std::function<void(TStream* stream)>;

class TFiler : public TObject {
    VENDARO_CLASS(TFiler, TObject)
public:
    explicit TFiler(TStream* stream) : stream_(stream) {}

    // A property the object stores itself. The reader calls readData when the property
    // being read has this name; the writer calls writeData when hasData is true.
    virtual void DefineProperty(const AnsiString& name, TReaderProc readData, TWriterProc writeData, bool hasData) = 0;
    // The same for raw bytes, kept as a binary block.
    virtual void DefineBinaryProperty(const AnsiString& name, TStreamProc readData, TStreamProc writeData,
                                      bool hasData) = 0;

    TComponent* Root() const { return root_; }
    void SetRoot(TComponent* root) { root_ = root; }

protected:
    static void CallDefineProperties(TPersistent* instance, TFiler* filer) { instance->DefineProperties(filer); }

    TStream* stream_;
    TComponent* root_ = nullptr;
};

class TReader : public TFiler {
    VENDARO_CLASS(TReader, TFiler)
public:
    // Reads the text from the stream's position to its end.
    explicit TReader(TStream* stream);
    ~TReader() override;

    // Reads a whole description into root (its name is set from the text), or, for a null
    // root, into a new component of the registered class the text names. Component
    // references are fixed and Loaded is called on every component read, once all is read;
    // then the root's ReadingFinished.
    TComponent* ReadRootComponent(TComponent* root);
    // Reads one nested "object ... end" into the component given, or into a new one made
    // through the class registry with owner Owner(); Parent() is the parent the component's
    // ReadState may take. A component made here is freed again when its reading fails.
    // Called on its own (not from a description being read), it finishes the loading of
    // what it read: references are fixed (by the root, else the owner, else the component)
    // and Loaded is called on the component and its children.
    TComponent* ReadComponent(TComponent* component);
    // The properties and children of an instance, up to its "end".
    void ReadData(TComponent* instance);
    void ReadProperty(TPersistent* instance);
    void ReadCollection(TCollection* collection);

    TComponent* Owner() const { return owner_; }
    void SetOwner(TComponent* owner) { owner_ = owner; }
    TComponent* Parent() const { return parent_; }
    void SetParent(TComponent* parent) { parent_ = parent; }

    TValueType NextValue();
    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    int ReadInteger();
    std::int64_t ReadInt64();
    AnsiString ReadString();
    AnsiString ReadIdent();
    bool ReadBoolean();
    double ReadFloat();
    char ReadChar();
    // Bytes of binary blocks, read across consecutive blocks; too few raise EReadError.
    // Bytes of a block left unread when another value is read are skipped.
    void Read(void* buffer, int count);

    void DefineProperty(const AnsiString& name, TReaderProc readData, TWriterProc writeData, bool hasData) override;
    void DefineBinaryProperty(const AnsiString& name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

private:
    struct Fixup {
        TPersistent* instance;
        PPropInfo prop;
        AnsiString name;
    };
    struct Header {
        AnsiString name;
        AnsiString className;
    };

    [[noreturn]] void Error(const AnsiString& message) const;
    void SkipBlanks();
    char Peek();
    void Expect(char c);
    bool AtKeyword(const char* keyword);
    void ExpectKeyword(const char* keyword);
    bool AtObjectStart();
    AnsiString ReadName();
    Header ReadHeader();
    AnsiString ReadNumberText();
    std::vector<char> ReadBinary();
    std::uint32_t ReadSet(PTypeInfo setType);
    void ReadPropValue(TPersistent* instance, PPropInfo prop);
    void ReadObjectValue(TPersistent* instance, PPropInfo prop);
    void ReadMethodValue(TPersistent* instance, PPropInfo prop);
    TComponent* FindReference(const AnsiString& name) const;
    void FixupReferences();
    void FinishLoading();
    void AbandonFrom(std::size_t loaded, std::size_t fixups);
    void ReadDefined(const AnsiString& name, const std::function<void()>& read);

    AnsiString text_;
    int pos_ = 1;
    int line_ = 1;
    AnsiString propName_;
    AnsiString propPath_;        // the defined property being read, as the text names it
    mutable bool raised_ = false; // the last error came from Error
    TComponent* owner_ = nullptr;
    TComponent* parent_ = nullptr;
    std::vector<TComponent*> loaded_;
    std::vector<Fixup> fixups_;
    int depth_ = 0; // components and roots being read
    std::vector<char> binary_;
    std::size_t binaryPos_ = 0;
    int binaryEnd_ = 0; // the text position after the block binary_ holds
};

class TWriter : public TFiler {
    VENDARO_CLASS(TWriter, TFiler)
public:
    explicit TWriter(TStream* stream) : TFiler(stream) {}

    void WriteRootComponent(TComponent* root);
    void WriteComponent(TComponent* component);
    // The header, properties and children of an instance, and its "end".
    void WriteData(TComponent* instance);
    void WriteProperties(TPersistent* instance);
    void WriteCollection(TCollection* collection);

    void WriteListBegin();
    void WriteListEnd();
    void WriteInteger(std::int64_t value);
    void WriteString(const AnsiString& value);
    void WriteIdent(const AnsiString& ident);
    void WriteBoolean(bool value);
    void WriteFloat(double value);
    void WriteChar(char value);
    // Bytes of a binary block; consecutive writes make one block.
    void Write(const void* buffer, int count);

    void DefineProperty(const AnsiString& name, TReaderProc readData, TWriterProc writeData, bool hasData) override;
    void DefineBinaryProperty(const AnsiString& name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

private:
    void Emit(const AnsiString& text);
    void NewLine();
    void Indent(int extra = 0);
    void BeginValue();
    void FlushBinary();
    void WritePropName(const AnsiString& name);
    void EndProperty();
    void WriteProperty(TPersistent* instance, PPropInfo prop);
    void WriteOrdinal(TPersistent* instance, PPropInfo prop);
    void WriteObjectProperty(TPersistent* instance, PPropInfo prop);
    void WriteMethodProperty(TPersistent* instance, PPropInfo prop);
    AnsiString ReferenceName(TComponent* component) const;

    int level_ = 0;
    int listDepth_ = 0;
    AnsiString propPath_;
    std::vector<char> binary_;
};
