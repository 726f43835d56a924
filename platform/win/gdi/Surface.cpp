#include "platform/win/gdi/Surface.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <utility>

Surface::Surface(int width, int height, std::uint32_t fill)
    : width_(std::max(0, width)), height_(std::max(0, height)), fill_(fill & 0xFFFFFF) {}

Surface::Surface(const Surface& other) : width_(other.width_), height_(other.height_), fill_(other.fill_) {
    if (other.made_) {
        own_.assign(other.Pixels(), other.Pixels() + static_cast<std::size_t>(width_) * height_);
        pixels_ = own_.data();
        made_ = true;
    }
}

Surface& Surface::operator=(const Surface& other) {
    if (this != &other)
        *this = Surface(other);
    return *this;
}

Surface::Surface(Surface&& other) noexcept { *this = std::move(other); }

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this == &other)
        return *this;
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    fill_ = std::exchange(other.fill_, 0);
    source_ = std::move(other.source_);
    other.source_ = nullptr;
    made_ = std::exchange(other.made_, false);
    pixels_ = std::exchange(other.pixels_, nullptr);
    own_ = std::move(other.own_);
    other.own_.clear();
    memory_ = std::move(other.memory_);
    return *this;
}

std::uint32_t* Surface::Pixels() const {
    if (!made_)
        Make();
    return pixels_;
}

// Memory from the source reads 0 when it is new, so only another fill is written.
void Surface::Make() const {
    const std::size_t count = static_cast<std::size_t>(width_) * height_;
    memory_ = source_ && count ? source_(width_, height_) : nullptr;
    if (memory_) {
        pixels_ = memory_->Pixels();
        if (fill_)
            std::fill(pixels_, pixels_ + count, fill_);
    } else {
        own_.assign(count, fill_);
        pixels_ = own_.data();
    }
    made_ = true;
}

void Surface::Resize(int width, int height, std::uint32_t fill) {
    if (std::max(0, width) == width_ && std::max(0, height) == height_)
        return;
    if (!made_ && (fill & 0xFFFFFF) == fill_) {
        width_ = std::max(0, width);
        height_ = std::max(0, height);
        return;
    }
    Surface resized(width, height, fill);
    resized.source_ = source_;
    const int w = std::min(width_, resized.width_);
    const int h = std::min(height_, resized.height_);
    // Pixels not made yet are all the old fill: they are not made only to be copied.
    for (int y = 0; y < h; ++y)
        if (made_)
            std::copy(Row(y), Row(y) + w, resized.Row(y));
        else
            std::fill(resized.Row(y), resized.Row(y) + w, fill_);
    *this = std::move(resized);
}

void Surface::Fill(std::uint32_t rgb) {
    if (made_)
        std::fill(pixels_, pixels_ + static_cast<std::size_t>(width_) * height_, rgb & 0xFFFFFF);
    else
        fill_ = rgb & 0xFFFFFF;
}

void Surface::SetMemorySource(SurfaceMemorySource source) {
    source_ = std::move(source);
    if (!made_)
        return;
    Surface moved(width_, height_, fill_);
    moved.source_ = source_;
    std::copy(pixels_, pixels_ + static_cast<std::size_t>(width_) * height_, moved.Pixels());
    *this = std::move(moved);
}

namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// zlib stream made of stored (uncompressed) deflate blocks of at most 65535 bytes.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out{0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t len = std::min<std::size_t>(65535, raw.size() - pos);
        const bool last = pos + len == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(len));
        out.push_back(static_cast<std::uint8_t>(len >> 8));
        out.push_back(static_cast<std::uint8_t>(~len));
        out.push_back(static_cast<std::uint8_t>(~len >> 8));
        out.insert(out.end(), raw.begin() + pos, raw.begin() + pos + len);
        pos += len;
    } while (pos < raw.size());
    PutBigEndian(out, Adler32(raw));
    return out;
}

} // namespace

std::vector<std::uint8_t> EncodeSurfacePng(const Surface& surface) {
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(surface.Height()) * (1 + 3 * surface.Width()));
    for (int y = 0; y < surface.Height(); ++y) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < surface.Width(); ++x) {
            const std::uint32_t p = surface.Row(y)[x];
            raw.push_back(static_cast<std::uint8_t>(p >> 16));
            raw.push_back(static_cast<std::uint8_t>(p >> 8));
            raw.push_back(static_cast<std::uint8_t>(p));
        }
    }
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(surface.Width()));
    PutBigEndian(header, static_cast<std::uint32_t>(surface.Height()));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    return png;
}

bool SaveSurfacePng(const Surface& surface, const std::string& path) {
    const std::vector<std::uint8_t> png = EncodeSurfacePng(surface);
    std::ofstream file(path, std::ios::binary);
    if (!file)
        return false;
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file);
}
