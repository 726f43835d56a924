// The run time's 8-bit string: length-counted, holds any byte (NUL included),
// text in the Windows code page. Positions are 1-based, as in the original run time.
#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

class AnsiString {
public:
    AnsiString() = default;
    AnsiString(const char* text) : s_(text ? text : "") {}
    AnsiString(const char* data, std::size_t length) : s_(data, length) {}
    AnsiString(std::string text) : s_(std::move(text)) {}
    AnsiString(std::string_view text) : s_(text) {}
    explicit AnsiString(char c) : s_(1, c) {}

    int Length() const { return static_cast<int>(s_.size()); }
    bool IsEmpty() const { return s_.empty(); }
    void SetLength(int length) { s_.resize(length < 0 ? 0 : static_cast<std::size_t>(length)); }

    // 1-based byte access, as the original string type's indexing.
    char& operator[](int index) { return s_[static_cast<std::size_t>(index - 1)]; }
    char operator[](int index) const { return s_[static_cast<std::size_t>(index - 1)]; }

    const char* c_str() const { return s_.c_str(); }
    const char* data() const { return s_.data(); }
    char* data() { return s_.data(); }
    const std::string& str() const { return s_; }
    std::string& str() { return s_; }
    operator std::string_view() const { return s_; }

    AnsiString& operator+=(const AnsiString& other) { s_ += other.s_; return *this; }
    AnsiString& operator+=(const char* other) { s_ += other; return *this; }
    AnsiString& operator+=(char c) { s_ += c; return *this; }

    friend AnsiString operator+(const AnsiString& a, const AnsiString& b) { return AnsiString(a.s_ + b.s_); }
    friend AnsiString operator+(const AnsiString& a, const char* b) { return AnsiString(a.s_ + b); }
    friend AnsiString operator+(const char* a, const AnsiString& b) { return AnsiString(a + b.s_); }
    friend AnsiString operator+(const AnsiString& a, char b) { return AnsiString(a.s_ + b); }
    friend AnsiString operator+(char a, const AnsiString& b) { return AnsiString(a + b.s_); }
    // A chain of concatenations grows its first temporary instead of copying it at each step.
    friend AnsiString operator+(AnsiString&& a, const AnsiString& b) { a.s_ += b.s_; return std::move(a); }
    friend AnsiString operator+(AnsiString&& a, const char* b) { a.s_ += b; return std::move(a); }
    friend AnsiString operator+(AnsiString&& a, char b) { a.s_ += b; return std::move(a); }

    // Byte-wise comparison with unsigned bytes, as the run time's string compare.
    friend bool operator==(const AnsiString& a, const AnsiString& b) { return a.s_ == b.s_; }
    friend bool operator==(const AnsiString& a, const char* b) { return a.s_ == b; }
    friend std::strong_ordering operator<=>(const AnsiString& a, const AnsiString& b);

private:
    std::string s_;
};

using String = AnsiString;

int Length(const AnsiString& s);
// Copy(s, index, count): index below 1 counts from 1, a count past the end stops at the end.
AnsiString Copy(const AnsiString& s, int index, int count);
// Pos(sub, s): 1-based position of the first occurrence, 0 when absent or sub is empty.
int Pos(const AnsiString& sub, const AnsiString& s);
// Delete(s, index, count): nothing happens when index is outside 1..Length.
void Delete(AnsiString& s, int index, int count);
// Insert(sub, s, index): index below 1 inserts at the front, past the end appends.
void Insert(const AnsiString& sub, AnsiString& s, int index);
AnsiString StringOfChar(char c, int count);
void SetLength(AnsiString& s, int length);
