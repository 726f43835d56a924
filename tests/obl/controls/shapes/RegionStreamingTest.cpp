// Region settings through a form description and back: the published values, the point
// list, the mask's region data and bitmaps, and damaged stored data.
#include "obl/controls/shapes/OBLRegion.h"

#include "platform/win/gdi/Gdi.h"
#include "tests/support/FormText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

class TRegionHost : public TComponent {
    VENDARO_CLASS(TRegionHost, TComponent)
public:
    explicit TRegionHost(TComponent* owner) : TComponent(owner), region_(new TOBLBorderRegion) {}

    TOBLBorderRegion* Region() const { return region_.get(); }
    void SetRegion(TOBLBorderRegion* v) { region_->Assign(v); }

    static void Publish(TClassBuilder<TRegionHost>& c) { c.Property("Region", &TRegionHost::Region, &TRegionHost::SetRegion); }

private:
    TOwned<TOBLBorderRegion> region_;
};

TOwned<TRegionHost> Read(const std::string& text)
{
    return TOwned<TRegionHost>(static_cast<TRegionHost*>(ReadFormText(text)));
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from << " in " << text;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// The value of a property line "Name = value" of the text.
std::string Value(const std::string& text, const std::string& name)
{
    const auto at = text.find(name + " = ");
    if (at == std::string::npos)
        return std::string();
    const auto from = at + name.size() + 3;
    return text.substr(from, text.find_first_of("\r\n", from) - from);
}

class RegionStreaming : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterClass(TRegionHost::StaticClass());
        host_.SetName("Host");
    }
    void TearDown() override { UnRegisterClass(TRegionHost::StaticClass()); }

    TOBLBorderRegion* Region() { return host_.Region(); }

    TRegionHost host_{nullptr};
};

TEST_F(RegionStreaming, DefaultsWriteNothing)
{
    const std::string text = WriteFormText(&host_);
    EXPECT_EQ(text.find("Region."), std::string::npos) << text;
}

TEST_F(RegionStreaming, SettingsComeBackAsTheyWere)
{
    TOBLBorderRegion* r = Region();
    r->SetShape(rsRoundThinkBubble);
    r->SetExtPos(epBottomRight);
    r->SetRoundX(11);
    r->SetRoundY(13);
    r->Shadow()->SetStyle(hssTracing);
    r->Shadow()->SetDepth(9);
    r->Border()->SetStyle(rbLoweredpsb);
    r->Border()->SetSingleColor(clRed);
    const std::string text = WriteFormText(&host_);
    EXPECT_NE(text.find("Region.Shape = rsRoundThinkBubble"), std::string::npos) << text;
    EXPECT_NE(text.find("Region.Shadow.Style = hssTracing"), std::string::npos) << text;
    TOwned<TRegionHost> back = Read(text);
    TOBLBorderRegion* b = back->Region();
    EXPECT_EQ(b->Shape(), rsRoundThinkBubble);
    EXPECT_EQ(b->ExtPos(), epBottomRight);
    EXPECT_EQ(b->RoundX(), 11);
    EXPECT_EQ(b->RoundY(), 13);
    EXPECT_EQ(b->Shadow()->Style(), hssTracing);
    EXPECT_EQ(b->Shadow()->Depth(), 9);
    EXPECT_EQ(b->Border()->Style(), rbLoweredpsb);
    EXPECT_EQ(b->Border()->SingleColor(), clRed);
    EXPECT_EQ(WriteFormText(back.get()), text);
}

