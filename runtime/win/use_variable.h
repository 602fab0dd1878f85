// A reference to a program variable that a window control shows and edits (its USE
// variable), and the small operations on variables that the programs call by name.
//
// UseVariable does not own the variable; the program keeps it alive while the window that
// binds it exists. Reading and writing it is program code: only the program thread that
// holds the runtime lock does so (never a view or the automation channel).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/text/types.h"

namespace qx {

class RtQueue;

class UseVariable {
 public:
  // Numbers come last: numeric() relies on the order.
  enum class Type { kNone, kString, kCString, kStdString, kQueue, kByte, kShort, kUShort, kLong, kULong, kReal };

  UseVariable() = default;
  template <size_t N>
  UseVariable(STRING<N>& s) : type_(Type::kString), address_(s.data()), width_(N) {}  // NOLINT
  template <size_t N>
  UseVariable(CSTRING<N>& s) : type_(Type::kCString), address_(s.data()), width_(N) {}  // NOLINT
  UseVariable(std::string& s) : type_(Type::kStdString), address_(&s) {}  // NOLINT
  UseVariable(BYTE& v) : type_(Type::kByte), address_(&v) {}              // NOLINT
  UseVariable(SHORT& v) : type_(Type::kShort), address_(&v) {}            // NOLINT
  UseVariable(USHORT& v) : type_(Type::kUShort), address_(&v) {}          // NOLINT
  UseVariable(LONG& v) : type_(Type::kLong), address_(&v) {}              // NOLINT
  UseVariable(ULONG& v) : type_(Type::kULong), address_(&v) {}            // NOLINT
  UseVariable(REAL& v) : type_(Type::kReal), address_(&v) {}              // NOLINT
  // A queue as the source of a list (the list reads its entries; Text() is empty).
  UseVariable(RtQueue& q) : type_(Type::kQueue), address_(&q) {}          // NOLINT

  // A variable of `type` at `address`, `width` bytes for STRING and CSTRING: how a queue
  // reads the copies of its fields that it keeps. Not for kQueue.
  static UseVariable AtAddress(Type type, void* address, size_t width);

  Type type() const { return type_; }
  bool bound() const { return type_ != Type::kNone; }
  bool numeric() const { return type_ >= Type::kByte; }
  const void* address() const { return address_; }
  void* address() { return address_; }
  // The queue of a kQueue variable; nullptr for every other type.
  RtQueue* queue() const { return type_ == Type::kQueue ? static_cast<RtQueue*>(address_) : nullptr; }
  // Bytes the value takes in memory: N for STRING<N> and CSTRING<N>, the size of the number
  // type; 0 for a std::string (its text has no fixed size), a queue and an unbound variable.
  size_t StorageBytes() const;
  // STRING and CSTRING: their width N; 0 for the others.
  size_t width() const { return width_; }

  // The value as text: a STRING with all its bytes (blanks included), a CSTRING up to its
  // terminator, a number in decimal (a REAL without trailing zeros). Empty when unbound.
  std::string Text() const;
  // Assigns a text: texts are cut or padded as their type says; numbers take the leading
  // number of the text (blanks skipped; nothing numeric gives 0). Nothing when unbound.
  void SetText(std::string_view text);
  // The value as a number (a text is read as by SetText of a number).
  double Number() const;
  void SetNumber(double value);
  // Numbers 0, texts blank or empty.
  void Clear();

 private:
  Type type_ = Type::kNone;
  void* address_ = nullptr;
  size_t width_ = 0;
};

// Sets a variable to 0 (numbers) or blanks (STRING) or empty (CSTRING).
inline void RtClearVariable(UseVariable variable) { variable.Clear(); }

}  // namespace qx
