#include "platform/win/gdi/FontEngine.h"

#include "platform/win/gdi/FaceLookup.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <tuple>

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Requested height in pixels: negative = character (em) height, positive = cell height.
int RequestedHeight(const LOGFONTA& lf) { return lf.lfHeight == 0 ? -13 : lf.lfHeight; }

// The largest pixel size a face is realised at (FreeType's limit).
constexpr long long kMaxPixels = 0xFFFF;

// ---------------------------------------------------------------- the built-in test face

class TestFace : public RealizedFont {
public:
    explicit TestFace(const LOGFONTA& lf) {
        logFont_ = lf;
        faceName_ = GDI_TEST_FACE;
        const int height = static_cast<int>(std::clamp<long long>(std::llabs(RequestedHeight(lf)), 2, kMaxPixels));
        advance_ = lf.lfWidth > 0 ? static_cast<int>(lf.lfWidth) : std::max(1, height / 2);
        const int descent = height / 4;
        TEXTMETRICA& m = metrics_;
        m.tmHeight = height;
        m.tmAscent = height - descent;
        m.tmDescent = descent;
        m.tmAveCharWidth = m.tmMaxCharWidth = advance_;
        m.tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
        m.tmDigitizedAspectX = m.tmDigitizedAspectY = 96;
        m.tmFirstChar = 0x20;
        m.tmLastChar = 0xFF;
        m.tmDefaultChar = 0x1F;
        m.tmBreakChar = 0x20;
        m.tmItalic = lf.lfItalic;
        m.tmUnderlined = lf.lfUnderline;
        m.tmStruckOut = lf.lfStrikeOut;
        m.tmPitchAndFamily = FF_MODERN;  // fixed pitch: the pitch bit stays clear
        m.tmCharSet = lf.lfCharSet;
        underlineOffset_ = descent > 1 ? 1 : 0;
        strikeOutOffset_ = -(m.tmAscent / 2);
    }

    // Printable characters are solid boxes one column narrower than the advance and as
    // tall as the ascent; spaces and control characters are blank.
    const GlyphBitmap& Glyph(unsigned char c) override {
        GlyphBitmap& g = glyphs_[c];
        if (g.advance)
            return g;
        g.advance = advance_;
        if (c > 0x20 && c != 0x7F && c != 0xA0) {
            g.width = std::max(1, advance_ - 1);
            g.height = metrics_.tmAscent;
            g.top = metrics_.tmAscent;
            g.bits.assign(static_cast<std::size_t>(g.width) * g.height, 1);
        }
        return g;
    }

private:
    int advance_ = 1;
    std::array<GlyphBitmap, 256> glyphs_{};
};

// ---------------------------------------------------------------- FreeType faces

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        FT_Init_FreeType(&lib);
        return lib;
    }();
    return library;
}

// Classic Windows face names and the installed families that stand in for them.
std::string FamilyFor(const std::string& face) {
    static const std::map<std::string, std::string> aliases = {
        {"ms sans serif", kSansFamily}, {"ms shell dlg", kSansFamily},
        {"ms shell dlg 2", kSansFamily}, {"system", kSansFamily},
        {"arial", kSansFamily},         {"helvetica", kSansFamily},
        {"tahoma", "DejaVu Sans"},            {"verdana", "DejaVu Sans"},
        {"times new roman", "Liberation Serif"}, {"ms serif", "Liberation Serif"},
        {"courier new", "Liberation Mono"},   {"courier", "Liberation Mono"},
        {"fixedsys", "Liberation Mono"},      {"terminal", "Liberation Mono"},
    };
    auto it = aliases.find(Lower(face));
    if (it != aliases.end())
        return it->second;
    return face.empty() ? kSansFamily : face;
}

bool IsRasterFace(const std::string& face) {
    const std::string f = Lower(face);
    return f == "ms sans serif" || f == "system" || f == "ms serif" || f == "fixedsys" || f == "terminal";
}

