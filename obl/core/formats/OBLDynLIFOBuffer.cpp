#include "obl/core/formats/OBLDynLIFOBuffer.h"

#include <algorithm>

TOBLDynLIFOBuffer::TOBLDynLIFOBuffer() = default;

TOBLDynLIFOBuffer::~TOBLDynLIFOBuffer() { Clear(); }

void TOBLDynLIFOBuffer::FirstNode(void*& Node)
{
    walk_.clear();
    for (POBLDynNode node = top_; node; node = node->Next) walk_.push_back(node);
    std::reverse(walk_.begin(), walk_.end());
    walkAt_ = 0;
    Node = walk_.empty() ? nullptr : walk_.front();
}

void TOBLDynLIFOBuffer::NextNode(void*& Node)
{
    if (walkAt_ < walk_.size() && walk_[walkAt_] == Node) {
        ++walkAt_;
        if (walkAt_ < walk_.size()) {
            Node = walk_[walkAt_];
        } else {
            Node = nullptr;
            std::vector<POBLDynNode>().swap(walk_); // the walk is over
        }
        return;
    }
    // A node that is not where the last walk stands: the next newer one from the top.
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
    Changed();
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
    Changed();
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
    Changed();
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
    Changed();
    top_ = new TOBLDynNode{Item, top_};
    ++count_;
}
