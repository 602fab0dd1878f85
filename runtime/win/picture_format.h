// Display pictures of string controls ("@s20", "@n-14", "s255"): the one place where the
// window model formats a USE variable for display, through the text library's pictures.
#pragma once

#include <string>
#include <string_view>

#include "runtime/win/use_variable.h"

namespace qx {

// The variable's value as the picture shows it (runtime/text/picture.h); a text that is
// no picture shows the value's text with trailing blanks removed.
std::string FormatForPicture(std::string_view picture, const UseVariable& value);

}  // namespace qx
