// LONG colour values to Qt colours; see colour_mapping.h.
#include "runtime/view/qt/colour_mapping.h"

#include <QGuiApplication>

#include <array>

namespace qx {
namespace {

constexpr QPalette::ColorGroup kActive = QPalette::Active;

constexpr std::array<PaletteColour, kLastSystemColourIndex + 1> kSystemColours = {{
    {kActive, QPalette::Midlight},         // 0 scroll bar
    {kActive, QPalette::Dark},             // 1 desktop
    {kActive, QPalette::Highlight},        // 2 active caption
    {kActive, QPalette::Dark},             // 3 inactive caption
    {kActive, QPalette::Window},           // 4 menu
    {kActive, QPalette::Base},             // 5 window
    {kActive, QPalette::Shadow},           // 6 window frame
    {kActive, QPalette::WindowText},       // 7 menu text
    {kActive, QPalette::Text},             // 8 window text
    {kActive, QPalette::HighlightedText},  // 9 caption text
    {kActive, QPalette::Button},           // 10 active border
    {kActive, QPalette::Button},           // 11 inactive border
    {kActive, QPalette::Dark},             // 12 application workspace
    {kActive, QPalette::Highlight},        // 13 highlight
    {kActive, QPalette::HighlightedText},  // 14 highlighted text
    {kActive, QPalette::Button},           // 15 button face
    {kActive, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},  // 17 grey text
    {kActive, QPalette::ButtonText},       // 18 button text
    {kActive, QPalette::Button},           // 19 inactive caption text
    {kActive, QPalette::Light},            // 20 button highlight
    {kActive, QPalette::Shadow},           // 21 3-D dark shadow
    {kActive, QPalette::Midlight},         // 22 3-D light
    {kActive, QPalette::ToolTipText},      // 23 tooltip text
    {kActive, QPalette::ToolTipBase},      // 24 tooltip background
    {kActive, QPalette::Button},           // 25 no name
    {kActive, QPalette::Link},             // 26 hot-tracked item
    {kActive, QPalette::Highlight},        // 27 active caption gradient
    {kActive, QPalette::Dark},             // 28 inactive caption gradient
    {kActive, QPalette::Highlight},        // 29 menu highlight
    {kActive, QPalette::Window},           // 30 menu bar
}};

}  // namespace

std::optional<PaletteColour> PaletteColourForSystemIndex(int index) {
  if (index < 0 || index > kLastSystemColourIndex) return std::nullopt;
  return kSystemColours[static_cast<size_t>(index)];
}

std::optional<QColor> ColourFromLong(LONG value, const QPalette& palette) {
  const ULONG bits = static_cast<ULONG>(value);
  const ULONG tag = bits & 0xFF000000u;
  if (tag == 0) {
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
  }
  if (tag == kSystemColourBase) {
    const ULONG index = bits & 0x00FFFFFFu;
    if (index > static_cast<ULONG>(kLastSystemColourIndex)) return std::nullopt;
    const auto entry = PaletteColourForSystemIndex(static_cast<int>(index));
    return palette.color(entry->group, entry->role);
  }
  return std::nullopt;  // -1 (none) and values outside the encoding
}

std::optional<QColor> ColourFromLong(LONG value) {
  return ColourFromLong(value, QGuiApplication::palette());
}

}  // namespace qx
