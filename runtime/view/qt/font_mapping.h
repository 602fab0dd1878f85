// Fonts: the typefaces that window descriptions name (the fonts of the platform the
// programs were written for) mapped to installed fonts with the same metrics, so that
// texts fill their controls as they were laid out.
//
//   described face                        installed family
//   "Arial", "MS Sans Serif",             "Liberation Sans" (metrics of Arial; MS Sans
//   "Microsoft Sans Serif"                 Serif is a close sans serif of nearly the same
//                                          widths, and Arial's metric twin is the nearest
//                                          installed face)
//   "Arial Narrow"                        "Liberation Sans Narrow"
//   "Times New Roman"                     "Liberation Serif"
//   "Courier New"                         "Liberation Mono"
//
// Faces match without regard to letter case or surrounding blanks. A face not in the table
// is used as it stands when a family of that name is installed; any other face, and an
// empty one, falls back to the default sans serif, "Liberation Sans". The Liberation fonts
// come from the Debian package fonts-liberation.
#pragma once

#include <QFont>
#include <QString>

#include <string_view>

namespace qx {

inline constexpr int kFontWeightNormal = 400;
inline constexpr int kFontWeightBold = 700;
// The size taken when a description gives none (0 or less): the platform's dialog size.
inline constexpr int kDefaultFontPoints = 8;
// The family of faces that are neither in the table nor installed.
inline constexpr std::string_view kDefaultSansFamily = "Liberation Sans";

// The installed family that draws the described face (see the table above). Needs a
// QGuiApplication (it looks at the installed families).
QString InstalledFamilyFor(std::string_view face);

// The Qt font for a described font: the family of InstalledFamilyFor(face), `points` in
// points (kDefaultFontPoints when 0 or less), `weight` on the 1..1000 scale that both the
// descriptions and Qt use (400 normal, 700 bold; 0 or less means normal, above 1000 is
// taken as 1000), italic or upright. The style hint (sans serif, serif, monospace) follows
// the family, so a machine without the Liberation fonts substitutes a font of the same kind.
QFont QtFontFor(std::string_view face, int points, int weight, bool italic);

}  // namespace qx
