// How a record of one layout becomes a record of another: the field-by-field plan of a
// conversion.
//
// A field of the new layout takes the old field of the same name; names compare without
// regard to case, and when no old field has the whole name, the name after the prefix
// (the part before the colon) is compared, so a file whose prefix changed keeps its
// values. Numbers become numbers (BYTE, SHORT, USHORT, LONG, ULONG, REAL: a value outside
// the new type's range is held at its nearest end, a REAL rounded to the nearest whole
// number for the integer types) and text becomes text (STRING and CSTRING, cut or padded
// to the new width; a STRING's trailing blanks are padding, so a CSTRING takes the text
// without them). A new field, or one whose old field is text where it is now a number or
// the other way round, starts zero or blank; old fields without a new one are dropped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/store/layout.h"

namespace qx::recfix {

class RecordMapping {
 public:
  RecordMapping(const RecordLayout& from, const RecordLayout& to);
  RecordMapping(const RecordMapping&) = delete;
  RecordMapping& operator=(const RecordMapping&) = delete;

  // Writes the new form of the record `from` (from.length() bytes) into `to`
  // (to.length() bytes).
  void Apply(const unsigned char* from, unsigned char* to);

  // Fields of the new layout whose old field could not be converted (text to number or
  // number to text), as "NEW:NAME (LONG) cannot take OLD:NAME (STRING(20))".
  const std::vector<std::string>& unconvertible() const { return unconvertible_; }

  // For every field that lost content in the records applied so far: "STD:NAME: 3 values
  // cut to 10 characters", "X:COUNT: 2 values held at the ends of SHORT".
  std::vector<std::string> Losses() const;

 private:
  enum class Op { kBytes, kText, kNumber };
  struct Step {
    Op op;
    FieldDef from;
    FieldDef to;
    uint64_t lost = 0;  // values cut (text) or held at a range end (numbers)
  };
  std::vector<unsigned char> empty_;  // the new record with every field zero or blank
  std::vector<Step> steps_;
  std::vector<std::string> unconvertible_;
};

}  // namespace qx::recfix
