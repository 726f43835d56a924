// Unit Oblstreamutils, bitmap fields: the class library's bitmap stream form or
// the library's own device-independent bitmap image at a chosen pixel depth.
#include "obl/core/Oblstreamutils.h"

#include "platform/classlib/Graphics.h"

#include <vector>

namespace {

std::vector<BYTE> DIBImage(TBitmap* bitmap, int code)
{
    return OBLBuildDIBImage(bitmap->Handle(), bitmap->Palette(), code);
}

void WriteBlock(TStream* stream, const std::vector<BYTE>& block)
{
    stream->WriteBuffer(block.data(), static_cast<int>(block.size()));
}

} // namespace

void OBLBmpSaveDIBStream(TStream* Stream, TBitmap* Bitmap, int Code)
{
    WriteBlock(Stream, DIBImage(Bitmap, Bitmap->Monochrome() ? 2 : Code));
    Stream->SetPosition(0);
}

void stWriteBitmap(TStream* Stream, TBitmap* Bitmap, bool Compressed, int Code)
{
    if (Compressed) {
        TMemoryStream image;
        if (Code == -1) Bitmap->SaveToStream(&image);
        else OBLBmpSaveDIBStream(&image, Bitmap, Code);
        image.SetPosition(0);
        SaveCompressedStream(&image, Stream, image.Size());
    } else if (Code == -1) {
        const int start = Stream->Position();
        stWriteInteger(Stream, 0);
        Bitmap->SaveToStream(Stream);
        const int end = Stream->Position();
        Stream->SetPosition(start);
        stWriteInteger(Stream, end - start - 4);
        Stream->SetPosition(end);
    } else {
        const std::vector<BYTE> block = DIBImage(Bitmap, Code);
        stWriteInteger(Stream, static_cast<int>(block.size()));
        WriteBlock(Stream, block);
    }
}

void stReadBitmap(TStream* Stream, TBitmap* Bitmap, bool Compressed)
{
    TMemoryStream image;
    if (Compressed) {
        LoadCompressedStream(Stream, &image);
    } else {
        const int size = stReadFieldSize(Stream);
        image.SetSize(size);
        if (size > 0) Stream->ReadBuffer(image.Memory(), size);
    }
    image.SetPosition(0);
    Bitmap->LoadFromStream(&image);
}
