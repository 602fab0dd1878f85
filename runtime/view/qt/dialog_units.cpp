// Dialog units from font metrics; see dialog_units.h.
#include "runtime/view/qt/dialog_units.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qx {
namespace {

// a * b / c rounded to the nearest integer, halves away from zero; c > 0.
int MulDiv(int a, int b, int c) {
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = c / 2;
  const std::int64_t q = product >= 0 ? (product + half) / c : -((-product + half) / c);
  return static_cast<int>(std::clamp<std::int64_t>(q, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace

DialogBaseUnits MeasureDialogBaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  int sum = 0;
  for (char c = 'A'; c <= 'Z'; ++c) sum += metrics.horizontalAdvance(QChar(c));
  for (char c = 'a'; c <= 'z'; ++c) sum += metrics.horizontalAdvance(QChar(c));
  DialogBaseUnits units;
  units.averageCharWidth = std::max(1, (sum / 26 + 1) / 2);
  units.charHeight = std::max(1, metrics.height());
  return units;
}

DialogUnits::DialogUnits(DialogBaseUnits units)
    : units_{std::max(1, units.averageCharWidth), std::max(1, units.charHeight)} {}

DialogUnits::DialogUnits(const QFont& font) : DialogUnits(MeasureDialogBaseUnits(font)) {}

int DialogUnits::ToPixelsX(int dialogUnits) const {
  return MulDiv(dialogUnits, units_.averageCharWidth, 4);
}

int DialogUnits::ToPixelsY(int dialogUnits) const {
  return MulDiv(dialogUnits, units_.charHeight, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
  return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}

int DialogUnits::FromPixelsX(int pixels) const {
  return MulDiv(pixels, 4, units_.averageCharWidth);
}

int DialogUnits::FromPixelsY(int pixels) const {
  return MulDiv(pixels, 8, units_.charHeight);
}

}  // namespace qx
