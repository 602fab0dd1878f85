// Described fonts to installed fonts; see font_mapping.h.
#include "runtime/view/qt/font_mapping.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>
#include <array>

namespace qx {
namespace {

struct FaceMapping {
  std::string_view face;
  std::string_view family;
  QFont::StyleHint hint;
};

constexpr std::array<FaceMapping, 6> kFaceTable = {{
    {"Arial", "Liberation Sans", QFont::SansSerif},
    {"MS Sans Serif", "Liberation Sans", QFont::SansSerif},
    {"Microsoft Sans Serif", "Liberation Sans", QFont::SansSerif},
    {"Arial Narrow", "Liberation Sans Narrow", QFont::SansSerif},
    {"Times New Roman", "Liberation Serif", QFont::Serif},
    {"Courier New", "Liberation Mono", QFont::TypeWriter},
}};

// Descriptions hold text in the platform's single-byte character set.
QString ToQString(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

const FaceMapping* TableEntryFor(const QString& face) {
  for (const FaceMapping& entry : kFaceTable) {
    if (face.compare(ToQString(entry.face), Qt::CaseInsensitive) == 0) return &entry;
  }
  return nullptr;
}

QFont::StyleHint HintForFamily(const QString& family) {
  for (const FaceMapping& entry : kFaceTable) {
    if (family == ToQString(entry.family)) return entry.hint;
  }
  if (QFontDatabase::isFixedPitch(family)) return QFont::TypeWriter;
  return QFont::SansSerif;
}

}  // namespace

QString InstalledFamilyFor(std::string_view face) {
  const QString wanted = ToQString(face).trimmed();
  if (wanted.isEmpty()) return ToQString(kDefaultSansFamily);
  if (const FaceMapping* entry = TableEntryFor(wanted)) return ToQString(entry->family);
  const QStringList installed = QFontDatabase::families();
  for (const QString& family : installed) {
    if (family.compare(wanted, Qt::CaseInsensitive) == 0) return family;
  }
  return ToQString(kDefaultSansFamily);
}

QFont QtFontFor(std::string_view face, int points, int weight, bool italic) {
  const QString family = InstalledFamilyFor(face);
  QFont font(family);
  font.setStyleHint(HintForFamily(family));
  font.setPointSize(points > 0 ? points : kDefaultFontPoints);
  const int qtWeight = weight > 0 ? std::min(weight, 1000) : kFontWeightNormal;
  font.setWeight(static_cast<QFont::Weight>(qtWeight));
  font.setItalic(italic);
  return font;
}

}  // namespace qx
