// Sets of a one-byte enumeration, stored as a bit mask with the original's bit order: the
// element with ordinal n is bit n. Sets of up to 32 elements, as published sets are.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E>
class TSet {
    static_assert(std::is_enum_v<E>, "a set is made of enumeration values");

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> elements)
    {
        for (E e : elements)
            mask_ |= Bit(e);
    }

    static constexpr TSet FromMask(std::uint32_t mask)
    {
        TSet s;
        s.mask_ = mask;
        return s;
    }
    constexpr std::uint32_t Mask() const { return mask_; }

    constexpr bool Contains(E e) const { return (mask_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return mask_ == 0; }
    constexpr TSet& Include(E e) { mask_ |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { mask_ &= ~Bit(e); return *this; }

    friend constexpr TSet operator+(TSet a, TSet b) { return FromMask(a.mask_ | b.mask_); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromMask(a.mask_ & ~b.mask_); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromMask(a.mask_ & b.mask_); }
    friend constexpr bool operator==(TSet a, TSet b) { return a.mask_ == b.mask_; }
    // a <= b: every element of a is in b.
    friend constexpr bool operator<=(TSet a, TSet b) { return (a.mask_ & ~b.mask_) == 0; }

private:
    static constexpr std::uint32_t Bit(E e) { return std::uint32_t{1} << static_cast<unsigned>(e); }

    std::uint32_t mask_ = 0;
};
