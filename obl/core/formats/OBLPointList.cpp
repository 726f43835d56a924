#include "obl/core/formats/OBLPointList.h"

#include <cstdint>

namespace {

void* PackPoint(const POINT& p)
{
    const std::uint32_t packed = (static_cast<std::uint32_t>(p.x) << 16) | (static_cast<std::uint32_t>(p.y) & 0xFFFFu);
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(packed));
}

POINT UnpackPoint(void* entry)
{
    const auto packed = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(entry));
    return POINT{static_cast<int>(packed >> 16), static_cast<std::int16_t>(packed & 0xFFFFu)};
}

} // namespace

void TOBLPointList::GetChange(TObject* Sender)
{
    if (updateCount_ == 0 && onChange_) onChange_(Sender);
}

void TOBLPointList::GetPoint(int Index, POINT& P)
{
    if (Index > Count() - 1) return;
    P = UnpackPoint(Items(Index));
}

POINT TOBLPointList::Points(int Index)
{
    POINT p{0, 0};
    GetPoint(Index, p);
    return p;
}

void TOBLPointList::PutPoint(int Index, const POINT& P)
{
    if (Index > Count() - 1) return;
    SetItems(Index, PackPoint(P));
    GetChange(this);
}

void TOBLPointList::AddPoint(const POINT& P)
{
    PutPoint(Add(nullptr), P);
    GetChange(this);
}

void TOBLPointList::DeletePoint(int Index)
{
    Delete(Index);
    GetChange(this);
}

void TOBLPointList::Clone(TOBLPointList* Target)
{
    // Cloning into itself would clear the points it copies from.
    if (!Target || Target == this) return;
    Target->Clear();
    for (int i = 0; i < Count(); ++i) {
        POINT p{0, 0};
        GetPoint(i, p);
        Target->AddPoint(p);
    }
}

void TOBLPointList::BeginUpdate() { ++updateCount_; }

void TOBLPointList::EndUpdate(bool Notify)
{
    if (updateCount_ == 0) return;
    --updateCount_;
    if (Notify) GetChange(this);
}
