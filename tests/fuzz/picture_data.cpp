// The "Data" properties of form descriptions that hold pictures: a picture's (the graphic's
// class name, then its data) and a bitmap's own (a byte count, then the bitmap file). What
// reads must write data that reads and writes the same bytes again.
#include "FuzzTarget.h"

#include "platform/classlib/Graphics.h"

namespace {

std::string Bytes(TMemoryStream& stream)
{
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

// Reads the data into a new object of the class and writes it again.
template <class T>
std::string Rewrite(const std::string& data)
{
    TMemoryStream in, out;
    in.WriteBuffer(data.data(), static_cast<int>(data.size()));
    in.SetPosition(0);
    TOwned<T> object(new T);
    object->ReadData(&in);
    object->WriteData(&out);
    return Bytes(out);
}

template <class T>
void Check(const std::string& input)
{
    std::string written;
    try {
        written = Rewrite<T>(input);
    } catch (const EInvalidGraphic&) {
        return;
    } catch (const EReadError&) {
        return;
    }
    FUZZ_CHECK(Rewrite<T>(written) == written);
}

TOwned<TBitmap> Pattern(TPixelFormat format, int width, int height)
{
    TOwned<TBitmap> bitmap(new TBitmap);
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(clGreen);
    bitmap->Canvas()->FillRect(Rect(0, 0, width / 2 + 1, height));
    return bitmap;
}

template <class T>
std::string Data(T& object)
{
    TMemoryStream out;
    object.WriteData(&out);
    return Bytes(out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    Check<TPicture>(input);
    Check<TBitmap>(input);
    return 0;
}

std::vector<std::string> FuzzSeeds()
{
    std::vector<std::string> seeds;
    for (TPixelFormat format : {pf1bit, pf8bit, pf24bit}) {
        TOwned<TBitmap> bitmap = Pattern(format, 6, 3);
        seeds.push_back(Data(*bitmap));
        TPicture picture;
        picture.SetBitmap(bitmap.get());
        seeds.push_back(Data(picture));
    }
    TOwned<TBitmap> colour = Pattern(pf24bit, 16, 16);
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(16, 16);
    ICONINFO info{TRUE, 0, 0, mask.Handle(), colour->Handle()};
    TIcon icon;
    icon.SetHandle(CreateIconIndirect(&info));
    TPicture picture;
    picture.SetIcon(&icon);
    seeds.push_back(Data(picture));
    TPicture empty;
    seeds.push_back(Data(empty));
    return seeds;
}
