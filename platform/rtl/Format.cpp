#include "platform/rtl/Format.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatConv.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/rtl/StrUtils.h"

#include <cctype>

namespace {

struct TDirective {
    bool leftJustify = false;
    int width = -1;
    int precision = -1;
    char type = 0;
};

class TFormatter {
public:
    TFormatter(const AnsiString& format, std::span<const TVarRec> args, const TFormatSettings& settings)
        : format_(format.str()), args_(args), settings_(settings)
    {
    }

    AnsiString Run()
    {
        std::string out;
        while (at_ < format_.size()) {
            const std::size_t percent = format_.find('%', at_);
            out.append(format_, at_, percent == std::string::npos ? std::string::npos : percent - at_);
            if (percent == std::string::npos) break;
            at_ = percent + 1;
            out += Directive();
        }
        return AnsiString(std::move(out));
    }

private:
    [[noreturn]] void Invalid() const { throw EConvertError("Format '" + AnsiString(format_) + "' invalid or incompatible with argument"); }

    const TVarRec& NextArg()
    {
        if (next_ >= args_.size()) throw EConvertError("No argument for format '" + AnsiString(format_) + "'");
        return args_[next_++];
    }

    char Peek() const { return at_ < format_.size() ? format_[at_] : '\0'; }

    // A decimal number or "*" (the next argument); -1 when there is neither.
    int Number()
    {
        if (Peek() == '*') {
            ++at_;
            const TVarRec& arg = NextArg();
            if (!arg.IsInteger()) Invalid();
            return static_cast<int>(arg.Integer());
        }
        if (Peek() < '0' || Peek() > '9') return -1;
        int value = 0;
        while (Peek() >= '0' && Peek() <= '9') {
            value = value * 10 + (format_[at_++] - '0');
            if (value > 100000) Invalid();
        }
        return value;
    }

    TDirective Parse()
    {
        TDirective d;
        int number = Number();
        if (Peek() == ':') {
            ++at_;
            if (number < 0) number = 0;
            next_ = static_cast<std::size_t>(number);
            number = -1;
        }
        if (number < 0) {
            if (Peek() == '-') {
                d.leftJustify = true;
                ++at_;
            }
            number = Number();
        }
        d.width = number;
        if (Peek() == '.') {
            ++at_;
            d.precision = Number();
            if (d.precision < 0) d.precision = 0;
        }
        if (at_ >= format_.size()) Invalid();
        d.type = static_cast<char>(std::toupper(static_cast<unsigned char>(format_[at_++])));
        return d;
    }

    std::string Directive()
    {
        if (Peek() == '%') {
            ++at_;
            return "%";
        }
        const TDirective d = Parse();
        std::string text = Convert(d, NextArg());
        if (d.width > static_cast<int>(text.size())) {
            const std::string pad(static_cast<std::size_t>(d.width) - text.size(), ' ');
            text = d.leftJustify ? text + pad : pad + text;
        }
        return text;
    }

    static std::string ZeroPadded(std::string digits, int precision)
    {
        const bool negative = !digits.empty() && digits[0] == '-';
        if (negative) digits.erase(0, 1);
        if (precision > static_cast<int>(digits.size())) digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
        return (negative ? "-" : "") + digits;
    }

    // The argument's bits as unsigned: a 32-bit argument as 32 bits, a 64-bit one as 64.
    static std::uint64_t Unsigned(const TVarRec& arg)
    {
        return arg.Kind() == TVarRec::TKind::vtInteger ? static_cast<std::uint32_t>(arg.Integer())
                                                       : static_cast<std::uint64_t>(arg.Integer());
    }

    std::string Convert(const TDirective& d, const TVarRec& arg) const
    {
        switch (d.type) {
        case 'D':
            if (!arg.IsInteger()) Invalid();
            return ZeroPadded(std::to_string(arg.Integer()), d.precision);
        case 'U':
            if (!arg.IsInteger()) Invalid();
            return ZeroPadded(std::to_string(Unsigned(arg)), d.precision);
        case 'X':
            if (!arg.IsInteger()) Invalid();
            return UIntToHex(Unsigned(arg), d.precision).str();
        case 'P':
            if (arg.Kind() != TVarRec::TKind::vtPointer) Invalid();
            return UIntToHex(reinterpret_cast<std::uintptr_t>(arg.Pointer()), 8).str();
        case 'S':
            return Text(d, arg);
        case 'F': case 'E': case 'G': case 'N':
            return Real(d, arg);
        default:
            Invalid();
        }
    }

    std::string Text(const TDirective& d, const TVarRec& arg) const
    {
        if (arg.Kind() != TVarRec::TKind::vtString && arg.Kind() != TVarRec::TKind::vtChar) Invalid();
        const std::string& text = arg.Text().str();
        return d.precision >= 0 && d.precision < static_cast<int>(text.size()) ? text.substr(0, static_cast<std::size_t>(d.precision)) : text;
    }

    std::string Real(const TDirective& d, const TVarRec& arg) const
    {
        if (arg.Kind() != TVarRec::TKind::vtExtended) Invalid();
        const int precision = d.precision;
        switch (d.type) {
        case 'E': return FloatToStrF(arg.Real(), ffExponent, precision < 0 || precision > 18 ? 15 : precision, 3, settings_).str();
        case 'G': return FloatToStrF(arg.Real(), ffGeneral, precision < 0 || precision > 18 ? 15 : precision, 3, settings_).str();
        case 'N': return FloatToStrF(arg.Real(), ffNumber, 18, precision < 0 ? 2 : precision, settings_).str();
        default: return FloatToStrF(arg.Real(), ffFixed, 18, precision < 0 ? 2 : precision, settings_).str();
        }
    }

    const std::string& format_;
    std::span<const TVarRec> args_;
    const TFormatSettings& settings_;
    std::size_t at_ = 0;
    std::size_t next_ = 0;
};

} // namespace

AnsiString Format(const AnsiString& format, std::span<const TVarRec> args, const TFormatSettings& settings)
{
    return TFormatter(format, args, settings).Run();
}

AnsiString Format(const AnsiString& format, std::span<const TVarRec> args) { return Format(format, args, FormatSettings()); }

AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args)
{
    return Format(format, std::span<const TVarRec>(args.begin(), args.size()), FormatSettings());
}
