// Display pictures of string controls ("@s20", "@n-14", "s255"): the one place where the
// window model formats a USE variable for display. It covers the pictures the programs'
// windows use until the text library's picture operations take its place.
#pragma once

#include <string>
#include <string_view>

#include "runtime/win/use_variable.h"

namespace qx {

// The variable's value as the picture shows it. "@sN": the text cut to N characters,
// trailing blanks removed; "@n[-]N": the number in decimal, whole (the "-" allows a
// negative sign); any other picture: the value's text with trailing blanks removed.
// The leading "@" may be omitted.
std::string FormatForPicture(std::string_view picture, const UseVariable& value);

}  // namespace qx
