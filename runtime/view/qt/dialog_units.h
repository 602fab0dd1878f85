// Dialog units: the unit of positions and sizes in window descriptions. They scale with the
// window's font, so a window keeps its proportions whatever font it is drawn with: a
// horizontal unit is a quarter of the font's average character width, a vertical unit an
// eighth of its character height.
#pragma once

#include <QFont>
#include <QRect>

namespace qx {

// The two measures of a font that dialog units scale by, in device-independent pixels.
struct DialogBaseUnits {
  int averageCharWidth = 0;  // four horizontal dialog units
  int charHeight = 0;        // eight vertical dialog units
};

// The base units of `font` as it is drawn on the application's screen (a QGuiApplication
// must exist). The average character width follows the Windows convention: the advances of
// the 52 letters "A".."Z" and "a".."z" are added one by one (no kerning between them, as
// the Windows text extent is measured), and the sum is divided by 52 rounding the way
// Windows does it, (sum / 26 + 1) / 2 in integers: the nearest whole pixel, halves upward.
// The character height is the font's ascent plus descent (QFontMetrics::height()). Both
// are at least 1.
DialogBaseUnits MeasureDialogBaseUnits(const QFont& font);

// Converts between dialog units and pixels for one set of base units. Conversions round
// to the nearest pixel (or unit), halves away from zero, as MulDiv does; negative values
// convert symmetrically. Results beyond the range of int are clamped to it.
class DialogUnits {
 public:
  // Base units below 1 are taken as 1.
  explicit DialogUnits(DialogBaseUnits units);
  // The base units of `font`, measured by MeasureDialogBaseUnits.
  explicit DialogUnits(const QFont& font);

  DialogBaseUnits baseUnits() const { return units_; }

  // Horizontal measures (x, width): units * averageCharWidth / 4.
  int ToPixelsX(int dialogUnits) const;
  // Vertical measures (y, height): units * charHeight / 8.
  int ToPixelsY(int dialogUnits) const;
  // A rectangle given as x, y, width and height in dialog units; each is converted on its
  // own, so the size does not depend on the position.
  QRect ToPixels(int x, int y, int width, int height) const;

  // The inverse conversions, for sizes and positions that a person changed on the screen.
  int FromPixelsX(int pixels) const;
  int FromPixelsY(int pixels) const;

 private:
  DialogBaseUnits units_;
};

}  // namespace qx
