// The area of the application frame in which its child windows open: a QMdiArea drawn with
// the application-workspace colour and the frame's wallpaper in its layout
// (wallpaper_layout.h), able to line up the icons of minimized child windows.
#pragma once

#include <QMdiArea>
#include <QPixmap>

#include "runtime/text/types.h"

namespace qx {

class WorkspaceArea : public QMdiArea {
 public:
  explicit WorkspaceArea(QWidget* parent);

  void SetWallpaper(const QPixmap& picture, LONG mode);
  // Puts the minimized child windows in a row along the bottom edge, left to right in
  // their order of opening, wrapping upward when a row is full.
  void ArrangeIcons();

  // While a child window goes, the area activates another of its own choosing: no person's
  // act, so it is not reported (the model says which window is active next).
  void SetChildClosing(bool closing) { childClosing_ = closing; }
  bool childClosing() const { return childClosing_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap wallpaper_;
  LONG mode_ = 0;
  bool childClosing_ = false;
};

}  // namespace qx
