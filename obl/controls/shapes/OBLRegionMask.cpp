#include "obl/controls/shapes/OBLRegionMask.h"

#include "obl/core/containers/oblcont.h"
#include "obl/core/formats/Oblstreamutils.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/win/gdi/Gdi.h"

#include <cstring>

namespace {

constexpr const char* kBitmapNames[3] = {"BorderBmp", "BorderUpBmp", "BorderDnBmp"};

// Region data as GetRegionData gives it: the header, then exactly nCount rectangles.
bool WellFormedRegionData(const std::vector<BYTE>& data)
{
    if (data.size() < sizeof(RGNDATAHEADER))
        return false;
    RGNDATAHEADER header;
    std::memcpy(&header, data.data(), sizeof header);
    if (header.nCount > (data.size() - sizeof header) / sizeof(RECT) ||
        data.size() != sizeof header + header.nCount * sizeof(RECT))
        return false;
    HRGN region = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
    if (!region)
        return false;
    DeleteObject(region);
    return true;
}

} // namespace

TOBLRegionMask::TOBLRegionMask()
{
    for (auto& bitmap : bitmaps_)
        bitmap.reset(new TBitmap);
}

TOBLRegionMask::~TOBLRegionMask() = default;

void TOBLRegionMask::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TOBLRegionMask*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    if (other == this)
        return;
    FreeMem();
    if (other->data_.empty())
        return;
    data_ = other->data_;
    for (int i = 0; i < 3; ++i)
        bitmaps_[i]->Assign(other->bitmaps_[i].get());
}

int TOBLRegionMask::RegionDataSize() const
{
    return data_.empty() ? storedSize_.value_or(0) : static_cast<int>(data_.size());
}

void TOBLRegionMask::SetRegionData(std::vector<BYTE> Block)
{
    FreeMem();
    data_ = std::move(Block);
}

void TOBLRegionMask::GetMem()
{
    const int size = storedSize_.value_or(RegionDataSize());
    if (size < 0)
        throw EInvalidOperation("Invalid region data size " + IntToStr(size));
    FreeMem();
    data_.assign(static_cast<std::size_t>(size), 0);
}

void TOBLRegionMask::GetRegionData(HRGN Rgn)
{
    FreeMem();
    const DWORD size = Rgn ? ::GetRegionData(Rgn, 0, nullptr) : 0;
    if (size == 0)
        return;
    std::vector<BYTE> block(size);
    if (::GetRegionData(Rgn, size, reinterpret_cast<RGNDATA*>(block.data())) == size)
        data_ = std::move(block);
}

void TOBLRegionMask::FreeMem()
{
    data_.clear();
    data_.shrink_to_fit();
    storedSize_.reset();
}

HRGN TOBLRegionMask::CreateRegion() const
{
    if (data_.empty())
        return nullptr;
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data_.size()), reinterpret_cast<const RGNDATA*>(data_.data()));
}

void TOBLRegionMask::SetBorderBmp(int Index, TBitmap* Value)
{
    if (Index >= 0 && Index < 3)
        bitmaps_[Index]->Assign(Value);
}

void TOBLRegionMask::CreateBorderBmp(int Index)
{
    if (!bitmaps_[Index])
        bitmaps_[Index].reset(new TBitmap);
}

void TOBLRegionMask::CreateBorderUpBmp() { CreateBorderBmp(bbBorderUp); }

void TOBLRegionMask::CreateBorderDnBmp() { CreateBorderBmp(bbBorderDn); }

// The whole block is checked before it replaces the stored one, so damaged data leaves
// the mask as it was.
void TOBLRegionMask::ReadRegionData(TStream* Stream)
{
    const std::optional<int> announced = storedSize_;
    storedSize_.reset();
    const int size = Stream->Size() - Stream->Position();
    if (announced && *announced != size)
        throw EReadError(SReadError);
    std::vector<BYTE> block(static_cast<std::size_t>(size));
    if (size > 0)
        Stream->ReadBuffer(block.data(), size);
    if (!WellFormedRegionData(block))
        throw EReadError(SReadError);
    data_ = std::move(block);
}

void TOBLRegionMask::WriteRegionData(TStream* Stream)
{
    Stream->WriteBuffer(data_.data(), static_cast<int>(data_.size()));
}

void TOBLRegionMask::ReadBitmap(TStream* Stream, int Index)
{
    BYTE flag = 0;
    if (Stream->Read(&flag, 1) != 1)
        throw EReadError(SReadError);
    // The flag is taken only with a bitmap read whole, so a damaged block changes nothing.
    TBitmap read;
    stReadBitmap(Stream, &read, flag != 0);
    compressed_ = flag != 0;
    bitmaps_[Index]->Assign(&read);
}

void TOBLRegionMask::WriteBitmap(TStream* Stream, int Index)
{
    stWriteByte(Stream, compressed_ ? 1 : 0);
    stWriteBitmap(Stream, bitmaps_[Index].get(), compressed_, OBLPixelFormatCode(spfDefault));
}

bool TOBLRegionMask::HasBitmap(int Index) const { return !bitmaps_[Index]->Empty(); }

void TOBLRegionMask::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    // A block not yet filled with region data (a fresh GetMem) would not read back.
    Filer->DefineBinaryProperty(
        "RegionData", [this](TStream* s) { ReadRegionData(s); }, [this](TStream* s) { WriteRegionData(s); },
        WellFormedRegionData(data_));
    for (int i = 0; i < 3; ++i)
        Filer->DefineBinaryProperty(
            kBitmapNames[i], [this, i](TStream* s) { ReadBitmap(s, i); }, [this, i](TStream* s) { WriteBitmap(s, i); },
            HasBitmap(i));
}

void TOBLRegionMask::Publish(TClassBuilder<TOBLRegionMask>& c)
{
    using C = TOBLRegionMask;
    c.Property("RegionDataSize", &C::RegionDataSize, &C::SetRegionDataSize).Default(0);
    c.Property("Compressed", &C::Compressed, &C::SetCompressed).Default(false);
    c.Property("PixelFormat", &C::PixelFormat, &C::SetPixelFormat).Default(spfDefault);
}
