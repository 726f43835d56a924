// Unit OBLRegionMask: the stored window region of a bitmap-shaped window (region data
// as GetRegionData gives it) with the bitmaps painted as its border: the plain one and
// its "up" and "down" variants.
//
// Stored in a form description as the published RegionDataSize, Compressed and
// PixelFormat, then the binary properties "RegionData" (the raw region data) and
// "BorderBmp", "BorderUpBmp", "BorderDnBmp" (a byte, the Compressed flag, then the
// bitmap field). The size always follows a held data block: a size stored beside it only
// announces how many bytes "RegionData" must bring, or the next GetMem allocates.
#pragma once

#include "obl/core/app/oblclass.h"
#include "obl/core/base/OBLObject.h"
#include "platform/classlib/Graphics.h"

#include <optional>
#include <vector>

class TOBLRegionMask : public TOBLObject {
    VENDARO_CLASS(TOBLRegionMask, TOBLObject)
public:
    enum TBorderBmpIndex { bbBorder = 0, bbBorderUp = 1, bbBorderDn = 2 };

    TOBLRegionMask();
    ~TOBLRegionMask() override;

    // From another mask: its own block goes; only a source with data gives its data and
    // its three bitmaps. No notification.
    void Assign(TPersistent* Source) override;

    // The size of the held data block in bytes; with none, the size last stored (0 at first).
    int RegionDataSize() const;
    // Stores the size of the "RegionData" that a form description brings next, or of the
    // block the next GetMem allocates.
    void SetRegionDataSize(int Value) { storedSize_ = Value; }
    void SetDataSize(int Value) { SetRegionDataSize(Value); }
    bool Compressed() const { return compressed_; }
    void SetCompressed(bool Value) { compressed_ = Value; }
    TOBLSavePixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TOBLSavePixelFormat Value) { pixelFormat_ = Value; }

    const std::vector<BYTE>& RegionData() const { return data_; }
    // The block becomes the mask's own, in place of the one it held; its size follows it.
    // Only a block that is region data is stored in a form description.
    void SetRegionData(std::vector<BYTE> Block);
    // A block of zero bytes, of the size last stored, or with none of RegionDataSize bytes,
    // replaces the one held. EInvalidOperation for a negative size, the block kept.
    void GetMem();
    // Replaces the block by a copy of the region's data; a null region leaves none.
    void GetRegionData(HRGN Rgn);
    // Drops the block (the size becomes 0).
    void FreeMem();
    // A new region made of the stored data, owned by the caller; null when there is none.
    HRGN CreateRegion() const;

    TBitmap* BorderBmp() const { return bitmaps_[bbBorder].get(); }
    TBitmap* BorderUpBmp() const { return bitmaps_[bbBorderUp].get(); }
    TBitmap* BorderDnBmp() const { return bitmaps_[bbBorderDn].get(); }
    // Index 0 the border bitmap, 1 its "up", 2 its "down" variant; keeps a copy.
    void SetBorderBmp(int Index, TBitmap* Value);
    // Create the "up" or "down" bitmap, empty, when the mask has none; one it has stays.
    void CreateBorderUpBmp();
    void CreateBorderDnBmp();

    static void Publish(TClassBuilder<TOBLRegionMask>& c);

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    void ReadRegionData(TStream* Stream);
    void WriteRegionData(TStream* Stream);
    void ReadBitmap(TStream* Stream, int Index);
    void WriteBitmap(TStream* Stream, int Index);
    bool HasBitmap(int Index) const;
    void CreateBorderBmp(int Index);

    std::vector<BYTE> data_;
    // The size a form description announced for its "RegionData", or SetDataSize stored.
    std::optional<int> storedSize_;
    bool compressed_ = false;
    TOBLSavePixelFormat pixelFormat_ = spfDefault;
    TOwned<TBitmap> bitmaps_[3];
};
