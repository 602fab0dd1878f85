// Writing .ICO files that hold several sizes of one icon. Qt's ico image plugin writes one
// image per file; this puts the images it encodes together under one icon directory.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace qx::art {

// The bytes of an .ICO file holding `images` in their order (each at most 256 pixels
// square, 32-bit with alpha as Qt writes them). On failure returns an empty array and
// sets *error (when given) to the reason.
QByteArray EncodeIcoFile(const std::vector<QImage>& images, QString* error);

}  // namespace qx::art
