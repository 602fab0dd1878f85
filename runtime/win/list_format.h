// A list control's FORMAT string: its columns, each with the queue field it shows.
//
// One column after another, each written as
//
//   width justification[(indent)] modifiers...
//
//   width          dialog units, digits ("64")
//   justification  L left, R right, C centred, D decimal (as right, on the point);
//                  "(n)": the text stands n dialog units in from that edge (C: off centre)
//   |              a line at the column's right edge
//   M              the person may drag the column's width
//   *              colours: the four LONG fields that follow the column's own field give
//                  the cell's normal foreground, normal background, selected foreground
//                  and selected background (00BBGGRR; -1 = the list's own colour)
//   ~text~ [j[(n)]] the header text, with its own justification and indent; without
//                  them the header takes the column's
//   @picture@      how the field's value is shown (runtime/text/picture.h); without one
//                  the value's text, trailing blanks removed
//
// "64R(2)|M~Cus ID~C(0)@n-14@80L(2)|M~Name~@S20@" is two columns: a resizable, right
// justified number with a centred header, and a 20-character text.
//
// The columns show the queue's fields in order: column 1 the first field, each later column
// the field after the previous column's (after its four colour fields when it has "*").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/win/description.h"

namespace qx {

struct ListColumn {
  LONG width = 0;                  // dialog units
  Justify justify = Justify::kLeft;
  LONG indent = 0;                 // dialog units in from the justified edge
  std::string header;              // empty: no header text
  Justify headerJustify = Justify::kLeft;
  LONG headerIndent = 0;
  std::string picture;             // "@n-14"; empty: the value's text
  bool rightBorder = false;        // "|"
  bool resizable = false;          // "M"
  bool colours = false;            // "*"
  size_t field = 0;                // the queue field shown, 0-based
  size_t colourField = 0;          // colours: the first of the four colour fields, 0-based
};

struct ListFormat {
  std::vector<ListColumn> columns;
  bool hasHeader = false;          // some column has a header text: the list shows a header
  size_t fieldsUsed = 0;           // queue fields the columns take, colour fields included
};

// Parses a FORMAT string. Nothing, with `error` naming the column and the character at
// fault, for an empty string, a column without a width or justification, an unclosed
// "(", "~" or "@", a picture the text library cannot read, or a character that is none of
// the above.
std::optional<ListFormat> ParseListFormat(std::string_view text, std::string* error);

}  // namespace qx
