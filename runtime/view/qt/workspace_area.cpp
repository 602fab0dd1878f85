// The frame's workspace; see workspace_area.h.
#include "runtime/view/qt/workspace_area.h"

#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>

#include "runtime/view/qt/wallpaper_layout.h"

namespace qx {

WorkspaceArea::WorkspaceArea(QWidget* parent) : QMdiArea(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setMinimumSize(0, 0);
}

void WorkspaceArea::SetWallpaper(const QPixmap& picture, LONG mode) {
  if (picture.cacheKey() == wallpaper_.cacheKey() && mode == mode_) return;
  wallpaper_ = picture;
  mode_ = mode;
  viewport()->update();
}

void WorkspaceArea::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), background());
  if (wallpaper_.isNull()) return;
  const QSize picture = wallpaper_.deviceIndependentSize().toSize();
  for (const QRect& r : WallpaperPlacements(viewport()->size(), picture, mode_)) {
    if (r.intersects(event->rect())) painter.drawPixmap(r, wallpaper_);
  }
}

void WorkspaceArea::ArrangeIcons() {
  const QRect area = viewport()->rect();
  int x = 0;
  int bottom = area.bottom() + 1;
  for (QMdiSubWindow* sub : subWindowList(QMdiArea::CreationOrder)) {
    if (!sub->isMinimized()) continue;
    const QSize size = sub->size();
    if (x > 0 && x + size.width() > area.width()) {
      x = 0;
      bottom -= size.height();
    }
    sub->move(x, bottom - size.height());
    x += size.width();
  }
}

}  // namespace qx
