#include "platform/classlib/Classes.h"

#include "platform/rtl/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// ---------------------------------------------------------------------------------------
// TStream

void TStream::ReadBuffer(void* buffer, int count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* buffer, int count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError(SWriteError);
}

int TStream::Size()
{
    int position = Seek(0, soFromCurrent);
    int size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

int TStream::CopyFrom(TStream* source, int count)
{
    if (count == 0) {
        source->SetPosition(0);
        count = source->Size();
    }
    constexpr int kChunk = 0xF000;
    std::vector<char> buffer(static_cast<std::size_t>(std::min(count, kChunk)));
    for (int left = count; left > 0;) {
        int n = std::min(left, kChunk);
        source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

// ---------------------------------------------------------------------------------------
// THandleStream / TFileStream

int THandleStream::Read(void* buffer, int count)
{
    if (count <= 0)
        return 0;
    ssize_t n = ::read(handle_, buffer, static_cast<std::size_t>(count));
    return n < 0 ? 0 : static_cast<int>(n);
}

int THandleStream::Write(const void* buffer, int count)
{
    if (count <= 0)
        return 0;
    ssize_t n = ::write(handle_, buffer, static_cast<std::size_t>(count));
    return n < 0 ? 0 : static_cast<int>(n);
}

int THandleStream::Seek(int offset, std::uint16_t origin)
{
    int whence = origin == soFromCurrent ? SEEK_CUR : origin == soFromEnd ? SEEK_END : SEEK_SET;
    off_t result = ::lseek(handle_, offset, whence);
    return result < 0 ? -1 : static_cast<int>(result);
}

void THandleStream::SetSize(int newSize)
{
    int position = Position();
    if (::ftruncate(handle_, newSize) != 0)
        throw EWriteError(SWriteError);
    if (position > newSize)
        Seek(0, soFromEnd);
}

namespace {

int OpenFlags(std::uint16_t mode)
{
    switch (mode & 0x0003) {
    case fmOpenWrite:
        return O_WRONLY;
    case fmOpenReadWrite:
        return O_RDWR;
    default:
        return O_RDONLY;
    }
}

int OpenFile(const AnsiString& fileName, std::uint16_t mode)
{
    std::string path = FileSystem::ToPosixPath(fileName);
    if (mode == fmCreate) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0)
            throw EFCreateError(SFCreateError, {fileName});
        return fd;
    }
    int fd = ::open(path.c_str(), OpenFlags(mode) | O_CLOEXEC);
    struct stat info {};
    // A folder is no file, as on Windows.
    if (fd >= 0 && (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    if (fd < 0)
        throw EFOpenError(SFOpenError, {fileName});
    return fd;
}

} // namespace

TFileStream::TFileStream(const AnsiString& fileName, std::uint16_t mode)
    : THandleStream(OpenFile(fileName, mode)), fileName_(fileName)
{
}

TFileStream::~TFileStream() { ::close(handle_); }

// ---------------------------------------------------------------------------------------
// Memory streams

void TCustomMemoryStream::SetPointer(const char* memory, int size)
{
    memory_ = memory;
    size_ = size;
}

int TCustomMemoryStream::Read(void* buffer, int count)
{
    if (position_ < 0 || count <= 0 || position_ >= size_)
        return 0;
    int n = std::min(count, size_ - position_);
    std::memcpy(buffer, memory_ + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

int TCustomMemoryStream::Seek(int offset, std::uint16_t origin)
{
    if (origin == soFromCurrent)
        position_ += offset;
    else if (origin == soFromEnd)
        position_ = size_ + offset;
    else
        position_ = offset;
    return position_;
}

void TCustomMemoryStream::SaveToStream(TStream* stream)
{
    if (size_ != 0)
        stream->WriteBuffer(memory_, size_);
}

void TCustomMemoryStream::SaveToFile(const AnsiString& fileName)
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(&stream);
}

void TMemoryStream::Resize(int size)
{
    data_.resize(static_cast<std::size_t>(size), '\0');
    SetPointer(data_.data(), size);
}

int TMemoryStream::Write(const void* buffer, int count)
{
    if (position_ < 0 || count <= 0)
        return 0;
    int end = position_ + count;
    if (end > Size())
        Resize(end);
    std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ = end;
    return count;
}

void TMemoryStream::SetSize(int newSize)
{
    Resize(std::max(newSize, 0));
    if (position_ > Size())
        position_ = Size();
}

void TMemoryStream::Clear()
{
    data_.clear();
    data_.shrink_to_fit();
    SetPointer(nullptr, 0);
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream)
{
    stream->SetPosition(0);
    int count = stream->Size();
    SetSize(count);
    if (count != 0)
        stream->ReadBuffer(data_.data(), count);
}

void TMemoryStream::LoadFromFile(const AnsiString& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

// ---------------------------------------------------------------------------------------
// TStringStream

int TStringStream::Read(void* buffer, int count)
{
    if (position_ < 0 || count <= 0 || position_ >= data_.Length())
        return 0;
    int n = std::min(count, data_.Length() - position_);
    std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

int TStringStream::Write(const void* buffer, int count)
{
    if (position_ < 0 || count <= 0)
        return 0;
    int end = position_ + count;
    if (end > data_.Length())
        data_.SetLength(end);
    std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ = end;
    return count;
}

int TStringStream::Seek(int offset, std::uint16_t origin)
{
    if (origin == soFromCurrent)
        position_ += offset;
    else if (origin == soFromEnd)
        position_ = data_.Length() + offset;
    else
        position_ = offset;
    return position_;
}

void TStringStream::SetSize(int newSize)
{
    data_.SetLength(newSize);
    if (position_ > newSize)
        position_ = data_.Length();
}

AnsiString TStringStream::ReadString(int count)
{
    AnsiString s;
    s.SetLength(std::max(count, 0));
    s.SetLength(Read(s.data(), count));
    return s;
}

void TStringStream::WriteString(const AnsiString& s) { Write(s.data(), s.Length()); }
