#include "platform/classlib/Classes.h"

#include <algorithm>

void TList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(SListIndexError, {index});
}

int TList::Add(void* item)
{
    items_.push_back(item);
    capacity_ = std::max(capacity_, Count());
    return Count() - 1;
}

void TList::Insert(int index, void* item)
{
    if (index < 0 || index > Count())
        throw EListError(SListIndexError, {index});
    items_.insert(items_.begin() + index, item);
    capacity_ = std::max(capacity_, Count());
}

void TList::Delete(int index)
{
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* item)
{
    int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

void* TList::Extract(void* item)
{
    return Remove(item) >= 0 ? item : nullptr;
}

int TList::IndexOf(void* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void* TList::Items(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)];
}

void TList::SetItems(int index, void* item)
{
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)] = item;
}

void TList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    void* item = items_[static_cast<std::size_t>(curIndex)];
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, item);
}

void TList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
}

void TList::Clear()
{
    items_.clear();
    capacity_ = 0;
}

void TList::SetCount(int count)
{
    if (count < 0)
        throw EListError(SListIndexError, {count});
    items_.resize(static_cast<std::size_t>(count), nullptr);
    capacity_ = std::max(capacity_, count);
}

void TList::SetCapacity(int capacity)
{
    if (capacity < Count())
        throw EListError(SListIndexError, {capacity});
    capacity_ = capacity;
    items_.reserve(static_cast<std::size_t>(capacity));
}

void TList::Sort(TListSortCompare compare)
{
    // A stable sort: items that compare equal keep their order.
    std::stable_sort(items_.begin(), items_.end(), [compare](void* a, void* b) { return compare(a, b) < 0; });
}
