// Unit OBLRegionMask: the stored window region of a bitmap-shaped window (region data
// as GetRegionData gives it) with the bitmaps painted as its border: the plain one and
// its "up" and "down" variants.
//
// Stored in a form description as the published RegionDataSize, Compressed and
// PixelFormat, then the binary properties "RegionData" (the raw region data) and
// "BorderBmp", "BorderUpBmp", "BorderDnBmp" (a byte, the Compressed flag, then the
// bitmap field). The size always follows the data block: a stored size only announces
// how many bytes "RegionData" must bring.
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

    // The size of the data block in bytes.
    int RegionDataSize() const { return static_cast<int>(data_.size()); }
    // Announces the size of the "RegionData" that a form description brings next.
    void SetRegionDataSize(int Value) { announcedSize_ = Value; }
    bool Compressed() const { return compressed_; }
    void SetCompressed(bool Value) { compressed_ = Value; }
    TOBLSavePixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TOBLSavePixelFormat Value) { pixelFormat_ = Value; }

    const std::vector<BYTE>& RegionData() const { return data_; }
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

    static void Publish(TClassBuilder<TOBLRegionMask>& c);

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    void ReadRegionData(TStream* Stream);
    void WriteRegionData(TStream* Stream);
    void ReadBitmap(TStream* Stream, int Index);
    void WriteBitmap(TStream* Stream, int Index);
    bool HasBitmap(int Index) const;

    std::vector<BYTE> data_;
    // The size a form description announced for its "RegionData".
    std::optional<int> announcedSize_;
    bool compressed_ = false;
    TOBLSavePixelFormat pixelFormat_ = spfDefault;
    TOwned<TBitmap> bitmaps_[3];
};
