// DrawText: formatted text in a rectangle: lines, word breaks, tabs, prefix
// characters, ellipses, alignment, clipping and measuring.
#include "platform/win/gdi/Text.h"

#include <algorithm>
#include <cstring>

namespace {

struct Line {
    std::string text;
    std::vector<int> underlined;  // indexes into text
};

struct Format {
    UINT flags;
    int tabWidth;  // pixels
};

// Removes prefix marks: "&x" underlines x, "&&" is a literal "&".
Line StripPrefixes(const std::string& raw, UINT flags) {
    Line line;
    if (flags & DT_NOPREFIX) {
        line.text = raw;
        return line;
    }
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '&') {
            line.text += raw[i];
            continue;
        }
        if (i + 1 >= raw.size())
            break;  // a lone mark at the end shows nothing
        ++i;
        if (raw[i] != '&' && !(flags & DT_HIDEPREFIX))
            line.underlined.push_back(static_cast<int>(line.text.size()));
        line.text += raw[i];
    }
    return line;
}

std::vector<std::string> SplitLines(const std::string& text, UINT flags) {
    if (flags & DT_SINGLELINE)
        return {text};
    std::vector<std::string> lines{""};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

// Width of a line piece, tabs expanded to the next stop when asked.
int PieceWidth(DcObj& dc, const std::string& s, const Format& f) {
    int x = 0;
    for (char ch : s) {
        if (ch == '\t' && (f.flags & DT_EXPANDTABS) && f.tabWidth > 0)
            x = (x / f.tabWidth + 1) * f.tabWidth;
        else
            x += TextWidth(dc, &ch, 1);
    }
    return x;
}

Line Slice(const Line& line, std::size_t from, std::size_t to) {
    Line out;
    out.text = line.text.substr(from, to - from);
    for (int u : line.underlined)
        if (u >= static_cast<int>(from) && u < static_cast<int>(to))
            out.underlined.push_back(u - static_cast<int>(from));
    return out;
}

// Greedy breaking at blanks; a word wider than the rectangle breaks between characters.
std::vector<Line> WordBreak(DcObj& dc, const Line& line, int width, const Format& f) {
    std::vector<Line> out;
    const std::string& s = line.text;
    std::size_t start = 0;
    while (true) {
        while (start < s.size() && s[start] == ' ' && !out.empty())
            ++start;
        if (start >= s.size()) {
            if (out.empty())
                out.push_back(Slice(line, start, start));
            break;
        }
        std::size_t end = start, lastBreak = std::string::npos;
        while (end < s.size()) {
            if (s[end] == ' ')
                lastBreak = end;
            if (PieceWidth(dc, s.substr(start, end + 1 - start), f) > width && s[end] != ' ')
                break;
            ++end;
        }
        if (end >= s.size()) {
            out.push_back(Slice(line, start, s.size()));
            break;
        }
        std::size_t cut = lastBreak != std::string::npos && lastBreak > start ? lastBreak : end;
        if (cut == start)
            cut = start + 1;  // at least one character per line
        std::size_t trimmed = cut;
        while (trimmed > start && s[trimmed - 1] == ' ')
            --trimmed;
        out.push_back(Slice(line, start, trimmed));
        start = cut;
    }
    return out;
}

std::string FitEnd(DcObj& dc, const std::string& s, int width, const Format& f, const std::string& tail = "") {
    std::string head = s;
    while (!head.empty() && PieceWidth(dc, head + "..." + tail, f) > width)
        head.pop_back();
    return head + "..." + tail;
}

void ApplyEllipsis(DcObj& dc, Line& line, int width, const Format& f) {
    if (PieceWidth(dc, line.text, f) <= width)
        return;
    std::string result;
    const std::size_t slash = line.text.rfind('\\');
    if ((f.flags & DT_PATH_ELLIPSIS) && slash != std::string::npos) {
        const std::string tail = line.text.substr(slash);
        result = FitEnd(dc, line.text.substr(0, slash), width, f, tail);
        if (PieceWidth(dc, result, f) > width)
            result = FitEnd(dc, result, width, f);
    } else {
        result = FitEnd(dc, line.text, width, f);
    }
    const std::size_t kept = std::min(result.size(), line.text.size());
    std::vector<int> underlined;
    for (int u : line.underlined)
        if (u < static_cast<int>(kept) &&
            result.compare(0, static_cast<std::size_t>(u) + 1, line.text, 0, static_cast<std::size_t>(u) + 1) == 0)
            underlined.push_back(u);
    line.text = result;
    line.underlined = underlined;
}

void DrawLine(DcObj& dc, const Line& line, POINT origin, const Format& f, const std::optional<RECT>& clip) {
    TextRunOptions options;
    options.align = TA_LEFT | TA_TOP;
    options.opaqueCell = dc.state.bkMode == OPAQUE;
    options.clip = clip;
    int x = 0;
    std::size_t start = 0;
    const std::string& s = line.text;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        const bool tab = i < s.size() && s[i] == '\t' && (f.flags & DT_EXPANDTABS) && f.tabWidth > 0;
        if (!tab && i < s.size())
            continue;
        options.underlined.clear();
        for (int u : line.underlined)
            if (u >= static_cast<int>(start) && u < static_cast<int>(i))
                options.underlined.push_back(u - static_cast<int>(start));
        if (i > start)
            x += DrawTextRun(dc, {origin.x + x, origin.y}, s.data() + start, static_cast<int>(i - start), options);
        if (tab)
            x = (x / f.tabWidth + 1) * f.tabWidth;
        start = i + 1;
    }
}

