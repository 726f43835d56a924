// The stored data of the region settings (the form shape's Region): the point list, the
// mask's region data and its three border bitmaps, read through a form description into
// a component that already holds settings of its own. The first input byte picks the
// property (and, with its top bit, announces the region data's size as the writer does,
// with bit 6 as well a size one larger than the data's);
// the rest is the property's binary block, or, for the point list, its integers (four
// bytes each). A damaged value raises the reader's error and leaves the settings as they
// were; what reads is framed and painted on a small surface, and writes a description
// that reads and writes the same again.
#include "FuzzPicture.h"
#include "FuzzTarget.h"

#include "obl/controls/shapes/OBLRegion.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/gdi/Gdi.h"
#include "tests/support/FormText.h"

#include <cctype>
#include <cstring>
#include <iterator>

namespace {

class TRegionHost : public TComponent {
    VENDARO_CLASS(TRegionHost, TComponent)
public:
    explicit TRegionHost(TComponent* owner) : TComponent(owner), region_(new TOBLBorderRegion) { SetName("Host"); }

    TOBLBorderRegion* Region() const { return region_.get(); }
    void SetRegion(TOBLBorderRegion* v) { region_->Assign(v); }

    static void Publish(TClassBuilder<TRegionHost>& c) { c.Property("Region", &TRegionHost::Region, &TRegionHost::SetRegion); }

private:
    TOwned<TOBLBorderRegion> region_;
};

// The property each selector value feeds, as the description names it.
const char* const kProperties[] = {"Region.PointList", "Region.Mask.RegionData", "Region.Mask.BorderBmp",
                                   "Region.Mask.BorderUpBmp", "Region.Mask.BorderDnBmp"};
constexpr std::size_t kPropertyCount = std::size(kProperties);
constexpr std::uint8_t kAnnounceSize = 0x80;
constexpr std::uint8_t kWrongSize = 0x40;

TBitmap* Picture(int width, int height, TColor colour) { return FuzzPicture(width, height, colour, clRed); }

void StoreRegion(TOBLRegionMask* mask, HRGN region)
{
    mask->GetRegionData(region);
    DeleteObject(region);
}

// Settings of every stored kind, so that a read that goes wrong halfway shows.
void FillHost(TRegionHost* host)
{
    TOBLBorderRegion* region = host->Region();
    for (TPoint p : {TPoint{0, 0}, TPoint{30, 2}, TPoint{12, 25}})
        region->Points()->AddPoint(p);
    region->SetShape(rsPointList);
    StoreRegion(region->Mask(), CreateRectRgn(0, 0, 8, 6));
    TOwned<TBitmap> picture(Picture(4, 3, clBlue));
    region->Mask()->SetBorderBmp(TOBLRegionMask::bbBorderUp, picture.get());
}

std::string Description(std::size_t property, std::uint8_t selector, const std::uint8_t* data, std::size_t size)
{
    std::string text = "object Host: TRegionHost\n";
    if (property == 0) {
        text += "  Region.PointList = (";
        for (std::size_t i = 0; i + 4 <= size; i += 4)
            text += " " + std::to_string(FuzzIntAt(data + i));
        return text + " )\nend\n";
    }
    if ((selector & kAnnounceSize) && property == 1)
        text += "  Region.Mask.RegionDataSize = " + std::to_string(size + ((selector & kWrongSize) ? 1 : 0)) + "\n";
    return text + "  " + kProperties[property] + " = {" + FuzzHex(data, size) + "}\nend\n";
}

// What the settings read make: their region and the mask's, each framed on a small
// surface as the form shape frames the stored region, and the border painted along them.
void UseSettings(TRegionHost* host)
{
    TBitmap surface;
    surface.SetSize(32, 32);
    TCanvas* canvas = surface.Canvas();
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (HRGN mask = host->Region()->Mask()->CreateRegion()) {
        FrameRgn(canvas->Handle(), mask, brush, 1, 1);
        DeleteObject(mask);
    }
    host->Region()->CreateRegion(Rect(0, 0, 64, 48));
    if (HRGN current = host->Region()->CurrentRegion())
        FrameRgn(canvas->Handle(), current, brush, 2, 2);
    host->Region()->PaintRegionShape(canvas, Rect(0, 0, 32, 32));
}

bool Registered()
{
    RegisterClass(TRegionHost::StaticClass());
    return true;
}

// The bytes of a property as the writer stored them: the hex digits of its binary block,
// or the integers of its list as four bytes each.
std::string StoredBytes(const std::string& text, const std::string& name)
{
    const std::size_t at = text.find("  " + name + " = ");
    FUZZ_CHECK(at != std::string::npos);
    const std::size_t from = at + name.size() + 5;
    std::string bytes;
    if (text[from] == '(') {
        const std::size_t end = text.find(')', from);
        std::size_t pos = from + 1;
        while (pos < end) {
            std::size_t used = 0;
            const std::int32_t v = std::stoi(text.substr(pos, end - pos), &used);
            for (int i = 0; i < 4; ++i)
                bytes.push_back(static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i)));
            pos += used;
            while (pos < end && std::isspace(static_cast<unsigned char>(text[pos])))
                ++pos;
        }
        return bytes;
    }
    std::string hex;
    for (std::size_t i = from + 1; text[i] != '}'; ++i)
        if (std::isxdigit(static_cast<unsigned char>(text[i])))
            hex += text[i];
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool registered = Registered();
    (void)registered;
    if (size == 0)
        return 0;
    const std::size_t property = (data[0] & ~(kAnnounceSize | kWrongSize)) % kPropertyCount;
    const std::string text = Description(property, data[0], data + 1, size - 1);

    TRegionHost host(nullptr);
    FillHost(&host);
    const std::string before = WriteFormText(&host);
    try {
        ReadFormTextInto(&host, text);
    } catch (const EReadError& e) {
        // A refusal names its line (and a refused stored value its property).
        FUZZ_CHECK(Pos("Error reading form description at line ", e.Message()) == 1);
        FUZZ_CHECK(WriteFormText(&host) == before);
        return 0;
    } catch (const EInvalidGraphic&) {
        FUZZ_CHECK(WriteFormText(&host) == before);
        return 0;
    }
    UseSettings(&host);
    const std::string written = WriteFormText(&host);
    TRegionHost again(nullptr);
    ReadFormTextInto(&again, written);
    FUZZ_CHECK(WriteFormText(&again) == written);
    return 0;
}

