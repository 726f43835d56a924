// Each handle of a named mutex keeps its own descriptor of the mutex's lock file with a shared
// lock on it. Whether the mutex already exists is whether anyone else holds such a lock, which
// is decided while holding the folder's guard lock, so that two creators never both see "new".
// Locks vanish with the descriptors, so a crashed process leaves no mutex behind.
#include "platform/win/kernel/Mutex.h"

#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Handles.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxNameLength = 260;
constexpr std::size_t kMaxEncodedLength = 200;

std::mutex folderLock;
std::string lockFolder;

std::string DefaultFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string base = (tmp && *tmp) ? tmp : "/tmp";
    return base + "/vendaro-mutexes-" + std::to_string(::getuid());
}

// File name for a mutex name: safe characters kept, others as %XX; very long names hashed.
std::string EncodeName(const std::string& name)
{
    std::string encoded = "m_";
    for (unsigned char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (plain) {
            encoded += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            encoded += hex;
        }
    }
    if (encoded.size() <= kMaxEncodedLength)
        return encoded;
    std::uint64_t hash = 1469598103934665603ULL;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    char text[40];
    std::snprintf(text, sizeof text, "h_%016llx_%zu", static_cast<unsigned long long>(hash), name.size());
    return text;
}

class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd = -1) : fd_(fd) {}
    ~TFileDescriptor() { if (fd_ >= 0) ::close(fd_); }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const { return fd_; }
    int Release() { const int fd = fd_; fd_ = -1; return fd; }

private:
    int fd_;
};

class TMutexObject : public TKernelObject {
public:
    explicit TMutexObject(int lockFd = -1) : lock_(lockFd) {}

private:
    TFileDescriptor lock_;
};

int OpenLockFile(const std::string& path)
{
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

HANDLE Fail(DWORD error)
{
    SetLastError(error);
    return nullptr;
}

} // namespace

void SetMutexLockFolder(const std::string& posixFolder)
{
    std::lock_guard guard(folderLock);
    lockFolder = posixFolder;
}

std::string MutexLockFolder()
{
    std::lock_guard guard(folderLock);
    return lockFolder.empty() ? DefaultFolder() : lockFolder;
}

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR name)
{
    if (name == nullptr || *name == '\0') {
        SetLastError(ERROR_SUCCESS);
        return KernelAddObject(std::make_unique<TMutexObject>());
    }
    const std::string text(name);
    if (text.size() > kMaxNameLength)
        return Fail(ERROR_FILENAME_EXCED_RANGE);

    const std::string folder = MutexLockFolder();
    ::mkdir(folder.c_str(), 0700);
    TFileDescriptor guardFile(OpenLockFile(folder + "/.guard"));
    if (guardFile.Get() < 0 || ::flock(guardFile.Get(), LOCK_EX) != 0)
        return Fail(ERROR_ACCESS_DENIED);

    TFileDescriptor lockFile(OpenLockFile(folder + "/" + EncodeName(text)));
    if (lockFile.Get() < 0)
        return Fail(ERROR_ACCESS_DENIED);
    // Nobody else holding the lock means the mutex is new; the exclusive lock then becomes
    // this handle's shared one (still under the guard, so no creator sees the gap).
    const bool exists = ::flock(lockFile.Get(), LOCK_EX | LOCK_NB) != 0;
    if (::flock(lockFile.Get(), LOCK_SH) != 0)
        return Fail(ERROR_ACCESS_DENIED);
    HANDLE handle = KernelAddObject(std::make_unique<TMutexObject>(lockFile.Release()));
    SetLastError(exists ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}
