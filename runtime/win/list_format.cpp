// Parsing a list's FORMAT string; see list_format.h.
#include "runtime/win/list_format.h"

#include <cctype>

#include "runtime/text/char_tables.h"
#include "runtime/text/picture.h"

namespace qx {
namespace {

class FormatReader {
 public:
  explicit FormatReader(std::string_view text) : s_(text) {}

  std::optional<ListFormat> Read(std::string* error) {
    ListFormat out;
    if (s_.empty()) return Fail(error, "the format is empty");
    size_t nextField = 0;
    while (i_ < s_.size()) {
      ListColumn c;
      if (!Column(c, error)) return std::nullopt;
      c.field = nextField++;
      if (c.colours) {
        c.colourField = nextField;
        nextField += 4;
      }
      out.hasHeader = out.hasHeader || !c.header.empty();
      out.columns.push_back(std::move(c));
    }
    out.fieldsUsed = nextField;
    return out;
  }

 private:
  std::optional<ListFormat> Fail(std::string* error, const std::string& what) {
    if (error) *error = what;
    return std::nullopt;
  }
  bool Bad(std::string* error, const std::string& what) {
    if (error) *error = "column " + std::to_string(column_) + ", at character " + std::to_string(i_ + 1) + ": " + what;
    return false;
  }

  static bool Justification(char c, Justify& j) {
    switch (RtUpperChar(c)) {
      case 'L': j = Justify::kLeft; return true;
      case 'R': j = Justify::kRight; return true;
      case 'C': j = Justify::kCentre; return true;
      case 'D': j = Justify::kDecimal; return true;
      default: return false;
    }
  }

  bool Number(LONG& out) {
    const size_t start = i_;
    LONG v = 0;
    while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) {
      if (v < 100000) v = v * 10 + (s_[i_] - '0');
      ++i_;
    }
    out = v;
    return i_ > start;
  }

  // "(n)" after a justification; nothing when none follows.
  bool Indent(LONG& out, std::string* error) {
    if (i_ >= s_.size() || s_[i_] != '(') return true;
    ++i_;
    const bool negative = i_ < s_.size() && s_[i_] == '-';
    if (negative) ++i_;
    if (!Number(out)) return Bad(error, "an indent needs a number");
    if (negative) out = -out;
    if (i_ >= s_.size() || s_[i_] != ')') return Bad(error, "\"(\" without \")\"");
    ++i_;
    return true;
  }

  // Text up to the next `close`; the reader stands after it.
  bool Delimited(char close, std::string& out, std::string* error) {
    const size_t start = ++i_;
    const size_t end = s_.find(close, start);
    if (end == std::string_view::npos) return Bad(error, std::string("\"") + close + "\" is not closed");
    out.assign(s_.substr(start, end - start));
    i_ = end + 1;
    return true;
  }

  bool Column(ListColumn& c, std::string* error) {
    ++column_;
    if (!Number(c.width)) return Bad(error, "a column begins with its width");
    if (i_ >= s_.size() || !Justification(s_[i_], c.justify)) return Bad(error, "the width needs a justification (L, R, C or D)");
    ++i_;
    if (!Indent(c.indent, error)) return false;
    bool headerJustified = false;
    while (i_ < s_.size() && !std::isdigit(static_cast<unsigned char>(s_[i_]))) {
      const char ch = s_[i_];
      if (ch == '|') {
        c.rightBorder = true;
        ++i_;
      } else if (ch == 'M' || ch == 'm') {
        c.resizable = true;
        ++i_;
      } else if (ch == '*') {
        c.colours = true;
        ++i_;
      } else if (ch == '~') {
        if (!Delimited('~', c.header, error)) return false;
        if (i_ < s_.size() && Justification(s_[i_], c.headerJustify)) {
          ++i_;
          headerJustified = true;
          if (!Indent(c.headerIndent, error)) return false;
        }
      } else if (ch == '@') {
        std::string body;
        if (!Delimited('@', body, error)) return false;
        c.picture = "@" + body;
        if (!Picture::Parse(c.picture)) return Bad(error, "\"" + c.picture + "\" is not a picture");
      } else {
        return Bad(error, std::string("unknown modifier \"") + ch + "\"");
      }
    }
    if (!headerJustified) {
      c.headerJustify = c.justify;
      c.headerIndent = c.indent;
    }
    return true;
  }

  std::string_view s_;
  size_t i_ = 0;
  int column_ = 0;
};

}  // namespace

std::optional<ListFormat> ParseListFormat(std::string_view text, std::string* error) {
  return FormatReader(text).Read(error);
}

}  // namespace qx
