// Reading and writing program variables through UseVariable; see use_variable.h.
#include "runtime/win/use_variable.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace qx {
namespace {

double LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::string digits(text.substr(i));
  const char* begin = digits.c_str();
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  return end == begin ? 0.0 : v;
}

std::string NumberText(double v) {
  if (v == std::floor(v) && std::fabs(v) < 1e15) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v));
    return buf;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

template <class T>
T Saturate(double v) {
  if (std::isnan(v)) return 0;
  const double lo = static_cast<double>(std::numeric_limits<T>::min());
  const double hi = static_cast<double>(std::numeric_limits<T>::max());
  if (v < lo) return std::numeric_limits<T>::min();
  if (v > hi) return std::numeric_limits<T>::max();
  return static_cast<T>(std::trunc(v));
}

}  // namespace

UseVariable UseVariable::AtAddress(Type type, void* address, size_t width) {
  UseVariable v;
  v.type_ = type;
  v.address_ = address;
  v.width_ = (type == Type::kString || type == Type::kCString) ? width : 0;
  return v;
}

size_t UseVariable::StorageBytes() const {
  switch (type_) {
    case Type::kNone:
    case Type::kStdString:
    case Type::kQueue: return 0;
    case Type::kString:
    case Type::kCString: return width_;
    case Type::kByte: return sizeof(BYTE);
    case Type::kShort: return sizeof(SHORT);
    case Type::kUShort: return sizeof(USHORT);
    case Type::kLong: return sizeof(LONG);
    case Type::kULong: return sizeof(ULONG);
    case Type::kReal: return sizeof(REAL);
  }
  return 0;
}

std::string UseVariable::Text() const {
  switch (type_) {
    case Type::kNone:
    case Type::kQueue: return {};
    case Type::kString: return std::string(static_cast<const char*>(address_), width_);
    case Type::kCString: {
      const char* p = static_cast<const char*>(address_);
      return std::string(p, ::strnlen(p, width_ - 1));
    }
    case Type::kStdString: return *static_cast<const std::string*>(address_);
    default: return NumberText(Number());
  }
}

void UseVariable::SetText(std::string_view text) {
  switch (type_) {
    case Type::kNone:
    case Type::kQueue: return;
    case Type::kString: {
      char* p = static_cast<char*>(address_);
      const size_t n = std::min(text.size(), width_);
      if (n > 0) std::memmove(p, text.data(), n);  // an empty view may carry no pointer
      std::memset(p + n, ' ', width_ - n);
      return;
    }
    case Type::kCString: {
      const size_t stop = text.find('\0');
      if (stop != std::string_view::npos) text = text.substr(0, stop);
      char* p = static_cast<char*>(address_);
      const size_t n = std::min(text.size(), width_ - 1);
      if (n > 0) std::memmove(p, text.data(), n);
      std::memset(p + n, 0, width_ - n);
      return;
    }
    case Type::kStdString: static_cast<std::string*>(address_)->assign(text); return;
    default: SetNumber(LeadingNumber(text)); return;
  }
}

double UseVariable::Number() const {
  switch (type_) {
    case Type::kNone:
    case Type::kQueue: return 0;
    case Type::kString:
    case Type::kCString:
    case Type::kStdString: return LeadingNumber(Text());
    case Type::kByte: return *static_cast<const BYTE*>(address_);
    case Type::kShort: return *static_cast<const SHORT*>(address_);
    case Type::kUShort: return *static_cast<const USHORT*>(address_);
    case Type::kLong: return *static_cast<const LONG*>(address_);
    case Type::kULong: return *static_cast<const ULONG*>(address_);
    case Type::kReal: return *static_cast<const REAL*>(address_);
  }
  return 0;
}

void UseVariable::SetNumber(double v) {
  switch (type_) {
    case Type::kNone:
    case Type::kQueue: return;
    case Type::kString:
    case Type::kCString:
    case Type::kStdString: SetText(NumberText(v)); return;
    case Type::kByte: *static_cast<BYTE*>(address_) = Saturate<BYTE>(v); return;
    case Type::kShort: *static_cast<SHORT*>(address_) = Saturate<SHORT>(v); return;
    case Type::kUShort: *static_cast<USHORT*>(address_) = Saturate<USHORT>(v); return;
    case Type::kLong: *static_cast<LONG*>(address_) = Saturate<LONG>(v); return;
    case Type::kULong: *static_cast<ULONG*>(address_) = Saturate<ULONG>(v); return;
    case Type::kReal: *static_cast<REAL*>(address_) = v; return;
  }
}

void UseVariable::Clear() {
  if (type_ == Type::kQueue) return;
  if (numeric()) {
    SetNumber(0);
  } else {
    SetText({});
  }
}

}  // namespace qx
