// Texts between the model's single-byte code page and Qt; see latin1_text.h.
#include "runtime/view/qt/latin1_text.h"

namespace qx {

QString FromLatin1Bytes(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool FitsLatin1(const QString& text) {
  for (QChar c : text) {
    if (c.unicode() > 0xFF) return false;
  }
  return true;
}

std::optional<std::string> ToLatin1Bytes(const QString& text) {
  if (!FitsLatin1(text)) return std::nullopt;
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string ToLatin1Replacing(const QString& text, char replacement) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      out += replacement;
      ++i;
    } else if (c.unicode() > 0xFF) {
      out += replacement;
    } else {
      out += static_cast<char>(c.unicode());
    }
  }
  return out;
}

}  // namespace qx
