// The block handed to callers: its size, a tag, the fixed record, the translations, then the
// texts as (language, code page, name length, value length, name, value), every length
// counting the terminating zero. The size field always equals the bytes the caller holds, so
// queries never read past the block.
#include "platform/win/kernel/VersionInfo.h"

#include "platform/win/kernel/Errors.h"

#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {

constexpr DWORD kTag = 0x56444E56; // "VNDV"
constexpr std::size_t kFixedOffset = 8;
constexpr std::size_t kTranslationsOffset = kFixedOffset + sizeof(VS_FIXEDFILEINFO);

std::mutex lock;
std::map<std::string, std::vector<BYTE>> blocks;

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string FileKey(const AnsiString& fileName)
{
    std::string name(fileName.str());
    const std::size_t slash = name.find_last_of("\\/");
    return Upper(slash == std::string::npos ? name : name.substr(slash + 1));
}

template <typename T>
void Append(std::vector<BYTE>& out, const T& value)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(&value);
    for (std::size_t i = 0; i < sizeof value; ++i)
        out.push_back(bytes[i]);
}

void AppendText(std::vector<BYTE>& out, const AnsiString& text)
{
    for (int i = 0; i < text.Length(); ++i)
        out.push_back(static_cast<BYTE>(text.data()[i]));
    out.push_back(0);
}

DWORD High(const std::array<WORD, 4>& v) { return (static_cast<DWORD>(v[0]) << 16) | v[1]; }
DWORD Low(const std::array<WORD, 4>& v) { return (static_cast<DWORD>(v[2]) << 16) | v[3]; }

std::vector<BYTE> BuildBlock(const TVersionInfo& info)
{
    std::vector<BYTE> block;
    Append(block, DWORD{0});
    Append(block, kTag);
    const VS_FIXEDFILEINFO fixed{VS_FFI_SIGNATURE, VS_FFI_STRUCVERSION, High(info.fileVersion), Low(info.fileVersion),
                                 High(info.productVersion), Low(info.productVersion), 0x3F, 0, VOS_NT_WINDOWS32,
                                 info.fileType, 0, 0, 0};
    Append(block, fixed);
    Append(block, static_cast<DWORD>(info.translations.size()));
    for (const auto& [language, codePage] : info.translations)
        Append(block, static_cast<DWORD>(language | (static_cast<DWORD>(codePage) << 16)));
    Append(block, static_cast<DWORD>(info.strings.size()));
    for (const TVersionString& s : info.strings) {
        Append(block, s.language);
        Append(block, s.codePage);
        Append(block, static_cast<WORD>(s.name.Length() + 1));
        Append(block, static_cast<WORD>(s.value.Length() + 1));
        AppendText(block, s.name);
        AppendText(block, s.value);
    }
    const DWORD size = static_cast<DWORD>(block.size());
    std::memcpy(block.data(), &size, sizeof size);
    return block;
}

// Reads within the block's own size; false when the read would leave it.
class TBlockReader {
public:
    explicit TBlockReader(const BYTE* block) : block_(block) { std::memcpy(&size_, block, sizeof size_); }

    template <typename T>
    bool Read(std::size_t offset, T& value) const
    {
        if (offset + sizeof(T) > size_)
            return false;
        std::memcpy(&value, block_ + offset, sizeof(T));
        return true;
    }
    bool Inside(std::size_t offset, std::size_t length) const { return offset + length <= size_; }
    const BYTE* At(std::size_t offset) const { return block_ + offset; }

private:
    const BYTE* block_;
    DWORD size_ = 0;
};

