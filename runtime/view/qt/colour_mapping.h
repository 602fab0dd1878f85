// Colours: the LONG colour values of window descriptions and programs turned into Qt colours.
//
//   00BBGGRR        a colour: red in the low byte, then green, then blue
//   -1              none: the control keeps its own (the style's) colour
//   80000000h + n   the system colour with index n, taken from the application palette
//
// System colours map to palette roles, of the active colour group unless given:
//
//    n  system colour                         palette role
//    0  scroll bar                            Midlight
//    1  desktop                               Dark
//    2  active caption                        Highlight
//    3  inactive caption                      Dark
//    4  menu                                  Window
//    5  window (ground of entries and lists)  Base
//    6  window frame                          Shadow
//    7  menu text                             WindowText
//    8  window text                           Text
//    9  caption text                          HighlightedText
//   10  active border                         Button
//   11  inactive border                       Button
//   12  application workspace                 Dark
//   13  highlight                             Highlight
//   14  highlighted text                      HighlightedText
//   15  button face                           Button
//   16  button shadow                         Dark
//   17  grey (disabled) text                  Text of the Disabled group
//   18  button text                           ButtonText
//   19  inactive caption text                 Button
//   20  button highlight                      Light
//   21  3-D dark shadow                       Shadow
//   22  3-D light                             Midlight
//   23  tooltip text                          ToolTipText
//   24  tooltip background                    ToolTipBase
//   25  (no name; taken as button face)       Button
//   26  hot-tracked item                      Link
//   27  active caption gradient               Highlight
//   28  inactive caption gradient             Dark
//   29  menu highlight                        Highlight
//   30  menu bar                              Window
//
// Dark for the workspace is also what QMdiArea paints its background with. Midlight for the
// scroll bar is, in Qt's default (Fusion) palette, a light grey a shade darker than the
// button face, as the scroll-bar track was.
#pragma once

#include <QColor>
#include <QPalette>

#include <optional>

#include "runtime/text/types.h"

namespace qx {

inline constexpr LONG kColourNone = -1;
inline constexpr ULONG kSystemColourBase = 0x80000000u;
inline constexpr int kLastSystemColourIndex = 30;

// Where a system colour comes from in a palette.
struct PaletteColour {
  QPalette::ColorGroup group = QPalette::Active;
  QPalette::ColorRole role = QPalette::Window;
};

// The palette entry for system colour index 0..kLastSystemColourIndex (table above);
// nothing for any other index.
std::optional<PaletteColour> PaletteColourForSystemIndex(int index);

// The colour a LONG colour value stands for, system colours taken from `palette`.
// Nothing means "the control's default colour": -1, a system index beyond the table, and a
// value whose high byte is neither 00h nor 80h (no colour in this encoding).
std::optional<QColor> ColourFromLong(LONG value, const QPalette& palette);

// As above with the application's palette (a QGuiApplication must exist).
std::optional<QColor> ColourFromLong(LONG value);

}  // namespace qx
