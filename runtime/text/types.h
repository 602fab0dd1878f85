// The runtime's value types: the scalar types of record layouts and the two text types.
//
//   STRING<N>   N bytes of text, padded with blanks to the full width, no terminator.
//               Assigning a longer value cuts it to N; a shorter one is padded with blanks.
//   CSTRING<N>  N bytes holding at most N-1 characters and a terminating NUL. Assigning a
//               longer value cuts it to N-1 characters; nothing is padded.
//
// Both are plain arrays of bytes (trivially copyable, alignment 1), so they can stand as
// fields of a record whose stored form is its in-memory layout. Comparison follows the
// runtime's rule for strings: the shorter operand is padded with blanks.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace qx {

using BYTE = std::uint8_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONG = std::int32_t;   // stored little-endian in records (the host order on x86-64)
using ULONG = std::uint32_t;
using REAL = double;

// Records are stored as their in-memory bytes, so numbers are stored little-endian only on such a host.
static_assert(std::endian::native == std::endian::little, "records store numbers in host order");

// Trailing blanks removed (the runtime's CLIP).
inline std::string_view RtClipView(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

// Compares as the runtime compares strings: the shorter operand padded with blanks.
// Returns <0, 0 or >0; bytes compare unsigned.
inline int RtCompareStrings(std::string_view a, std::string_view b) {
  const size_t n = std::max(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : ' ';
    const unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : ' ';
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return 0;
}

template <size_t N>
class STRING {
  static_assert(N > 0, "STRING needs a width");

 public:
  static constexpr size_t kWidth = N;

  STRING() { std::memset(data_, ' ', N); }
  STRING(std::string_view s) { assign(s); }  // NOLINT: implicit, like the runtime's assignment
  STRING(const char* s) { assign(s ? std::string_view(s) : std::string_view()); }
  template <size_t M>
  STRING(const STRING<M>& other) { assign(other.view()); }

  STRING& operator=(std::string_view s) { assign(s); return *this; }
  STRING& operator=(const char* s) { assign(s ? std::string_view(s) : std::string_view()); return *this; }
  template <size_t M>
  STRING& operator=(const STRING<M>& other) { assign(other.view()); return *this; }

  // A longer value is cut to N bytes, a shorter one padded with blanks.
  void assign(std::string_view s) {
    const size_t n = std::min(s.size(), N);
    if (n > 0) std::memmove(data_, s.data(), n);  // an empty view may carry a null pointer
    std::memset(data_ + n, ' ', N - n);
  }
  void clear() { std::memset(data_, ' ', N); }

  // All N bytes, blanks included.
  std::string_view view() const { return std::string_view(data_, N); }
  operator std::string_view() const { return view(); }  // NOLINT
  std::string str() const { return std::string(data_, N); }
  // Without trailing blanks.
  std::string_view clipped() const { return RtClipView(view()); }
  bool blank() const { return clipped().empty(); }

  char* data() { return data_; }
  const char* data() const { return data_; }
  static constexpr size_t size() { return N; }
  char& operator[](size_t i) { return data_[i]; }
  char operator[](size_t i) const { return data_[i]; }

  friend bool operator==(const STRING& a, std::string_view b) { return RtCompareStrings(a.view(), b) == 0; }
  template <size_t M>
  friend bool operator==(const STRING& a, const STRING<M>& b) { return RtCompareStrings(a.view(), b.view()) == 0; }

 private:
  char data_[N];
};

template <size_t N>
class CSTRING {
  static_assert(N > 1, "CSTRING needs room for a character and its terminator");

 public:
  static constexpr size_t kCapacity = N - 1;

  CSTRING() { std::memset(data_, 0, N); }
  CSTRING(std::string_view s) { assign(s); }  // NOLINT
  CSTRING(const char* s) { assign(s ? std::string_view(s) : std::string_view()); }

  CSTRING& operator=(std::string_view s) { assign(s); return *this; }
  CSTRING& operator=(const char* s) { assign(s ? std::string_view(s) : std::string_view()); return *this; }

  // A longer value is cut to N-1 characters; an embedded NUL ends the value.
  void assign(std::string_view s) {
    const size_t stop = s.find('\0');
    if (stop != std::string_view::npos) s = s.substr(0, stop);
    const size_t n = std::min(s.size(), N - 1);
    if (n > 0) std::memmove(data_, s.data(), n);
    std::memset(data_ + n, 0, N - n);
  }
  void clear() { std::memset(data_, 0, N); }

  std::string_view view() const { return std::string_view(data_, ::strnlen(data_, N - 1)); }
  operator std::string_view() const { return view(); }  // NOLINT
  std::string str() const { return std::string(view()); }
  const char* c_str() const { return data_; }
  std::string_view clipped() const { return RtClipView(view()); }
  bool empty() const { return data_[0] == '\0'; }

  char* data() { return data_; }
  const char* data() const { return data_; }
  static constexpr size_t size() { return N; }

  friend bool operator==(const CSTRING& a, std::string_view b) { return RtCompareStrings(a.view(), b) == 0; }

 private:
  char data_[N];
};

}  // namespace qx
