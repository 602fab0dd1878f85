// Pictures: how a value is shown as text and how text typed into an entry becomes a value
// again. A picture is parsed once (Picture::Parse) and then used in both directions:
//
//   Format...    value to display text, for a list column or a display-only string
//   Deformat...  an entry's text to a value, or an EntryError the entry control turns
//                into EVENT:Rejected (no exception ever leaves these operations)
//
// Three families; the letter may be written in either case, the leading "@" may be left
// out ("s255"), and a closing "@" after it is allowed ("@n-14@", as in a list format):
//
//   @n[-][width][.decimals]   a number, rounded to `decimals` places (0 when not given),
//                             halves away from zero, with a leading "-" when negative,
//                             "." before the decimals and no thousands separators. "-"
//                             lets the picture show negative numbers; without it a
//                             negative number does not fit. The width counts every
//                             character, sign and point included; without a width the
//                             text is as long as the number needs. A number that does not
//                             fit (too wide, negative without "-", infinite or NaN) shows
//                             as `width` "#" characters (one "#" without a width).
//                             "@n-14": -2147483648 shows as "-2147483648".
//   @s<width>, @S<width>      a text of `width` characters (bytes). Both letters are the
//                             same picture.
//   @d<form>                  a date held as a day number (runtime/text/day_numbers.h):
//                               @d2   mm/dd/yyyy   (12/31/2024)
//                               @d6   dd/mm/yyyy   (31/12/2024)
//                               @d10  yyyy/mm/dd   (2024/12/31)
//                               @d17  this machine's short date form from the locale's
//                                     LC_TIME, with a four-digit year (runtime/text/
//                                     date_layout.h); in the C locale mm/dd/yyyy
//                             A number that is no date shows as empty text.
//
// Display text is never padded: justification and padding belong to the controls. Its
// length is at most width() (bytes).
//
// Every picture takes both numbers and texts; a value of the other kind is converted as
// an assignment between a number and a text would convert it:
//
//   picture   FormatNumber(v)              FormatText(t)
//   number    as described above           t read as an entry (DeformatNumber); a text it
//                                          cannot read shows as a number that does not fit
//   string    v's plain decimal digits     t's first `width` bytes
//             ("42", "-1.5"), as text      without trailing blanks
//   date      v (cut to a whole number)    t read as an entry; a text it cannot read
//             as a day number              shows as empty text
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/text/types.h"

namespace qx {

enum class PictureKind { kNumber, kString, kDate };

// Why an entry's text was refused.
enum class EntryError {
  kNone,
  kNotANumber,  // number picture: not a number of the picture's form (a sign the picture
                // has no room for, more decimals than it shows, letters, thousands
                // separators, ...)
  kNotADate,    // date picture: not in the picture's date form, or no such day (31/02)
  kTooWide,     // the value takes more characters than the picture (or the target) has
  kOutOfRange,  // the value does not fit the target: outside LONG for DeformatLong,
                // outside 1 January 1801 to 31 December 9999 for a date
};

// The outcome of reading an entry; `value` is meaningful only when ok().
struct NumberEntry {
  EntryError error = EntryError::kNone;
  REAL value = 0;
  bool ok() const { return error == EntryError::kNone; }
};

struct LongEntry {
  EntryError error = EntryError::kNone;
  LONG value = 0;
  bool ok() const { return error == EntryError::kNone; }
};

struct TextEntry {
  EntryError error = EntryError::kNone;
  std::string value;
  bool ok() const { return error == EntryError::kNone; }
};

class Picture {
 public:
  // For DeformatText: a target without a width of its own.
  static constexpr size_t kAnyWidth = static_cast<size_t>(-1);

  // Parses a picture text such as "@n-14", "@s20", "S20", "@d17". Trailing blanks are
  // ignored. Returns nullopt for anything else: an unknown family or date form, a string
  // picture without a width or of width 0, more than 15 decimals, a width above 65535,
  // a number width too small for its decimals (with decimals, fewer than decimals + 2),
  // trailing text.
  static std::optional<Picture> Parse(std::string_view text);

  PictureKind kind() const { return kind_; }

  // The most characters the display text can have. 0 for a number picture without a
  // width (no limit). A @d17 picture's width follows the locale at the time of the call.
  size_t width() const;

  // Places after the point of a number picture; 0 for the other families.
  int decimals() const { return decimals_; }

  // The display text of a number (see the table at the top of this file).
  std::string FormatNumber(REAL value) const;

  // The display text of a text value (see the table at the top of this file).
  std::string FormatText(std::string_view value) const;

  // Reads an entry's text as a number. Blanks around the text are ignored.
  //   number picture: empty text is 0; otherwise an optional "-" (only when the picture
  //     has "-"; "+" is also accepted), digits with an optional "." and up to `decimals`
  //     digits after it (further zeros are allowed). kNotANumber when the text has
  //     another form, kTooWide when the number's display text would not fit the width.
  //   string picture: the text without trailing blanks must fit the width (kTooWide),
  //     then it is read as a plain decimal number (optional sign, digits, optional
  //     fraction; empty is 0), else kNotANumber.
  //   date picture: empty text is 0 (no date); otherwise the date in the picture's form,
  //     as its day number (kNotADate, kOutOfRange).
  NumberEntry DeformatNumber(std::string_view text) const;

  // DeformatNumber for a LONG target: kOutOfRange when the number lies outside
  // -2147483648 to 2147483647; a fraction (a picture with decimals) is cut toward zero.
  LongEntry DeformatLong(std::string_view text) const;

  // Reads an entry's text for a text target of `target_width` characters.
  //   string picture: the text without trailing blanks (leading blanks stay); kTooWide
  //     when that is longer than the picture's width or the target's.
  //   number and date pictures: the text is read with DeformatNumber (its errors pass
  //     through) and the target gets the value's display text; kTooWide when that is
  //     longer than the target.
  TextEntry DeformatText(std::string_view text, size_t target_width = kAnyWidth) const;

 private:
  Picture(PictureKind kind, size_t width, int decimals, bool negative, int date_form)
      : kind_(kind), width_(width), decimals_(decimals), negative_(negative), date_form_(date_form) {}

  std::string Overflow() const;

  PictureKind kind_;
  size_t width_;   // number and string pictures; 0 = no limit (numbers only)
  int decimals_;   // number pictures
  bool negative_;  // number pictures: "-" given
  int date_form_;  // date pictures: 2, 6, 10 or 17
};

}  // namespace qx