std::string Describe(const char* text, int count, const RECT& r, UINT format) {
    return FormatArgs({r.left, r.top, r.right, r.bottom, format}) + ",\"" +
           std::string(text, static_cast<std::size_t>(count)) + "\"";
}

} // namespace

int DrawTextExA(HDC handle, LPSTR text, int count, LPRECT rect, UINT format, DRAWTEXTPARAMS* params) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !rect || (!text && count != 0))
        return 0;
    if (count < 0)
        count = static_cast<int>(std::strlen(text));
    RecordCall(*dc, "DrawText", Describe(text ? text : "", count, *rect, format));
    const TEXTMETRICA& m = DcFont(*dc).LayoutMetrics();
    UINT flags = format;
    int tabChars = params && params->iTabLength > 0 ? params->iTabLength : 8;
    if (flags & DT_TABSTOP) {
        // The tab size sits in bits 8-15, which then carry no other flag.
        tabChars = static_cast<int>((flags >> 8) & 0xFF);
        flags &= ~0xFF00u;
    }
    const Format f{flags, tabChars * m.tmAveCharWidth};
    const int leftMargin = params ? params->iLeftMargin : 0, rightMargin = params ? params->iRightMargin : 0;
    const RECT box{rect->left + leftMargin, rect->top, rect->right - rightMargin, rect->bottom};
    const int width = box.right - box.left;
    if (params)
        params->uiLengthDrawn = static_cast<UINT>(count);
    if (count == 0) {
        if (flags & DT_CALCRECT) {
            rect->right = rect->left;
            rect->bottom = rect->top;
        }
        return 0;
    }
    std::vector<Line> lines;
    for (const std::string& raw : SplitLines(std::string(text, static_cast<std::size_t>(count)), flags)) {
        const Line line = StripPrefixes(raw, flags);
        if ((flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE)) {
            for (Line& piece : WordBreak(*dc, line, width, f))
                lines.push_back(std::move(piece));
        } else {
            lines.push_back(line);
        }
    }
    if (flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
        for (Line& line : lines)
            ApplyEllipsis(*dc, line, width, f);
        if ((flags & DT_MODIFYSTRING) && (flags & DT_SINGLELINE) && !lines.empty()) {
            // Never beyond the caller's count: the buffer is not known to be larger.
            const std::string& shown = lines.front().text;
            const std::size_t n = std::min(shown.size(), static_cast<std::size_t>(count));
            std::memcpy(text, shown.data(), n);
            if (n < static_cast<std::size_t>(count))
                text[n] = '\0';
        }
    }
    const int lineHeight = m.tmHeight + ((flags & DT_EXTERNALLEADING) ? m.tmExternalLeading : 0);
    const int total = lineHeight * static_cast<int>(lines.size());
    int maxWidth = 0;
    for (const Line& line : lines)
        maxWidth = std::max(maxWidth, PieceWidth(*dc, line.text, f));
    if (flags & DT_CALCRECT) {
        rect->right = box.left + maxWidth + rightMargin;
        rect->bottom = rect->top + total;
        return total;
    }
    int y = box.top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = box.top + (box.bottom - box.top - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = box.bottom - lineHeight;
    }
    std::optional<RECT> clip;
    if (!(flags & DT_NOCLIP)) {
        const POINT a = dc->ToTarget(rect->left, rect->top), b = dc->ToTarget(rect->right, rect->bottom);
        clip = RECT{a.x, a.y, b.x, b.y};
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lw = PieceWidth(*dc, lines[i].text, f);
        int x = box.left;
        if (flags & DT_CENTER)
            x = box.left + (width - lw) / 2;
        else if (flags & DT_RIGHT)
            x = box.right - lw;
        DrawLine(*dc, lines[i], dc->ToTarget(x, y + static_cast<int>(i) * lineHeight), f, clip);
    }
    return y - box.top + total;
}

int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
    // DT_MODIFYSTRING needs a writable buffer; DrawText never modifies its text.
    if (!text)
        return DrawTextExA(dc, nullptr, count, rect, format & ~DT_MODIFYSTRING, nullptr);
    std::string copy = count < 0 ? std::string(text) : std::string(text, static_cast<std::size_t>(count));
    return DrawTextExA(dc, copy.data(), static_cast<int>(copy.size()), rect, format & ~DT_MODIFYSTRING, nullptr);
}
