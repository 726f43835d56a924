#include "platform/rtl/AnsiString.h"

std::strong_ordering operator<=>(const AnsiString& a, const AnsiString& b)
{
    const int c = a.str().compare(b.str());
    return c < 0 ? std::strong_ordering::less : c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal;
}

int Length(const AnsiString& s) { return s.Length(); }

AnsiString Copy(const AnsiString& s, int index, int count)
{
    const int length = s.Length();
    if (index < 1) index = 1;
    if (index > length || count <= 0) return AnsiString();
    const int available = length - index + 1;
    if (count > available) count = available;
    return AnsiString(s.str().substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count)));
}

int Pos(const AnsiString& sub, const AnsiString& s)
{
    if (sub.IsEmpty()) return 0;
    const auto at = s.str().find(sub.str());
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

void Delete(AnsiString& s, int index, int count)
{
    const int length = s.Length();
    if (index < 1 || index > length || count <= 0) return;
    const int available = length - index + 1;
    if (count > available) count = available;
    s.str().erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

void Insert(const AnsiString& sub, AnsiString& s, int index)
{
    const int length = s.Length();
    if (index < 1) index = 1;
    if (index > length + 1) index = length + 1;
    s.str().insert(static_cast<std::size_t>(index - 1), sub.str());
}

AnsiString StringOfChar(char c, int count)
{
    return count > 0 ? AnsiString(std::string(static_cast<std::size_t>(count), c)) : AnsiString();
}

void SetLength(AnsiString& s, int length) { s.SetLength(length); }
