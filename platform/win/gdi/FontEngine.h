// Realised fonts: a LOGFONT resolved to a face at a pixel size, with metrics and
// glyph bitmaps for the Windows-1252 code page.
//
// Glyphs are rendered monochrome (one bit per pixel, hinted outlines), chosen once
// for the whole stand-in: results are exact and repeatable, and text keeps the
// crisp look of the classic non-antialiased desktop.
//
// Faces: the built-in test face (GDI_TEST_FACE) has fixed metrics and box glyphs
// and needs no font file; every other name goes through fontconfig. "MS Sans Serif"
// and "System" are the classic raster faces: they are drawn with an installed sans
// face but reported as raster (not TrueType) in the metrics, like the originals.
#pragma once

#include "platform/win/gdi/Gdi.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct GlyphBitmap {
    int width = 0;
    int height = 0;
    int left = 0;     // from the pen position to the first column
    int top = 0;      // from the baseline up to the first row
    int advance = 0;  // pixels to the next pen position
    std::vector<std::uint8_t> bits;  // width * height, 1 = ink
};

// The part of a glyph inside a window of its frame (see RealizedFont::GlyphPart).
GlyphBitmap GlyphCrop(const GlyphBitmap& glyph, const RECT& window);

class RealizedFont {
public:
    virtual ~RealizedFont() = default;
    // Every metric, tmMaxCharWidth too: that one takes the advance of every character,
    // so it is found when first asked for.
    const TEXTMETRICA& Metrics() {
        if (!widestKnown_) {
            metrics_.tmMaxCharWidth = WidestAdvance();
            widestKnown_ = true;
        }
        return metrics_;
    }
    // What text layout uses: every metric but tmMaxCharWidth, which may not be known yet.
    const TEXTMETRICA& LayoutMetrics() const { return metrics_; }
    const std::string& FaceName() const { return faceName_; }
    const LOGFONTA& LogFont() const { return logFont_; }
    virtual const GlyphBitmap& Glyph(unsigned char c) = 0;
    // The pixels of the glyph inside `window`, the same the whole glyph has there. The window
    // is in the glyph's frame: x from the pen position, y down from the baseline (row y lies
    // between the heights -y - 1 and -y). A face may render only that part, so that a glyph
    // far larger than what is drawn of it costs what is drawn.
    virtual GlyphBitmap GlyphPart(unsigned char c, const RECT& window) { return GlyphCrop(Glyph(c), window); }
    // Measuring needs no bitmap: a face may answer this without rendering the glyph.
    virtual int Advance(unsigned char c) { return Glyph(c).advance; }
    // Underline and strike-out rows, relative to the baseline (positive = below).
    int UnderlineOffset() const { return underlineOffset_; }
    int StrikeOutOffset() const { return strikeOutOffset_; }
    int LineThickness() const { return lineThickness_; }

protected:
    // The widest advance of the face's characters (tmMaxCharWidth).
    virtual int WidestAdvance() { return metrics_.tmMaxCharWidth; }

    TEXTMETRICA metrics_{};
    std::string faceName_;
    LOGFONTA logFont_{};
    int underlineOffset_ = 1;
    int strikeOutOffset_ = -3;
    int lineThickness_ = 1;

private:
    bool widestKnown_ = false;
};

// The font for a LOGFONT; realisations are cached and shared.
RealizedFont& RealizeFont(const LOGFONTA& logFont);
// Unicode code point of a Windows-1252 byte.
char32_t Cp1252ToUnicode(unsigned char c);