TEST_F(RegionStreaming, PointListIsReadInPlaceOfThePoints)
{
    for (TPoint p : {TPoint{0, 0}, TPoint{20, 0}, TPoint{20, 10}, TPoint{-3, 10}})
        Region()->Points()->AddPoint(p);
    Region()->SetShape(rsPointList);
    const std::string text = WriteFormText(&host_);
    EXPECT_NE(text.find("Region.PointList = ("), std::string::npos) << text;

    TRegionHost other(nullptr);
    for (TPoint p : {TPoint{1, 1}, TPoint{2, 2}, TPoint{3, 3}})
        other.Region()->Points()->AddPoint(p);
    ReadFormTextInto(&other, text);
    TOBLPointList* read = other.Region()->Points();
    ASSERT_EQ(read->Count(), 4) << "the points read replace those there were";
    EXPECT_EQ(read->Points(1).x, 20);
    EXPECT_EQ(other.Region()->UserRegionData(), Region()->UserRegionData()) << "the same polygon";
    EXPECT_EQ(WriteFormText(&other), text);
}

TEST_F(RegionStreaming, ALongPointListIsReadInLinearTime)
{
    std::string list;
    constexpr int kPoints = 4000;
    for (int i = 0; i < kPoints; ++i)
        list += " " + std::to_string(i % 2 ? 300 : 0) + " " + std::to_string(i / 2);
    const std::string text = "object Host: TRegionHost\n  Region.Shape = rsPointList\n  Region.PointList = (" + list +
                             ")\nend\n";
    const auto start = std::chrono::steady_clock::now();
    TOwned<TRegionHost> back = Read(text);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(back->Region()->Points()->Count(), kPoints);
    EXPECT_FALSE(back->Region()->UserRegionData().empty());
    // Rebuilding the polygon after every point takes minutes for this list.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 3000);
}

TEST_F(RegionStreaming, APointListTooComplexForARegionIsKeptWithoutOne)
{
    // 1,000 edges each across the whole height the points can hold: as a region, tens of
    // millions of rectangles. The points are kept; the polygon gives no window region.
    std::string list;
    for (int i = 0; i < 1000; ++i)
        list += " " + std::to_string(i * 64) + " " + std::to_string(i % 2 ? 32767 : -32768);
    const std::string text = "object Host: TRegionHost\n  Region.Shape = rsPointList\n  Region.PointList = (" + list +
                             ")\nend\n";
    const auto start = std::chrono::steady_clock::now();
    TOwned<TRegionHost> back = Read(text);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(back->Region()->Points()->Count(), 1000);
    EXPECT_TRUE(back->Region()->UserRegionData().empty());
    EXPECT_NE(WriteFormText(back.get()).find("Region.PointList = ("), std::string::npos);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 3000);
}

TEST_F(RegionStreaming, DamagedPointListRaisesTheReadError)
{
    const std::string text = "object Host: TRegionHost\n  Region.PointList = (1 2 3)\nend\n";
    EXPECT_THROW(ReadFormTextInto(&host_, text), EReadError);
    EXPECT_EQ(Region()->Points()->Count(), 0);
}

TEST_F(RegionStreaming, MaskDataAndBitmapsComeBack)
{
    TOBLRegionMask* mask = Region()->Mask();
    HRGN rgn = CreateEllipticRgn(0, 0, 30, 20);
    mask->GetRegionData(rgn);
    DeleteObject(rgn);
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(5, 4);
    picture.Canvas()->SetPixels(2, 1, clRed);
    mask->SetBorderBmp(0, &picture);
    mask->SetBorderBmp(2, &picture);
    for (bool compressed : {false, true}) {
        mask->SetCompressed(compressed);
        Region()->SetShape(rsBitmap);
        const std::string text = WriteFormText(&host_);
        EXPECT_EQ(Value(text, "Region.Mask.RegionDataSize"), std::to_string(mask->RegionDataSize())) << text;
        EXPECT_EQ(text.find("BorderUpBmp"), std::string::npos) << "an empty bitmap is not stored";
        TOwned<TRegionHost> back = Read(text);
        TOBLRegionMask* m = back->Region()->Mask();
        EXPECT_EQ(m->RegionData(), mask->RegionData());
        EXPECT_EQ(m->Compressed(), compressed);
        EXPECT_EQ(m->BorderBmp()->Width(), 5);
        EXPECT_EQ(m->BorderBmp()->Canvas()->Pixels(2, 1), clRed);
        EXPECT_TRUE(m->BorderUpBmp()->Empty());
        EXPECT_EQ(m->BorderDnBmp()->Height(), 4);
        EXPECT_EQ(WriteFormText(back.get()), text);
    }
}