std::vector<std::string> FuzzSeeds()
{
    Registered();
    std::vector<std::string> seeds;
    auto add = [&seeds](std::uint8_t selector, const std::string& bytes) {
        seeds.push_back(std::string(1, static_cast<char>(selector)) + bytes);
    };
    TRegionHost host(nullptr);
    FillHost(&host);
    TOBLBorderRegion* region = host.Region();
    TOwned<TBitmap> picture(Picture(5, 4, clLime));
    region->Mask()->SetBorderBmp(TOBLRegionMask::bbBorder, picture.get());
    const std::string plain = WriteFormText(&host);
    add(0, StoredBytes(plain, kProperties[0]));
    add(1 | kAnnounceSize, StoredBytes(plain, kProperties[1]));
    add(2, StoredBytes(plain, kProperties[2]));
    add(3, StoredBytes(plain, kProperties[3]));

    StoreRegion(region->Mask(), CreateEllipticRgn(0, 0, 30, 20));
    region->Mask()->SetCompressed(true);
    TOwned<TBitmap> mono(Picture(9, 2, clWhite));
    mono->SetPixelFormat(pf1bit);
    region->Mask()->SetBorderBmp(TOBLRegionMask::bbBorderDn, mono.get());
    const std::string packed = WriteFormText(&host);
    add(1, StoredBytes(packed, kProperties[1]));
    add(2, StoredBytes(packed, kProperties[2]));
    add(4, StoredBytes(packed, kProperties[4]));
    // Regressions: a point list whose polygon, each edge across the whole height, makes a
    // region of some 200,000 rectangles; a point list one coordinate short.
    std::string zigzag;
    for (std::int32_t v : {-30000, -32768, -20000, 32767, -10000, -32768, 0, 32767, 10000, -32768, 20000, 32767})
        for (int i = 0; i < 4; ++i)
            zigzag.push_back(static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i)));
    add(0, zigzag);
    add(0, zigzag.substr(0, 20));
    // ... and region data that disagrees with the size announced before it.
    add(1 | kAnnounceSize | kWrongSize, StoredBytes(plain, kProperties[1]));
    return seeds;
}
