// Date layouts from strftime-style formats, writing and reading dates through them.
#include "runtime/text/date_layout.h"

#include <langinfo.h>
#include <locale.h>

#include <vector>

#include "runtime/text/char_tables.h"

namespace qx {

// Collects the fields and the fixed texts of a format, in order.
class DateLayout::Builder {
 public:
  void Add(std::string_view format) {
    for (size_t i = 0; i < format.size(); ++i) {
      if (format[i] != '%') {
        literal_ += format[i];
        continue;
      }
      if (++i >= format.size()) {  // a lone "%" at the end
        foreign_ = true;
        return;
      }
      char flag = '\0';
      while (i < format.size() && std::string_view("-_0^#").find(format[i]) != std::string_view::npos) {
        flag = format[i++];
      }
      while (i < format.size() && (RtIsDigit(format[i]) || format[i] == 'E' || format[i] == 'O')) ++i;
      if (i >= format.size()) {
        foreign_ = true;
        return;
      }
      switch (format[i]) {
        case 'd': AddPart(Field::kDay, PadFor(flag, '0')); break;
        case 'e': AddPart(Field::kDay, PadFor(flag, ' ')); break;
        case 'm': AddPart(Field::kMonth, PadFor(flag, '0')); break;
        case 'y':
        case 'Y': AddPart(Field::kYear, '0'); break;
        case 'D': Add("%m/%d/%y"); break;
        case 'F': Add("%Y-%m-%d"); break;
        case '%': literal_ += '%'; break;
        case 'b':
        case 'B':
        case 'h':  // a month name: keeps its place in the order, but is not written
          AddPart(Field::kMonth, '0');
          foreign_ = true;
          break;
        default: foreign_ = true; break;
      }
    }
  }

  DateLayout Finish() {
    bool each_once = parts_.size() == 3;
    for (const Field f : {Field::kDay, Field::kMonth, Field::kYear}) {
      int n = 0;
      for (const Part& p : parts_) n += p.field == f;
      each_once = each_once && n == 1;
    }
    if (!each_once) {
      Builder fallback;
      fallback.Add("%m/%d/%Y");
      return fallback.Finish();
    }
    DateLayout layout;
    literals_.push_back(literal_);
    for (size_t k = 0; k < 3; ++k) {
      layout.parts_[k] = parts_[k];
      layout.literals_[k] = literals_[k];
    }
    layout.literals_[3] = literals_[3];
    if (foreign_) {  // names or other conversions: the numeric form in the same order
      layout.literals_ = {"", "/", "/", ""};
      for (Part& p : layout.parts_) p.pad = '0';
    }
    return layout;
  }

 private:
  static char PadFor(char flag, char default_pad) {
    switch (flag) {
      case '-': return '\0';
      case '_': return ' ';
      case '0': return '0';
      default: return default_pad;
    }
  }

  void AddPart(Field f, char pad) {
    parts_.push_back(Part{f, pad});
    literals_.push_back(literal_);
    literal_.clear();
  }

  std::vector<Part> parts_;
  std::vector<std::string> literals_;  // the text before each part
  std::string literal_;                // the text since the last part
  bool foreign_ = false;               // something besides numeric fields and text
};

DateLayout DateLayout::FromFormat(std::string_view format) {
  Builder b;
  b.Add(format);
  return b.Finish();
}

void RtUseUserDateLocale() {
  ::setlocale(LC_ALL, "C");
  ::setlocale(LC_TIME, "");
}

DateLayout DateLayout::LocaleShortDate() {
  // Parsing a format is cheap, but list columns format many dates: keep the last one.
  thread_local std::string cached_format;
  thread_local std::optional<DateLayout> cached;
  const char* format = ::nl_langinfo(D_FMT);
  const std::string_view current = format ? format : "";
  if (!cached || current != cached_format) {
    cached_format = std::string(current);
    cached = FromFormat(current);
  }
  return *cached;
}

std::string DateLayout::Format(const CalendarDate& date) const {
  std::string out;
  out.reserve(width());
  for (size_t k = 0; k < 3; ++k) {
    out += literals_[k];
    const Part& p = parts_[k];
    if (p.field == Field::kYear) {
      const std::string digits = std::to_string(date.year);
      out.append(digits.size() < 4 ? 4 - digits.size() : 0, '0');
      out += digits;
      continue;
    }
    const int v = p.field == Field::kDay ? date.day : date.month;
    if (v < 10 && p.pad != '\0') out += p.pad;
    out += std::to_string(v);
  }
  out += literals_[3];
  return out;
}

namespace {

void SkipBlanks(std::string_view& s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return RtClipView(s);
}

bool Consume(std::string_view& s, std::string_view literal) {
  if (s.substr(0, literal.size()) != literal) return false;
  s.remove_prefix(literal.size());
  return true;
}

// Reads at least `min` and at most `max` digits from the front of s.
std::optional<int> ReadDigits(std::string_view& s, size_t min, size_t max) {
  size_t n = 0;
  int value = 0;
  while (n < max && n < s.size() && RtIsDigit(s[n])) value = value * 10 + (s[n++] - '0');
  if (n < min) return std::nullopt;
  s.remove_prefix(n);
  return value;
}

}  // namespace

std::optional<CalendarDate> DateLayout::Read(std::string_view text) const {
  std::string_view rest = text;
  SkipBlanks(rest);
  if (!Consume(rest, TrimBlanks(literals_[0]))) return std::nullopt;
  CalendarDate date;
  for (size_t k = 0; k < 3; ++k) {
    SkipBlanks(rest);
    const bool year = parts_[k].field == Field::kYear;
    const std::optional<int> v = year ? ReadDigits(rest, 4, 4) : ReadDigits(rest, 1, 2);
    if (!v) return std::nullopt;
    switch (parts_[k].field) {
      case Field::kDay: date.day = *v; break;
      case Field::kMonth: date.month = *v; break;
      case Field::kYear: date.year = *v; break;
    }
    SkipBlanks(rest);
    if (k < 2 && !Consume(rest, TrimBlanks(literals_[k + 1]))) return std::nullopt;
  }
  if (rest.empty()) return date;  // the closing text may be left out
  if (!Consume(rest, TrimBlanks(literals_[3]))) return std::nullopt;
  SkipBlanks(rest);
  if (!rest.empty()) return std::nullopt;
  return date;
}

size_t DateLayout::width() const {
  size_t n = 0;
  for (const std::string& l : literals_) n += l.size();
  for (const Part& p : parts_) n += p.field == Field::kYear ? 4 : 2;
  return n;
}

}  // namespace qx
