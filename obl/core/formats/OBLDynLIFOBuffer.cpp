#include "obl/core/formats/OBLDynLIFOBuffer.h"

TOBLDynLIFOBuffer::TOBLDynLIFOBuffer() = default;

TOBLDynLIFOBuffer::~TOBLDynLIFOBuffer() { Clear(); }

void TOBLDynLIFOBuffer::FirstNode(void*& Node)
{
    POBLDynNode node = top_;
    while (node && node->Next) node = node->Next;
    Node = node;
}

void TOBLDynLIFOBuffer::NextNode(void*& Node)
{
    POBLDynNode node = top_;
    while (node && node->Next != Node) node = node->Next;
    Node = node;
}

void* TOBLDynLIFOBuffer::GetItem(void* Node) { return static_cast<POBLDynNode>(Node)->Item; }

bool TOBLDynLIFOBuffer::EOFBuffer(void* Node) { return Node == nullptr; }

bool TOBLDynLIFOBuffer::isEmpty() { return top_ == nullptr; }

bool TOBLDynLIFOBuffer::isFull() { return HasLimit() && count_ >= MaxEntries(); }

void TOBLDynLIFOBuffer::Put(void* Item) { TryPut(Item); }

bool TOBLDynLIFOBuffer::TryPut(void* Item)
{
    if (isFull()) {
        // A limit of 0 has no entry to make room from: the item is refused.
        if (!circleMode_ || MaxEntries() == 0) return false;
        if (MaxEntries() == 1) Clear();
        else DropOldest();
    }
    Push(Item);
    return true;
}

void* TOBLDynLIFOBuffer::Get()
{
    if (isEmpty()) return nullptr;
    const POBLDynNode node = top_;
    top_ = node->Next;
    --count_;
    void* item = node->Item;
    delete node;
    return item;
}

void TOBLDynLIFOBuffer::Clear()
{
    // Each node leaves the list before its item is destroyed, so a handler that
    // looks at the buffer sees only entries that are still held.
    while (top_) {
        const POBLDynNode node = top_;
        top_ = node->Next;
        --count_;
        void* item = node->Item;
        delete node;
        clearItem(item);
    }
    count_ = 0;
}

void TOBLDynLIFOBuffer::clearItem(void* Item)
{
    const TOBLDestroyItemEvent handler = OnDestroyItem();
    if (handler) handler(this, Item);
    else OBLFreeItem(Item);
}

void TOBLDynLIFOBuffer::DropOldest()
{
    POBLDynNode before = nullptr;
    POBLDynNode last = top_;
    while (last->Next) {
        before = last;
        last = last->Next;
    }
    if (before) before->Next = nullptr;
    else top_ = nullptr;
    --count_;
    void* item = last->Item;
    delete last;
    clearItem(item);
}

void TOBLDynLIFOBuffer::Push(void* Item)
{
    top_ = new TOBLDynNode{Item, top_};
    ++count_;
}