class FreeTypeFace : public RealizedFont {
public:
    FreeTypeFace(const LOGFONTA& lf, const FaceFile& file) : file_(file) {
        logFont_ = lf;
        const std::string requested = lf.lfFaceName;
        faceName_ = requested.empty() ? "MS Sans Serif" : requested;
        if (FT_New_Face(Library(), file.path.c_str(), file.index, &face_) != 0) {
            face_ = nullptr;
            return;
        }
        double winAscent = face_->ascender, winDescent = -face_->descender;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2)); os2 && os2->usWinAscent) {
            winAscent = os2->usWinAscent;
            winDescent = os2->usWinDescent;
        }
        const double units = face_->units_per_EM ? face_->units_per_EM : 2048;
        const int requestedHeight = RequestedHeight(lf);
        const double em = requestedHeight < 0 ? -static_cast<double>(requestedHeight)
                                              : requestedHeight * units / (winAscent + winDescent);
        const int emPixels = static_cast<int>(std::clamp<long long>(std::llround(em), 1, kMaxPixels));
        FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(emPixels));
        const double scale = emPixels / units;
        TEXTMETRICA& m = metrics_;
        m.tmAscent = static_cast<LONG>(std::lround(winAscent * scale));
        m.tmDescent = static_cast<LONG>(std::lround(winDescent * scale));
        m.tmHeight = m.tmAscent + m.tmDescent;
        m.tmInternalLeading = std::max<LONG>(0, m.tmHeight - emPixels);
        m.tmExternalLeading = 0;
        m.tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
        m.tmDigitizedAspectX = m.tmDigitizedAspectY = 96;
        m.tmFirstChar = 0x20;
        m.tmLastChar = 0xFF;
        m.tmDefaultChar = 0x1F;
        m.tmBreakChar = 0x20;
        m.tmItalic = lf.lfItalic;
        m.tmUnderlined = lf.lfUnderline;
        m.tmStruckOut = lf.lfStrikeOut;
        m.tmCharSet = lf.lfCharSet;
        const bool fixed = FT_IS_FIXED_WIDTH(face_);
        // The pitch bit set means variable pitch; scalable faces are TrueType unless they
        // stand in for a raster face.
        BYTE pitch = fixed ? 0 : TMPF_FIXED_PITCH;
        if (!IsRasterFace(faceName_))
            pitch |= TMPF_TRUETYPE | TMPF_VECTOR;
        m.tmPitchAndFamily = static_cast<BYTE>(pitch | (lf.lfPitchAndFamily & 0xF0));
        // The face's own average when it has one, else that of the small letters.
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2)); os2 && os2->xAvgCharWidth > 0) {
            m.tmAveCharWidth = static_cast<LONG>(std::lround(os2->xAvgCharWidth * scale));
        } else {
            int sum = 0;
            for (unsigned char c = 'a'; c <= 'z'; ++c)
                sum += Advance(c);
            m.tmAveCharWidth = (sum + 13) / 26;
        }
        underlineOffset_ = std::max(1, static_cast<int>(std::lround(-face_->underline_position * scale)));
        lineThickness_ = std::max(1, static_cast<int>(std::lround(face_->underline_thickness * scale)));
        strikeOutOffset_ = -std::max(1, static_cast<int>(std::lround(m.tmAscent * 0.3)));
    }

    ~FreeTypeFace() override {
        if (face_)
            FT_Done_Face(face_);
    }

    // The metrics measure every character, while a dialog draws a few dozen: the
    // advance is taken from the loaded outline, the bitmap made when first drawn.
    int Advance(unsigned char c) override {
        if (loaded_[c])
            return glyphs_[c].advance;
        if (!advanceKnown_[c]) {
            advanceKnown_[c] = true;
            if (LoadOutline(c))
                advances_[c] = HintedAdvance();
        }
        return advances_[c];
    }

    int WidestAdvance() override {
        int widest = 0;
        for (unsigned c = 0x20; c <= 0xFF; ++c)
            if (c < 0x7F || c >= 0x80)
                widest = std::max(widest, Advance(static_cast<unsigned char>(c)));
        return widest;
    }

    const GlyphBitmap& Glyph(unsigned char c) override {
        GlyphBitmap& g = glyphs_[c];
        if (loaded_[c] || !face_)
            return g;
        loaded_[c] = true;
        if (!LoadStyledOutline(c))
            return g;
        FT_GlyphSlot slot = face_->glyph;
        g.advance = HintedAdvance();
        if (c < 0x20 || FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
            return g;
        const FT_Bitmap& bm = slot->bitmap;
        g.width = static_cast<int>(bm.width);
        g.height = static_cast<int>(bm.rows);
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.bits = Unpacked(bm);
        return g;
    }

    // A glyph larger than kWholeGlyphPixels is rendered only where the window asks, and
    // not kept; smaller ones come whole from the cache.
    GlyphBitmap GlyphPart(unsigned char c, const RECT& window) override {
        if (loaded_[c] || !face_ || c < 0x20 || !LoadStyledOutline(c) || face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
            return GlyphCrop(Glyph(c), window);
        FT_Outline& outline = face_->glyph->outline;
        const int advance = HintedAdvance();
        // The box the monochrome renderer gives the bitmap: the outline's box rounded so that
        // a pixel whose centre it holds is in.
        FT_BBox box;
        FT_Outline_Get_CBox(&outline, &box);
        const long long left = (box.xMin + 32) >> 6, right = (box.xMax + 31) >> 6;
        const long long bottom = (box.yMin + 32) >> 6, top = (box.yMax + 31) >> 6;
        if (left >= right || bottom >= top || (right - left) * (top - bottom) <= kWholeGlyphPixels)
            return GlyphCrop(Glyph(c), window);
        GlyphBitmap part;
        part.advance = advance;
        const long long x0 = std::max<long long>(left, window.left), x1 = std::min<long long>(right, window.right);
        const long long y0 = std::max<long long>(-top, window.top), y1 = std::min<long long>(-bottom, window.bottom);
        if (x0 >= x1 || y0 >= y1)
            return part;
        part.left = static_cast<int>(x0);
        part.top = static_cast<int>(-y0);
        part.width = static_cast<int>(x1 - x0);
        part.height = static_cast<int>(y1 - y0);
        std::vector<unsigned char> rows(static_cast<std::size_t>((part.width + 7) / 8) * part.height);
        FT_Bitmap target{};
        target.width = static_cast<unsigned>(part.width);
        target.rows = static_cast<unsigned>(part.height);
        target.pitch = (part.width + 7) / 8;
        target.buffer = rows.data();
        target.num_grays = 2;
        target.pixel_mode = FT_PIXEL_MODE_MONO;
        // The window's bottom-left corner becomes the bitmap's origin.
        FT_Outline_Translate(&outline, static_cast<FT_Pos>(-x0 * 64), static_cast<FT_Pos>(y1 * 64));
        if (FT_Outline_Get_Bitmap(face_->glyph->library, &outline, &target) != 0)
            return GlyphCrop(part, RECT{});
        part.bits = Unpacked(target);
        return part;
    }

private:
    static constexpr long long kWholeGlyphPixels = 1 << 20;

    // The glyph's outline with the face's emboldening and slant.
    bool LoadStyledOutline(unsigned char c) {
        if (!LoadOutline(c))
            return false;
        FT_GlyphSlot slot = face_->glyph;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (file_.embolden)
                FT_Outline_Embolden(&slot->outline, std::max<FT_Pos>(64, face_->size->metrics.x_ppem * 4));
            if (file_.slant) {
                FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
                FT_Outline_Transform(&slot->outline, &shear);
            }
        }
        return true;
    }
    // One byte per pixel of a monochrome bitmap.
    static std::vector<std::uint8_t> Unpacked(const FT_Bitmap& bm) {
        std::vector<std::uint8_t> bits(static_cast<std::size_t>(bm.width) * bm.rows);
        for (unsigned y = 0; y < bm.rows; ++y)
            for (unsigned x = 0; x < bm.width; ++x)
                bits[static_cast<std::size_t>(y) * bm.width + x] = (bm.buffer[y * bm.pitch + (x >> 3)] >> (7 - (x & 7))) & 1;
        return bits;
    }
    // Loads the character's hinted outline into the face's glyph slot.
    bool LoadOutline(unsigned char c) {
        if (!face_)
            return false;
        const FT_UInt index = FT_Get_Char_Index(face_, Cp1252ToUnicode(c));
        return FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) == 0;
    }
    // The advance of the outline just loaded, in whole pixels.
    int HintedAdvance() const {
        return static_cast<int>((face_->glyph->advance.x + 32) >> 6) + (file_.embolden ? 1 : 0);
    }

    FaceFile file_;
    FT_Face face_ = nullptr;
    std::array<GlyphBitmap, 256> glyphs_{};
    std::array<bool, 256> loaded_{};
    std::array<int, 256> advances_{};
    std::array<bool, 256> advanceKnown_{};
};