TEST_F(RegionStreaming, DataSizeFollowsTheData)
{
    TOBLRegionMask* mask = Region()->Mask();
    HRGN rgn = CreateRectRgn(0, 0, 10, 10);
    mask->GetRegionData(rgn);
    DeleteObject(rgn);
    const int size = mask->RegionDataSize();
    EXPECT_EQ(size, static_cast<int>(sizeof(RGNDATAHEADER) + sizeof(RECT)));
    mask->SetRegionDataSize(1 << 20);
    EXPECT_EQ(mask->RegionDataSize(), size) << "a stored size alone does not change the block";
    mask->FreeMem();
    EXPECT_EQ(mask->RegionDataSize(), 0);
    EXPECT_EQ(mask->CreateRegion(), nullptr);
}

TEST_F(RegionStreaming, ABlockNotYetFilledKeepsOnlyItsSize)
{
    TOBLRegionMask* mask = Region()->Mask();
    mask->SetDataSize(64);
    mask->GetMem();
    const std::string text = WriteFormText(&host_);
    EXPECT_EQ(Value(text, "Region.Mask.RegionDataSize"), "64") << text;
    EXPECT_EQ(text.find("RegionData ="), std::string::npos) << "bytes that are no region would not read back";
    TOwned<TRegionHost> back = Read(text);
    EXPECT_EQ(back->Region()->Mask()->RegionDataSize(), 64);
    EXPECT_EQ(WriteFormText(back.get()), text);
}

TEST_F(RegionStreaming, DamagedRegionDataRaisesTheReadErrorAndKeepsTheMask)
{
    TOBLRegionMask* mask = Region()->Mask();
    HRGN rgn = CreateRectRgn(0, 0, 10, 10);
    mask->GetRegionData(rgn);
    DeleteObject(rgn);
    const std::vector<BYTE> kept = mask->RegionData();
    const std::string good = WriteFormText(&host_);
    const std::string size = Value(good, "Region.Mask.RegionDataSize");
    // One rectangle: the 32-byte header (its own size first, then type 1 and count 1),
    // then (0, 0, 10, 10).
    const std::string header = "2000000001000000010000001000000000000000000000000A0000000A000000";
    ASSERT_NE(good.find(header), std::string::npos) << good;
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"a size that is not the data's", Replace(good, "RegionDataSize = " + size, "RegionDataSize = 4000")},
        {"a negative size", Replace(good, "RegionDataSize = " + size, "RegionDataSize = -1")},
        {"a damaged header", Replace(good, header, "21" + header.substr(2))},
        {"more rectangles than the data holds", Replace(good, header, header.substr(0, 16) + "02" + header.substr(18))},
        {"no rectangle after the header",
         Replace(Replace(good, "RegionDataSize = " + size, "RegionDataSize = 32"), "00000000000000000A0000000A000000}",
                 "}")},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(ReadFormTextInto(&host_, c.text), EReadError) << c.what;
        EXPECT_EQ(mask->RegionData(), kept) << c.what;
    }
}

