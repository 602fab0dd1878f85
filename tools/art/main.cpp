// qx_art: draws the programs' icons and wallpaper into a directory.
//
//   qx_art [--preview PREVIEW_DIR] OUTPUT_DIR
//
// Writes JUMPPG.ICO (16, 32 and 48 pixels), ICON32526.ICO to ICON32529.ICO (16 and 32
// pixels) and bg.bmp (215 x 88, 24-bit) into OUTPUT_DIR, which must exist. With --preview
// it also writes a magnified PNG of each into PREVIEW_DIR, to look at. Runs without a
// display (offscreen platform unless QT_QPA_PLATFORM says otherwise). Exit code 0 when
// every file was written, 1 when one could not be, 2 for a wrong command line.
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <vector>

#include "tools/art/ico_file.h"
#include "tools/art/icons.h"
#include "tools/art/wallpaper.h"

namespace {

using qx::art::EncodeIcoFile;

struct IconArt {
  const char* fileName;
  std::function<QImage(int)> draw;
  std::vector<int> sizes;
};

bool Fail(const QString& message) {
  std::fprintf(stderr, "qx_art: %s\n", qPrintable(message));
  return false;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    return Fail(path + ": " + file.errorString());
  }
  return true;
}

bool WriteImage(const QString& path, const QImage& image, const char* format) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return Fail(path + ": " + file.errorString());
  QImageWriter writer(&file, format);
  if (!writer.write(image)) return Fail(path + ": " + writer.errorString());
  if (!file.commit()) return Fail(path + ": " + file.errorString());
  return true;
}

// Every size at its own size above the same magnified eight times, on a toolbar grey.
QImage IconPreview(const std::vector<QImage>& images) {
  constexpr int kZoom = 8, kGap = 12;
  int width = kGap, height = 0;
  for (const QImage& image : images) {
    width += image.width() * kZoom + kGap;
    height = std::max(height, image.height() * (kZoom + 1));
  }
  QImage preview(width, height + 3 * kGap, QImage::Format_RGB32);
  preview.fill(QColor(0xd4, 0xd0, 0xc8));
  QPainter painter(&preview);
  int x = kGap;
  for (const QImage& image : images) {
    painter.drawImage(x, kGap, image);
    painter.drawImage(QRect(x, 2 * kGap + image.height(), image.width() * kZoom,
                            image.height() * kZoom),
                      image);
    x += image.width() * kZoom + kGap;
  }
  return preview;
}

QImage WallpaperPreview(const QImage& wallpaper) {
  constexpr int kZoom = 3;
  QImage preview(wallpaper.width() * (kZoom + 1) + 30, wallpaper.height() * kZoom + 20,
                 QImage::Format_RGB32);
  preview.fill(Qt::white);
  QPainter painter(&preview);
  painter.drawImage(10, 10, wallpaper);
  painter.drawImage(QRect(20 + wallpaper.width(), 10, wallpaper.width() * kZoom,
                          wallpaper.height() * kZoom),
                    wallpaper);
  return preview;
}

int Usage() {
  std::fprintf(stderr, "usage: qx_art [--preview PREVIEW_DIR] OUTPUT_DIR\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  QString previewDir;
  if (args.size() >= 2 && args[0] == "--preview") {
    previewDir = args[1];
    args = args.mid(2);
  }
  if (args.size() != 1 || args[0].startsWith("-")) return Usage();
  const QDir out(args[0]);
  if (!out.exists()) return Fail(args[0] + ": no such directory"), 1;
  if (!previewDir.isEmpty() && !QDir(previewDir).exists()) {
    return Fail(previewDir + ": no such directory"), 1;
  }

  const std::vector<IconArt> icons = {
      {"JUMPPG.ICO", qx::art::DrawProgramIcon, {16, 32, 48}},
      {"ICON32526.ICO", qx::art::DrawPagesLeftToRightIcon, {16, 32}},
      {"ICON32527.ICO", qx::art::DrawPagesRightToLeftIcon, {16, 32}},
      {"ICON32528.ICO", qx::art::DrawCascadeIcon, {16, 32}},
      {"ICON32529.ICO", qx::art::DrawTiledWindowsIcon, {16, 32}},
  };
  bool ok = true;
  for (const IconArt& icon : icons) {
    std::vector<QImage> images;
    for (int size : icon.sizes) images.push_back(icon.draw(size));
    QString error;
    const QByteArray bytes = EncodeIcoFile(images, &error);
    if (bytes.isEmpty()) {
      ok = Fail(QString(icon.fileName) + ": " + error);
      continue;
    }
    ok = WriteBytes(out.filePath(icon.fileName), bytes) && ok;
    if (!previewDir.isEmpty()) {
      ok = WriteImage(QDir(previewDir).filePath(QString(icon.fileName) + ".png"),
                      IconPreview(images), "png") && ok;
    }
  }

  const QImage wallpaper = qx::art::DrawWallpaper();
  ok = WriteImage(out.filePath("bg.bmp"), wallpaper, "bmp") && ok;
  if (!previewDir.isEmpty()) {
    ok = WriteImage(QDir(previewDir).filePath("bg.bmp.png"), WallpaperPreview(wallpaper), "png") &&
         ok;
  }
  return ok ? 0 : 1;
}