using FontKey = std::tuple<std::string, LONG, LONG, LONG, BYTE, BYTE, BYTE>;

} // namespace

GlyphBitmap GlyphCrop(const GlyphBitmap& glyph, const RECT& window) {
    GlyphBitmap part;
    part.advance = glyph.advance;
    const int x0 = std::max(glyph.left, static_cast<int>(window.left));
    const int x1 = std::min(glyph.left + glyph.width, static_cast<int>(window.right));
    const int y0 = std::max(-glyph.top, static_cast<int>(window.top));
    const int y1 = std::min(-glyph.top + glyph.height, static_cast<int>(window.bottom));
    if (x0 >= x1 || y0 >= y1)
        return part;
    part.left = x0;
    part.top = -y0;
    part.width = x1 - x0;
    part.height = y1 - y0;
    part.bits.reserve(static_cast<std::size_t>(part.width) * part.height);
    for (int y = y0; y < y1; ++y) {
        const auto row = glyph.bits.begin() + static_cast<std::ptrdiff_t>(y + glyph.top) * glyph.width;
        part.bits.insert(part.bits.end(), row + (x0 - glyph.left), row + (x1 - glyph.left));
    }
    return part;
}

char32_t Cp1252ToUnicode(unsigned char c) {
    static const char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return c >= 0x80 && c < 0xA0 ? high[c - 0x80] : c;
}

RealizedFont& RealizeFont(const LOGFONTA& lf) {
    static std::map<FontKey, std::unique_ptr<RealizedFont>> cache;
    const std::string face = lf.lfFaceName;
    const FontKey key{Lower(face), lf.lfHeight, lf.lfWidth, lf.lfWeight >= 600 ? 700 : 400, lf.lfItalic,
                      lf.lfUnderline, lf.lfStrikeOut};
    auto it = cache.find(key);
    if (it != cache.end())
        return *it->second;
    std::unique_ptr<RealizedFont> font;
    if (Lower(face) == Lower(GDI_TEST_FACE)) {
        font = std::make_unique<TestFace>(lf);
    } else if (std::optional<FaceFile> file = FindFaceFile(FamilyFor(face), lf.lfWeight, lf.lfItalic != 0)) {
        font = std::make_unique<FreeTypeFace>(lf, *file);
    } else {
        // No usable font file at all: the test face keeps text measurable.
        font = std::make_unique<TestFace>(lf);
    }
    return *cache.emplace(key, std::move(font)).first->second;
}
