// TSet: a set of the values of a small enumeration, as the class library's set types (TFontStyles, ...).
#pragma once

#include <cstdint>
#include <initializer_list>

// Holds up to 64 enumeration values as bits; the enumeration's values must lie in 0..63.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) FBits |= Bit(v);
  }

  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr uint64_t Bits() const { return FBits; }

  constexpr bool Contains(E v) const { return (FBits & Bit(v)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E v) {
    FBits |= Bit(v);
    return *this;
  }
  constexpr TSet& Exclude(E v) {
    FBits &= ~Bit(v);
    return *this;
  }
  constexpr TSet operator+(TSet other) const { return FromBits(FBits | other.FBits); }
  constexpr TSet operator-(TSet other) const { return FromBits(FBits & ~other.FBits); }
  constexpr TSet operator*(TSet other) const { return FromBits(FBits & other.FBits); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr uint64_t Bit(E v) { return uint64_t{1} << static_cast<unsigned>(v); }
  uint64_t FBits = 0;
};