TEST_F(RegionStreaming, DamagedBorderBitmapRaisesAndKeepsTheMask)
{
    TOBLRegionMask* mask = Region()->Mask();
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(3, 2);
    picture.Canvas()->SetPixels(1, 1, clLime);
    mask->SetBorderBmp(0, &picture);
    const std::string kept = WriteFormText(&host_);
    // The flag byte comes first: a block that breaks after it raises the read error (or,
    // for an image that is no bitmap, the graphic's) and must not leave the mask
    // compressed (or plain) on its own.
    struct Case {
        const char* what;
        const char* block;
    };
    const Case cases[] = {
        {"no flag", ""},
        {"a compressed flag and nothing after it", "01"},
        {"a plain flag and nothing after it", "00"},
        {"a compressed flag before a damaged packed image", "0104000000FFFFFFFF"},
        {"a plain flag before a field that is not a bitmap", "0004000000AABBCCDD"},
    };
    for (const Case& c : cases) {
        for (const char* name : {"BorderBmp", "BorderUpBmp"}) {
            const std::string text = "object Host: TRegionHost\n  Region.Mask." + std::string(name) + " = {" +
                                     c.block + "}\nend\n";
            try {
                ReadFormTextInto(&host_, text);
                ADD_FAILURE() << c.what << " was read";
            } catch (const EReadError&) {
            } catch (const EInvalidGraphic&) {
            }
            EXPECT_EQ(WriteFormText(&host_), kept) << c.what << " in " << name;
        }
        EXPECT_FALSE(mask->Compressed()) << c.what;
        EXPECT_EQ(mask->BorderBmp()->Canvas()->Pixels(1, 1), clLime) << c.what;
        EXPECT_TRUE(mask->BorderUpBmp()->Empty()) << c.what;
    }
}

} // namespace

TEST_F(RegionStreaming, APointListBeyondTheRowLimitIsKeptWithoutARegion)
{
    // Six points, each edge across the whole height the points can hold: within the
    // polygon's own bound, yet as a region some 200,000 rectangles.
    const std::string zigzag = "-30000 -32768 -20000 32767 -10000 -32768 0 32767 10000 -32768 20000 32767";
    const std::string text =
        "object Host: TRegionHost\n  Region.Shape = rsPointList\n  Region.PointList = (" + zigzag + ")\nend\n";
    const auto start = std::chrono::steady_clock::now();
    TOwned<TRegionHost> back = Read(text);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(back->Region()->Points()->Count(), 6);
    EXPECT_TRUE(back->Region()->UserRegionData().empty());
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 100);
    // At the limit a polygon still makes its region: 65,536 rows crossed in all.
    const TPoint tall[] = {{0, 0}, {50, 16384}, {0, 32768}};
    back->Region()->SetUserPolygonRgn(tall, 3);
    EXPECT_FALSE(back->Region()->UserRegionData().empty());
    const TPoint taller[] = {{0, 0}, {50, 16384}, {0, 32769}};
    back->Region()->SetUserPolygonRgn(taller, 3);
    EXPECT_TRUE(back->Region()->UserRegionData().empty());
    EXPECT_EQ(back->Region()->Points()->Count(), 3);
}

TEST_F(RegionStreaming, RefusedStoredDataNamesThePropertyAndItsLine)
{
    HRGN rgn = CreateRectRgn(0, 0, 10, 10);
    Region()->Mask()->GetRegionData(rgn);
    DeleteObject(rgn);
    const std::string good = WriteFormText(&host_);
    const std::string size = Value(good, "Region.Mask.RegionDataSize");
    struct Case {
        const char* what;
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"a short point list", "object Host: TRegionHost\n  Region.Shape = rsPointList\n  Region.PointList = (\n    1 2\n    3)\nend\n",
         "Error reading form description at line 3: Invalid property value for Region.PointList: Stream read error"},
        {"a size that is not the data's", Replace(good, "RegionDataSize = " + size, "RegionDataSize = 4000"),
         "Error reading form description at line 3: Invalid property value for Region.Mask.RegionData: Stream read "
         "error"},
        {"a point list with a word in it", "object Host: TRegionHost\n  Region.PointList = (\n    1 x)\nend\n",
         "Error reading form description at line 3: integer expected"},
    };
    for (const Case& c : cases) {
        try {
            ReadFormTextInto(&host_, c.text);
            ADD_FAILURE() << c.what << ": read";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), c.message) << c.what << "\n" << c.text;
        }
    }
}
