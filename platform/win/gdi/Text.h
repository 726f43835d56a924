// Text runs: measuring and drawing one line of Windows-1252 text with the DC's font,
// character extra, alignment, background mode, rotation (escapement) and clipping.
#pragma once

#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/FontEngine.h"

#include <optional>
#include <string>
#include <vector>

RealizedFont& DcFont(DcObj& dc);
// Advance of each character including the DC's character extra.
std::vector<int> CharAdvances(DcObj& dc, const char* text, int count, const INT* dx);
int TextWidth(DcObj& dc, const char* text, int count);

struct TextRunOptions {
    const INT* dx = nullptr;
    UINT align = TA_LEFT | TA_TOP;
    bool opaqueCell = false;                 // fill the text cell with the background colour
    std::optional<RECT> clip;                // target coordinates
    std::vector<int> underlined;             // indexes of characters to underline (prefix marks)
};

// Draws the run with its reference point at `reference` (target coordinates); answers the width.
int DrawTextRun(DcObj& dc, POINT reference, const char* text, int count, const TextRunOptions& options);
