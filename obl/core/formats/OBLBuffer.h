// Unit OBLBuffer: the abstract base of the library's item buffers, containers of
// untyped memory blocks with traversal, push and pop, an optional entry limit and
// a stream format ("@OBLBufferStream-V0.1@") that stores the items in order.
#pragma once

#include "obl/core/base/OBLObject.h"
#include "platform/classlib/Classes.h"
#include "platform/win/WinTypes.h"

// Items the buffer releases itself (no OnDestroyItem handler) are blocks of the
// run time's heap: allocate them with OBLAllocItem (std::malloc).
void* OBLAllocItem(int size);
void OBLFreeItem(void* item);

// (Sender, Item): the owner releases an item the buffer destroys.
using TOBLDestroyItemEvent = TEvent<TObject*, void*>;
// (Sender, Item, Size): the owner tells the byte size of an item.
using TOBLGetItemSizeEvent = TEvent<TObject*, void*, int&>;

class TOBLBuffer : public TOBLObject {
    VENDARO_CLASS(TOBLBuffer, TOBLObject)
public:
    TOBLBuffer();
    ~TOBLBuffer() override;

    virtual void FirstNode(void*& Node);
    virtual void NextNode(void*& Node);
    virtual void* GetItem(void* Node);
    virtual bool EOFBuffer(void* Node);
    virtual bool isEmpty();
    virtual bool isFull();
    virtual void Put(void* Item);
    virtual void* Get();
    virtual void Clear();
    virtual void LoadFromStream(TStream* Stream);
    virtual void SaveToStream(TStream* Stream);

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }

    int GetItemSize(void* Node);
    void LoadFromFile(const AnsiString& FileName);
    void SaveToFile(const AnsiString& FileName);

    // The greatest number of entries; -1 (or any negative value) means no limit.
    int MaxEntries() const { return maxEntries_; }
    void SetMaxEntries(int value) { maxEntries_ = value; }
    int Count() const { return count_; }

    TOBLDestroyItemEvent OnDestroyItem() const { return onDestroyItem_; }
    void SetOnDestroyItem(TOBLDestroyItemEvent value) { onDestroyItem_ = value; }
    TOBLGetItemSizeEvent OnGetItemSize() const { return onGetItemSize_; }
    void SetOnGetItemSize(TOBLGetItemSizeEvent value) { onGetItemSize_ = value; }

protected:
    // Put that tells whether the item was stored; a refused item stays with the
    // caller. Loading frees the blocks a buffer refuses.
    virtual bool TryPut(void* Item);
    bool HasLimit() const { return maxEntries_ >= 0; }
    int count_ = 0;

private:
    int updateCount_ = 0;
    int maxEntries_ = -1;
    TOBLDestroyItemEvent onDestroyItem_;
    TOBLGetItemSizeEvent onGetItemSize_;
};
