#include "platform/win/kernel/Resources.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Modules.h"
#include "platform/win/kernel/SystemBitmaps.h"

#include <cctype>
#include <cstring>
#include <list>
#include <map>
#include <mutex>
#include <string>

namespace {

// A type or name key: "#<number>" for numbers, the upper-cased text otherwise.
std::string Key(LPCSTR id)
{
    if (IS_INTRESOURCE(id))
        return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(id));
    std::string text(id);
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

HMODULE Owner(HMODULE module) { return module ? module : HInstance; }

struct TResource {
    HMODULE module;
    std::string type;
    std::string name;
    std::vector<BYTE> data;
};

struct TResourceTable {
    std::mutex lock;
    std::list<TResource> resources; // a list keeps every entry's address for its HRSRC
    std::map<std::pair<HMODULE, UINT>, AnsiString> strings;
};

TResourceTable& Table()
{
    static TResourceTable table;
    return table;
}

TResource* Find(TResourceTable& table, HMODULE module, const std::string& type, const std::string& name)
{
    for (TResource& r : table.resources)
        if (r.module == module && r.type == type && r.name == name)
            return &r;
    return nullptr;
}

TResource* FromHandle(HRSRC handle)
{
    TResourceTable& table = Table();
    for (TResource& r : table.resources)
        if (reinterpret_cast<HRSRC>(&r) == handle)
            return &r;
    return nullptr;
}

// Checks a packed bitmap (header, colour table, pixels) before anything reads it.
const BITMAPINFOHEADER* WellFormedDib(const std::vector<BYTE>& dib, std::size_t& bitsOffset)
{
    if (dib.size() < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
    const int bpp = header->biBitCount;
    const bool knownDepth = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    const bool knownCompression = header->biCompression == BI_RGB ||
                                  (header->biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32));
    if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biSize > dib.size() || !knownDepth || !knownCompression ||
        header->biWidth <= 0 || header->biHeight == 0 || header->biWidth > 0x8000 || header->biHeight > 0x8000 ||
        header->biHeight < -0x8000 || header->biPlanes != 1)
        return nullptr;
    const std::uint64_t colours = header->biClrUsed ? header->biClrUsed : (bpp <= 8 ? (1u << bpp) : 0);
    if (bpp <= 8 && colours > (1u << bpp))
        return nullptr;
    const std::uint64_t masks = header->biCompression == BI_BITFIELDS ? 12 : 0;
    const std::uint64_t stride = ((static_cast<std::uint64_t>(header->biWidth) * bpp + 31) / 32) * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(header->biHeight < 0 ? -header->biHeight : header->biHeight);
    const std::uint64_t offset = header->biSize + masks + colours * 4;
    if (offset + stride * rows > dib.size())
        return nullptr;
    bitsOffset = static_cast<std::size_t>(offset);
    return header;
}

HBITMAP BitmapFromDib(const std::vector<BYTE>& dib)
{
    std::size_t bitsOffset = 0;
    const BITMAPINFOHEADER* header = WellFormedDib(dib, bitsOffset);
    if (header == nullptr)
        return nullptr;
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HBITMAP bitmap = CreateDIBitmap(display, header, CBM_INIT, dib.data() + bitsOffset,
                                    reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
    DeleteDC(display);
    return bitmap;
}

} // namespace

void RegisterResource(HMODULE module, LPCSTR type, LPCSTR name, std::vector<BYTE> data)
{
    TResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    const HMODULE owner = Owner(module);
    if (TResource* existing = Find(table, owner, Key(type), Key(name)))
        existing->data = std::move(data);
    else
        table.resources.push_back({owner, Key(type), Key(name), std::move(data)});
}

bool RegisterBitmapFileResource(HMODULE module, LPCSTR name, const std::vector<BYTE>& fileBytes)
{
    constexpr std::size_t kFileHeaderSize = 14;
    if (fileBytes.size() < kFileHeaderSize || fileBytes[0] != 'B' || fileBytes[1] != 'M')
        return false;
    RegisterResource(module, RT_BITMAP, name, std::vector<BYTE>(fileBytes.begin() + kFileHeaderSize, fileBytes.end()));
    return true;
}

void RegisterStringResource(HMODULE module, UINT id, const AnsiString& text)
{
    TResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    table.strings[{Owner(module), id}] = text;
}

void RemoveModuleResources(HMODULE module)
{
    TResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    const HMODULE owner = Owner(module);
    table.resources.remove_if([&](const TResource& r) { return r.module == owner; });
    std::erase_if(table.strings, [&](const auto& entry) { return entry.first.first == owner; });
}

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type)
{
    if (name == nullptr || type == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    TResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    if (TResource* found = Find(table, Owner(module), Key(type), Key(name)))
        return reinterpret_cast<HRSRC>(found);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource)
{
    std::lock_guard guard(Table().lock);
    TResource* found = FromHandle(resource);
    if (found == nullptr) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    // Empty data still gets a valid, distinct handle: the entry itself.
    return found->data.empty() ? static_cast<HGLOBAL>(found) : static_cast<HGLOBAL>(found->data.data());
}

DWORD SizeofResource(HMODULE, HRSRC resource)
{
    std::lock_guard guard(Table().lock);
    TResource* found = FromHandle(resource);
    return found ? static_cast<DWORD>(found->data.size()) : 0;
}

LPVOID LockResource(HGLOBAL data) { return data; }

BOOL FreeResource(HGLOBAL) { return FALSE; }

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size)
{
    if (buffer == nullptr || size <= 0)
        return 0;
    TResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto it = table.strings.find({Owner(instance), id});
    if (it == table.strings.end()) {
        buffer[0] = '\0';
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const int count = std::min(it->second.Length(), size - 1);
    std::memcpy(buffer, it->second.c_str(), static_cast<std::size_t>(count));
    buffer[count] = '\0';
    return count;
}

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name)
{
    if (instance == nullptr)
        return IS_INTRESOURCE(name) ? CreateSystemBitmap(static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name))) : nullptr;
    std::vector<BYTE> dib;
    {
        TResourceTable& table = Table();
        std::lock_guard guard(table.lock);
        TResource* found = name ? Find(table, instance, Key(RT_BITMAP), Key(name)) : nullptr;
        if (found == nullptr) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        dib = found->data;
    }
    return BitmapFromDib(dib);
}
