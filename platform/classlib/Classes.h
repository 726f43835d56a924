// The class library's non-visual core: the class registry, lists, string lists, persistent
// objects and streams.
#pragma once

#include "platform/classlib/SysUtils.h"
#include "platform/classlib/System.h"
#include "platform/classlib/TypInfo.h"
#include "platform/rtl/RtlConsts.h"

#include <cstdint>
#include <vector>

VENDARO_EXCEPTION(EStringListError, EListError);

class TFiler;
class TStream;

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
