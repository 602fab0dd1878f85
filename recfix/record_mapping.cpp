// The field-by-field conversion of records; see record_mapping.h.
#include "recfix/record_mapping.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "runtime/text/strings.h"

namespace qx::recfix {

namespace {

bool IsText(FieldType t) { return t == FieldType::kString || t == FieldType::kCString; }

std::string_view AfterPrefix(std::string_view name) {
  const size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool SameText(std::string_view a, std::string_view b) {
  return RtSameIgnoringCase(a, b);
}

std::string TypeText(const FieldDef& f) {
  std::string t(FieldTypeName(f.type));
  if (IsText(f.type)) t += "(" + std::to_string(f.width) + ")";
  return t;
}

// The old field for a new one: the whole name first, else the name after the prefix when
// exactly one old field has it. -1 when none.
int MatchField(const RecordLayout& from, const FieldDef& to) {
  const int whole = from.FindField(to.name);
  if (whole >= 0) return whole;
  int found = -1;
  for (size_t i = 0; i < from.fields().size(); ++i) {
    if (!SameText(AfterPrefix(from.fields()[i].name), AfterPrefix(to.name))) continue;
    if (found >= 0) return -1;
    found = static_cast<int>(i);
  }
  return found;
}

// A number as read from a field: integers exactly, REAL as it is.
struct Number {
  bool real = false;
  int64_t whole = 0;
  double value = 0;
};

Number ReadNumber(const FieldDef& f, const unsigned char* p) {
  Number n;
  switch (f.type) {
    case FieldType::kByte: n.whole = *p; break;
    case FieldType::kShort: { SHORT v; std::memcpy(&v, p, sizeof v); n.whole = v; break; }
    case FieldType::kUShort: { USHORT v; std::memcpy(&v, p, sizeof v); n.whole = v; break; }
    case FieldType::kLong: { LONG v; std::memcpy(&v, p, sizeof v); n.whole = v; break; }
    case FieldType::kULong: { ULONG v; std::memcpy(&v, p, sizeof v); n.whole = v; break; }
    case FieldType::kReal: std::memcpy(&n.value, p, sizeof n.value); n.real = true; break;
    default: break;
  }
  return n;
}

void Range(FieldType t, int64_t* lo, int64_t* hi) {
  switch (t) {
    case FieldType::kByte: *lo = 0; *hi = 255; return;
    case FieldType::kShort: *lo = -32768; *hi = 32767; return;
    case FieldType::kUShort: *lo = 0; *hi = 65535; return;
    case FieldType::kLong: *lo = std::numeric_limits<LONG>::min(); *hi = std::numeric_limits<LONG>::max(); return;
    default: *lo = 0; *hi = std::numeric_limits<ULONG>::max(); return;
  }
}

// Writes the number into the field; false when it had to be held at a range end (or was
// not a number at all, a NaN, which becomes 0).
bool WriteNumber(const FieldDef& f, const Number& n, unsigned char* p) {
  if (f.type == FieldType::kReal) {
    const double v = n.real ? n.value : static_cast<double>(n.whole);
    std::memcpy(p, &v, sizeof v);
    return true;
  }
  int64_t lo, hi;
  Range(f.type, &lo, &hi);
  int64_t v = 0;
  bool kept = true;
  if (n.real) {
    if (std::isnan(n.value)) kept = false;
    else if (n.value <= static_cast<double>(lo)) { v = lo; kept = n.value >= static_cast<double>(lo) - 0.5; }
    else if (n.value >= static_cast<double>(hi)) { v = hi; kept = n.value <= static_cast<double>(hi) + 0.5; }
    else v = std::llround(n.value);
  } else {
    v = n.whole < lo ? lo : n.whole > hi ? hi : n.whole;
    kept = v == n.whole;
  }
  switch (f.type) {
    case FieldType::kByte: *p = static_cast<BYTE>(v); break;
    case FieldType::kShort: { const SHORT x = static_cast<SHORT>(v); std::memcpy(p, &x, sizeof x); break; }
    case FieldType::kUShort: { const USHORT x = static_cast<USHORT>(v); std::memcpy(p, &x, sizeof x); break; }
    case FieldType::kLong: { const LONG x = static_cast<LONG>(v); std::memcpy(p, &x, sizeof x); break; }
    case FieldType::kULong: { const ULONG x = static_cast<ULONG>(v); std::memcpy(p, &x, sizeof x); break; }
    default: break;
  }
  return kept;
}

// The text a field holds: a STRING's bytes (blanks included), a CSTRING's up to its NUL.
std::string_view ReadText(const FieldDef& f, const unsigned char* p) {
  const char* c = reinterpret_cast<const char*>(p);
  if (f.type == FieldType::kCString) return std::string_view(c, ::strnlen(c, f.width));
  return std::string_view(c, f.width);
}

// Writes the text into the field; false when content other than trailing blanks was cut.
bool WriteText(const FieldDef& f, std::string_view text, unsigned char* p) {
  size_t room = f.width;
  char pad = ' ';
  if (f.type == FieldType::kCString) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    room = f.width - 1;
    pad = '\0';
  }
  const size_t n = std::min(room, text.size());
  std::memcpy(p, text.data(), n);
  std::memset(p + n, pad, f.width - n);
  for (size_t i = n; i < text.size(); ++i) {
    if (text[i] != ' ') return false;
  }
  return true;
}

}  // namespace

RecordMapping::RecordMapping(const RecordLayout& from, const RecordLayout& to) : empty_(to.length()) {
  RtClearGroup(empty_.data(), to);
  for (const FieldDef& t : to.fields()) {
    const int i = MatchField(from, t);
    if (i < 0) continue;
    const FieldDef& f = from.fields()[static_cast<size_t>(i)];
    if (IsText(f.type) != IsText(t.type)) {
      unconvertible_.push_back(t.name + " (" + TypeText(t) + ") cannot take " + f.name + " (" + TypeText(f) + ")");
      continue;
    }
    Step s{Op::kNumber, f, t};
    if (f.type == t.type && f.width == t.width) s.op = Op::kBytes;
    else if (IsText(t.type)) s.op = Op::kText;
    steps_.push_back(s);
  }
}

void RecordMapping::Apply(const unsigned char* from, unsigned char* to) {
  std::memcpy(to, empty_.data(), empty_.size());
  for (Step& s : steps_) {
    const unsigned char* src = from + s.from.offset;
    unsigned char* dst = to + s.to.offset;
    switch (s.op) {
      case Op::kBytes: std::memcpy(dst, src, s.to.width); break;
      case Op::kText:
        if (!WriteText(s.to, ReadText(s.from, src), dst)) ++s.lost;
        break;
      case Op::kNumber:
        if (!WriteNumber(s.to, ReadNumber(s.from, src), dst)) ++s.lost;
        break;
    }
  }
}

std::vector<std::string> RecordMapping::Losses() const {
  std::vector<std::string> out;
  for (const Step& s : steps_) {
    if (s.lost == 0) continue;
    const std::string count = std::to_string(s.lost) + (s.lost == 1 ? " value" : " values");
    if (s.op == Op::kText) {
      const size_t room = s.to.type == FieldType::kCString ? s.to.width - 1 : s.to.width;
      out.push_back(s.to.name + ": " + count + " cut to " + std::to_string(room) + " characters");
    } else {
      out.push_back(s.to.name + ": " + count + " held at the ends of " + TypeText(s.to));
    }
  }
  return out;
}

}  // namespace qx::recfix
