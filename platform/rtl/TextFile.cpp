#include "platform/rtl/TextFile.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/RtlConsts.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::size_t kBufferSize = 4096;
constexpr int kFileNotOpen = 103;

int RunTimeError(int error)
{
    switch (error) {
    case ENOENT: return 2;
    case ENOTDIR: return 3;
    case EMFILE: case ENFILE: return 4;
    case EACCES: case EPERM: case EROFS: case EISDIR: return 5;
    case ENOSPC: case EDQUOT: return 101;
    default: return 100 + error;
    }
}

AnsiString MessageFor(int code)
{
    switch (code) {
    case 2: return SFileNotFound;
    case 5: return SAccessDenied;
    case 101: return SDiskFull;
    case kFileNotOpen: return SFileNotOpen;
    default: return Format(SInOutError, {code});
    }
}

} // namespace

TTextFile::~TTextFile() { CloseQuietly(); }

void TTextFile::CloseQuietly()
{
    if (fd_ < 0) return;
    try {
        Flush();
    } catch (const EInOutError&) {
        // Nobody is left to tell: the file is closed with what could be written.
    }
    ::close(fd_);
    fd_ = -1;
    buffer_.clear();
}

void TTextFile::Assign(const AnsiString& fileName)
{
    CloseQuietly();
    fileName_ = fileName;
}

bool TTextFile::Open(int flags)
{
    CloseQuietly();
    fd_ = fileName_.IsEmpty() ? -1 : ::open(FileSystem::ToPosixPath(fileName_).c_str(), flags | O_CLOEXEC, 0666);
    ioResult_ = fd_ >= 0 ? 0 : fileName_.IsEmpty() ? 2 : RunTimeError(errno);
    return fd_ >= 0;
}

bool TTextFile::Rewrite() { return Open(O_WRONLY | O_CREAT | O_TRUNC); }

bool TTextFile::Append() { return Open(O_WRONLY | O_APPEND); }

void TTextFile::Write(const AnsiString& text)
{
    if (fd_ < 0) Fail(kFileNotOpen);
    buffer_ += text.str();
    if (buffer_.size() >= kBufferSize) Flush();
}

void TTextFile::WriteLn(const AnsiString& text) { Write(text + "\r\n"); }

void TTextFile::Flush()
{
    std::size_t written = 0;
    while (written < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int code = n < 0 ? RunTimeError(errno) : 101;
            buffer_.clear();
            Fail(code);
        }
        written += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

void TTextFile::Close()
{
    if (fd_ < 0) Fail(kFileNotOpen);
    int code = 0;
    try {
        Flush();
    } catch (const EInOutError& e) {
        code = e.ErrorCode();
    }
    if (::close(fd_) != 0 && code == 0) code = RunTimeError(errno);
    fd_ = -1;
    if (code != 0) Fail(code);
    ioResult_ = 0;
}

void TTextFile::Fail(int code)
{
    ioResult_ = code;
    throw EInOutError(MessageFor(code), code);
}
