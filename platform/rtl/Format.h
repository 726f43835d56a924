// The run time's Format: a format string with "%" directives filled from a list of values,
// written as the original's open array: Format("%d of %s", {3, name}).
//
// Directive: "%" [index ":"] ["-"] [width] ["." precision] type, where index, width and
// precision may be "*" (taken from the next argument). Types (either case):
//   d  integer; precision is the least number of digits (zero-padded)
//   u  as d, of the value taken as unsigned
//   x  upper-case hexadecimal; precision is the least number of digits
//   p  pointer, eight or more upper-case hexadecimal digits
//   s  string, character or C string; precision is the most characters taken
//   f  fixed, precision decimals (2 if none);  e  scientific, precision digits (15 if none)
//   g  general, precision significant digits (15 if none);  n  as f with thousand separators
// "%%" is a percent sign. Width pads with blanks on the left ("-": on the right).
// A directive that does not fit its argument, or lacks one, raises EConvertError.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/FormatSettings.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

class TVarRec {
public:
    enum class TKind : std::uint8_t { vtInteger, vtInt64, vtExtended, vtString, vtChar, vtBoolean, vtPointer };

    TVarRec(int v) : kind_(TKind::vtInteger), integer_(v) {}
    TVarRec(unsigned v) : kind_(TKind::vtInt64), integer_(v) {}
    TVarRec(long v) : kind_(TKind::vtInt64), integer_(v) {}
    TVarRec(unsigned long v) : kind_(TKind::vtInt64), integer_(static_cast<std::int64_t>(v)) {}
    TVarRec(long long v) : kind_(TKind::vtInt64), integer_(v) {}
    TVarRec(unsigned long long v) : kind_(TKind::vtInt64), integer_(static_cast<std::int64_t>(v)) {}
    TVarRec(double v) : kind_(TKind::vtExtended), real_(v) {}
    TVarRec(long double v) : kind_(TKind::vtExtended), real_(static_cast<double>(v)) {}
    TVarRec(char v) : kind_(TKind::vtChar), text_(v) {}
    TVarRec(bool v) : kind_(TKind::vtBoolean), integer_(v ? 1 : 0) {}
    TVarRec(const char* v) : kind_(TKind::vtString), text_(v) {}
    TVarRec(const AnsiString& v) : kind_(TKind::vtString), text_(v) {}
    TVarRec(const std::string& v) : kind_(TKind::vtString), text_(v) {}
    TVarRec(std::string_view v) : kind_(TKind::vtString), text_(v) {}
    TVarRec(const void* v) : kind_(TKind::vtPointer), pointer_(v) {}
    TVarRec(std::nullptr_t) : kind_(TKind::vtPointer) {}

    TKind Kind() const { return kind_; }
    bool IsInteger() const { return kind_ == TKind::vtInteger || kind_ == TKind::vtInt64; }
    std::int64_t Integer() const { return integer_; }
    double Real() const { return real_; }
    const AnsiString& Text() const { return text_; }
    const void* Pointer() const { return pointer_; }

private:
    TKind kind_;
    std::int64_t integer_ = 0;
    double real_ = 0.0;
    AnsiString text_;
    const void* pointer_ = nullptr;
};

AnsiString Format(const AnsiString& format, std::span<const TVarRec> args, const TFormatSettings& settings);
AnsiString Format(const AnsiString& format, std::span<const TVarRec> args);
AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args = {});