// "\\StringFileInfo\\040904E4\\CompanyName" -> {"STRINGFILEINFO", "040904E4", "COMPANYNAME"}.
std::vector<std::string> Segments(const std::string& path)
{
    std::vector<std::string> out;
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            if (!current.empty())
                out.push_back(Upper(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        out.push_back(Upper(current));
    return out;
}

bool Answer(LPVOID* buffer, UINT* length, const void* at, UINT size)
{
    *buffer = const_cast<void*>(at);
    *length = size;
    return true;
}

bool QueryTranslations(const TBlockReader& reader, LPVOID* buffer, UINT* length)
{
    DWORD count = 0;
    if (!reader.Read(kTranslationsOffset, count) || count == 0 || !reader.Inside(kTranslationsOffset + 4, count * 4))
        return false;
    return Answer(buffer, length, reader.At(kTranslationsOffset + 4), count * 4);
}

bool QueryString(const TBlockReader& reader, const std::string& languageCodePage, const std::string& name,
                 LPVOID* buffer, UINT* length)
{
    DWORD translations = 0;
    if (!reader.Read(kTranslationsOffset, translations))
        return false;
    std::size_t offset = kTranslationsOffset + 4 + std::size_t{translations} * 4;
    DWORD count = 0;
    if (!reader.Read(offset, count))
        return false;
    offset += 4;
    for (DWORD i = 0; i < count; ++i) {
        WORD language = 0, codePage = 0, nameLength = 0, valueLength = 0;
        if (!reader.Read(offset, language) || !reader.Read(offset + 2, codePage) || !reader.Read(offset + 4, nameLength) ||
            !reader.Read(offset + 6, valueLength) || !reader.Inside(offset + 8, std::size_t{nameLength} + valueLength) ||
            nameLength == 0 || valueLength == 0)
            return false;
        char key[9];
        std::snprintf(key, sizeof key, "%04X%04X", language, codePage);
        const char* entryName = reinterpret_cast<const char*>(reader.At(offset + 8));
        if (key == languageCodePage && Upper(std::string(entryName, nameLength - 1)) == name)
            return Answer(buffer, length, reader.At(offset + 8 + nameLength), valueLength);
        offset += 8 + std::size_t{nameLength} + valueLength;
    }
    return false;
}

} // namespace

void RegisterVersionInfo(const AnsiString& fileName, const TVersionInfo& info)
{
    std::lock_guard guard(lock);
    blocks[FileKey(fileName)] = BuildBlock(info);
}

void UnregisterVersionInfo(const AnsiString& fileName)
{
    std::lock_guard guard(lock);
    blocks.erase(FileKey(fileName));
}

DWORD GetFileVersionInfoSizeA(LPCSTR fileName, DWORD* handle)
{
    if (handle)
        *handle = 0;
    std::lock_guard guard(lock);
    const auto it = fileName ? blocks.find(FileKey(fileName)) : blocks.end();
    if (it == blocks.end()) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return 0;
    }
    return static_cast<DWORD>(it->second.size());
}

BOOL GetFileVersionInfoA(LPCSTR fileName, DWORD, DWORD length, LPVOID data)
{
    std::lock_guard guard(lock);
    const auto it = fileName ? blocks.find(FileKey(fileName)) : blocks.end();
    if (it == blocks.end() || data == nullptr) {
        SetLastError(it == blocks.end() ? ERROR_RESOURCE_TYPE_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (length < kTranslationsOffset) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const DWORD copied = std::min<DWORD>(length, static_cast<DWORD>(it->second.size()));
    std::memcpy(data, it->second.data(), copied);
    std::memcpy(data, &copied, sizeof copied);
    return TRUE;
}

BOOL VerQueryValueA(const void* block, LPCSTR subBlock, LPVOID* buffer, UINT* length)
{
    if (block == nullptr || subBlock == nullptr || buffer == nullptr || length == nullptr)
        return FALSE;
    *buffer = nullptr;
    *length = 0;
    const TBlockReader reader(static_cast<const BYTE*>(block));
    DWORD tag = 0;
    if (!reader.Read(4, tag) || tag != kTag)
        return FALSE;
    const std::vector<std::string> path = Segments(subBlock);
    if (path.empty())
        return reader.Inside(kFixedOffset, sizeof(VS_FIXEDFILEINFO)) &&
               Answer(buffer, length, reader.At(kFixedOffset), sizeof(VS_FIXEDFILEINFO));
    if (path.size() == 2 && path[0] == "VARFILEINFO" && path[1] == "TRANSLATION")
        return QueryTranslations(reader, buffer, length);
    if (path.size() == 3 && path[0] == "STRINGFILEINFO" && path[1].size() == 8)
        return QueryString(reader, path[1], path[2], buffer, length);
    return FALSE;
}
