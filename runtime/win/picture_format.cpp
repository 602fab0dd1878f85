// Display pictures of string controls; see picture_format.h.
#include "runtime/win/picture_format.h"

#include "runtime/text/picture.h"
#include "runtime/text/types.h"

namespace qx {

std::string FormatForPicture(std::string_view picture, const UseVariable& value) {
  const std::optional<Picture> parsed = Picture::Parse(picture);
  if (!parsed) return std::string(RtClipView(value.Text()));
  if (value.numeric()) return parsed->FormatNumber(value.Number());
  return parsed->FormatText(value.Text());
}

}  // namespace qx
